#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTest>

namespace {

/// The tool's program: the shipped tools live beside the tests, the build's
/// own tools in build/tools.
QString toolPath(const QString& tool) {
    const QDir bin(QCoreApplication::applicationDirPath());
    return bin.exists(tool) ? bin.filePath(tool) : bin.filePath(QStringLiteral("../tools/") + tool);
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void helpPrintsTheUsage_data();
    void helpPrintsTheUsage();
};

void TestCommandLine::helpPrintsTheUsage_data() {
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QStringList>("arguments");
    for (const char* tool :
         {"vantrel-doc", "vantrel-render", "vantrel-check", "vantrel-shift", "vantrel-upload"}) {
        const QString name = QLatin1String(tool);
        QTest::newRow(qPrintable(name + " --help")) << name << QStringList{"--help"};
        QTest::newRow(qPrintable(name + " -h")) << name << QStringList{"-h"};
        QTest::newRow(qPrintable(name + " with other arguments"))
            << name << QStringList{"page.html", "--help", "out.html"};
    }
}

void TestCommandLine::helpPrintsTheUsage() {
    QFETCH(QString, tool);
    QFETCH(QStringList, arguments);
    QProcess process;
    // Nothing is written for help: should a tool run, it writes here.
    process.setWorkingDirectory(QDir::tempPath());
    process.start(toolPath(tool), arguments);
    QVERIFY2(process.waitForFinished(60000), qPrintable(process.errorString()));
    const QString out = QString::fromLocal8Bit(process.readAllStandardOutput());
    const QString errors = QString::fromLocal8Bit(process.readAllStandardError());
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QVERIFY2(process.exitCode() == 0, qPrintable(errors));
    QVERIFY2(out.startsWith(QStringLiteral("usage: ") + tool + QLatin1Char(' ')), qPrintable(out));
    QVERIFY2(!errors.contains(tool), qPrintable(errors));
}

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
