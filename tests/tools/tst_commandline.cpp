#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

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
    void noRuntimeFolderNotice_data();
    void noRuntimeFolderNotice();
    void renderUsageNamesItsInputs();
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

void TestCommandLine::noRuntimeFolderNotice_data() {
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QStringList>("arguments");
    // What the tool says itself: it ran past the start of its application.
    QTest::addColumn<QString>("ownMessage");
    QTest::newRow("vantrel-doc export")
        << "vantrel-doc" << QStringList{"export", "gone.vdoc"} << "gone.vdoc";
    QTest::newRow("vantrel-render")
        << "vantrel-render" << QStringList{"gone.html", "gone.rbs"} << "gone.rbs";
    QTest::newRow("vantrel-check") << "vantrel-check" << QStringList{"gone.html"} << "gone.html";
    QTest::newRow("vantrel-shift")
        << "vantrel-shift" << QStringList{"file", "3", "gone.txt", "out.txt"} << "gone.txt";
    QTest::newRow("vantrel-upload")
        << "vantrel-upload" << QStringList{"gone.html", "gone.rbs"} << "--to";
}

void TestCommandLine::noRuntimeFolderNotice() {
    QFETCH(QString, tool);
    QFETCH(QStringList, arguments);
    QFETCH(QString, ownMessage);
    QTemporaryDir home;
    QVERIFY(home.isValid());
    // As root, or outside a desktop session: no runtime folder is set.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(home.path());
    process.start(toolPath(tool), arguments);
    QVERIFY2(process.waitForFinished(60000), qPrintable(process.errorString()));
    const QString errors = QString::fromLocal8Bit(process.readAllStandardError());
    QVERIFY2(errors.contains(ownMessage), qPrintable(errors));
    QVERIFY2(!errors.contains(QLatin1String("XDG_RUNTIME_DIR")), qPrintable(errors));
    QVERIFY2(!errors.contains(QLatin1String("QStandardPaths")), qPrintable(errors));
}

void TestCommandLine::renderUsageNamesItsInputs() {
    QProcess process;
    process.start(toolPath(QStringLiteral("vantrel-render")), {QStringLiteral("--help")});
    QVERIFY2(process.waitForFinished(60000), qPrintable(process.errorString()));
    const QStringList lines = QString::fromLocal8Bit(process.readAllStandardOutput())
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY(!lines.isEmpty());
    // Each input and option of the synopsis has a line that says what it is.
    for (const char* input : {"DOCUMENT", "LAYOUT.rbs", "-o OUT.html", "--body"}) {
        const QString name = QLatin1String(input);
        QVERIFY2(lines.first().contains(name), qPrintable(lines.first()));
        const bool explained =
            std::any_of(lines.begin() + 1, lines.end(), [&](const QString& line) {
                return line.trimmed().startsWith(name + QLatin1Char(':'));
            });
        QVERIFY2(explained, qPrintable(name + QStringLiteral(" is not explained")));
    }
}

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
