#include "platform/workingfolders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the fixture");
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestWorkingFolders : public QObject {
    Q_OBJECT

private slots:
    void foldersFollowTheHome();
    void provisionCreatesWhatIsMissingAndOverwritesNothing();
    void provisionSaysWhatItCouldNotCreateAndWhy_data();
    void provisionSaysWhatItCouldNotCreateAndWhy();
};

void TestWorkingFolders::foldersFollowTheHome() {
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("data"))));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));

    const WorkingFolders folders = WorkingFolders::locate();
    QCOMPARE(folders.UserFolder, home.path() + QStringLiteral("/Documents/Vantrel/"));
    QCOMPARE(folders.SharedDataFolder, home.path() + QStringLiteral("/data/Vantrel/"));
    QCOMPARE(folders.ProgramFolder, QCoreApplication::applicationDirPath() + QLatin1Char('/'));
    QCOMPARE(folders.shippedSharedData(), folders.ProgramFolder + QStringLiteral("shared/"));
    QCOMPARE(folders.shippedImages(), folders.ProgramFolder + QStringLiteral("images/"));
}

void TestWorkingFolders::provisionCreatesWhatIsMissingAndOverwritesNothing() {
    QTemporaryDir root;
    WorkingFolders folders;
    folders.ProgramFolder = root.filePath(QStringLiteral("program/"));
    folders.UserFolder = root.filePath(QStringLiteral("docs/Vantrel/"));
    folders.SharedDataFolder = root.filePath(QStringLiteral("data/Vantrel/"));
    const QString shipped = folders.shippedSharedData();
    writeFile(shipped + QStringLiteral("defaults.ini"), "[General]\r\nlang=en\r\n");
    writeFile(shipped + QStringLiteral("sys.dft"), "[Sites]\r\n");
    writeFile(shipped + QStringLiteral("Examples/Shoes.vdoc"), "doc");
    QFile::setPermissions(shipped + QStringLiteral("sys.dft"), QFile::ReadOwner);
    writeFile(folders.shippedImages() + QStringLiteral("Backgrounds/linen.jpg"), "linen");
    writeFile(folders.shippedImages() + QStringLiteral("Backgrounds/oak.jpg"), "oak");

    // The user already has settings of their own.
    writeFile(folders.SharedDataFolder + QStringLiteral("defaults.ini"),
              "[General]\r\nlang=fr\r\n");
    // ... and a picture of their own under a shipped picture's name.
    writeFile(folders.imagesFolder() + QStringLiteral("Backgrounds/oak.jpg"), "my oak");

    const ProvisionReport first = provisionWorkingFolders(folders);
    QVERIFY2(first.failures.isEmpty(), qPrintable(first.failures.join(QLatin1Char('\n'))));
    for (const char* folder : {"images/My images", "Documents and Layouts"})
        QVERIFY(QFileInfo(folders.UserFolder + QLatin1String(folder)).isDir());
    QVERIFY(QFileInfo(folders.SharedDataFolder + QStringLiteral("Examples")).isDir());
    QCOMPARE(readFile(folders.SharedDataFolder + QStringLiteral("defaults.ini")),
             QByteArray("[General]\r\nlang=fr\r\n"));
    QCOMPARE(readFile(folders.SharedDataFolder + QStringLiteral("Examples/Shoes.vdoc")),
             QByteArray("doc"));
    QCOMPARE(readFile(folders.imagesFolder() + QStringLiteral("Backgrounds/linen.jpg")),
             QByteArray("linen"));
    QCOMPARE(readFile(folders.imagesFolder() + QStringLiteral("Backgrounds/oak.jpg")),
             QByteArray("my oak"));
    QCOMPARE(first.copiedFiles.size(), 3);
    QVERIFY(QFileInfo(folders.SharedDataFolder + QStringLiteral("sys.dft")).isWritable());

    // The second start finds everything in place.
    writeFile(folders.SharedDataFolder + QStringLiteral("sys.dft"), "[Sites]\r\nmine=1\r\n");
    const ProvisionReport second = provisionWorkingFolders(folders);
    QVERIFY(second.createdFolders.isEmpty());
    QVERIFY(second.copiedFiles.isEmpty());
    QCOMPARE(readFile(folders.SharedDataFolder + QStringLiteral("sys.dft")),
             QByteArray("[Sites]\r\nmine=1\r\n"));
}

void TestWorkingFolders::provisionSaysWhatItCouldNotCreateAndWhy_data() {
    QTest::addColumn<QString>("inTheWay"); // a file where the program wants a folder
    QTest::addColumn<QString>("named");
    QTest::addColumn<QString>("why");
    QTest::newRow("robustness: file named like the folder") << "data/Vantrel/Examples"
                                                            << "data/Vantrel/Examples"
                                                            << "a file of that name is in the way";
    QTest::newRow("robustness: file named like a parent folder") << "docs/Vantrel/images"
                                                                 << "docs/Vantrel/images/My images"
                                                                 << "Not a directory";
}

void TestWorkingFolders::provisionSaysWhatItCouldNotCreateAndWhy() {
    QFETCH(QString, inTheWay);
    QFETCH(QString, named);
    QFETCH(QString, why);
    QTemporaryDir root;
    WorkingFolders folders;
    folders.ProgramFolder = root.filePath(QStringLiteral("program/"));
    folders.UserFolder = root.filePath(QStringLiteral("docs/Vantrel/"));
    folders.SharedDataFolder = root.filePath(QStringLiteral("data/Vantrel/"));
    writeFile(root.filePath(inTheWay), "not a folder");

    const ProvisionReport report = provisionWorkingFolders(folders);
    QCOMPARE(report.failures.size(), 1);
    const QString message = provisionMessage(report);
    QVERIFY2(message.contains(QLatin1Char('"') + root.filePath(named) + QLatin1Char('"')),
             qPrintable(message));
    QVERIFY2(message.contains(why), qPrintable(message));
}

QTEST_GUILESS_MAIN(TestWorkingFolders)
#include "tst_workingfolders.moc"
