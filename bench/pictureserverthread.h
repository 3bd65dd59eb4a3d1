#pragma once

#include "http/picturetestserver.h"

#include <QThread>
#include <atomic>

/// The loopback picture server in a thread of its own, so that it answers
/// while the main thread blocks on a fetch or waits for a process.
class PictureServerThread : public QThread {
public:
    std::atomic<int> port{0};

    /// Starts the server and waits until it listens.
    void startListening() {
        start();
        while (port == 0)
            QThread::msleep(10);
    }

protected:
    void run() override {
        // Unbounded in connections: a benchmark makes many.
        PictureTestServer server(1 << 30, 60000);
        port = server.serverPort();
        exec();
    }
};
