#include "http/curlfolder.h"

#include <QTimer>

namespace {

// Placeholder until the protocol is implemented: every operation fails.
class CurlFolder : public RemoteFolder {
public:
    CurlFolder(const UploadAccount& account, QObject* parent)
        : RemoteFolder(account, parent) {}
    void send(const QString&, const QByteArray&) override { refuse(); }
    void remove(const QString&) override { refuse(); }
    void test() override { refuse(); }
    void cancel() override { m_busy = false; }
    bool isBusy() const override { return m_busy; }

private:
    void refuse() {
        m_busy = true;
        QTimer::singleShot(0, this, [this] {
            if (!m_busy)
                return;
            m_busy = false;
            emit finished({UploadProblem::Other, QStringLiteral("Not available yet."), {}});
        });
    }
    bool m_busy = false;
};

} // namespace

std::unique_ptr<RemoteFolder> openCurlFolder(const UploadAccount& account, QObject* parent) {
    return std::make_unique<CurlFolder>(account, parent);
}
