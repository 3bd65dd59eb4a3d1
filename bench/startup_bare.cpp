// The baseline of bench_startup: a bare text editor window, started as a
// process of its own; prints "painted" after its first paint and ends.
#include "firstpaint.h"

#include <QApplication>
#include <QTextEdit>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    FirstPaintReporter reporter("bare");
    QTextEdit window;
    window.setObjectName(QStringLiteral("bare"));
    window.resize(1008, 760);
    window.show();
    return app.exec();
}
