#include "platform/apperror.h"
#include "platform/ownpictures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

/// A user folder with its own pictures folder, inside a temporary folder.
struct PictureFolders {
    QTemporaryDir root;
    QString own = root.filePath(QStringLiteral("images/My images"));

    PictureFolders() { QDir().mkpath(own); }
    QString path(const QString& relative) const { return root.filePath(relative); }
    QString write(const QString& relative, const QByteArray& bytes) const {
        const QString file = path(relative);
        QDir().mkpath(QFileInfo(file).path());
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
            qFatal("cannot write the fixture");
        return file;
    }
    QByteArray read(const QString& relative) const {
        QFile in(path(relative));
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }
};

} // namespace

class TestOwnPictures : public QObject {
    Q_OBJECT

private slots:
    void checkImageLocation_data();
    void checkImageLocation();
    void copyIntoAMissingFolderFails();
    void copyOntoItselfKeepsThePicture();
    void reverseUrl();
    void imagesRelativePath_data();
    void imagesRelativePath();
};

void TestOwnPictures::checkImageLocation_data() {
    QTest::addColumn<QString>("picture");   // where the chosen picture is
    QTest::addColumn<QString>("existing");  // a file already in "My images", with other bytes
    QTest::addColumn<QString>("sameBytes"); // a file already there with the picture's bytes
    QTest::addColumn<QString>("link");      // a symbolic link to the picture, chosen instead
    QTest::addColumn<QString>("placed");    // where the picture ends up
    QTest::addColumn<bool>("copied");
    QTest::addColumn<bool>("renamed");

    QTest::newRow("nominal: from elsewhere") << "Pictures/sky.jpg"
                                             << ""
                                             << ""
                                             << ""
                                             << "images/My images/sky.jpg" << true << false;
    QTest::newRow("nominal: already inside") << "images/My images/sky.jpg"
                                             << ""
                                             << ""
                                             << ""
                                             << "images/My images/sky.jpg" << false << false;
    QTest::newRow("robustness: other letter case is another folder")
        << "images/my images/sky.jpg"
        << ""
        << ""
        << ""
        << "images/My images/sky.jpg" << true << false;
    QTest::newRow("robustness: neighbour folder") << "images/My images old/sky.jpg"
                                                  << ""
                                                  << ""
                                                  << ""
                                                  << "images/My images/sky.jpg" << true << false;
    QTest::newRow("robustness: link to a picture inside")
        << "images/My images/sky.jpg"
        << ""
        << ""
        << "Desktop/sky link.jpg"
        << "images/My images/sky.jpg" << false << false;
    QTest::newRow("nominal: same bytes there already")
        << "Pictures/sky.jpg"
        << ""
        << "images/My images/sky.jpg"
        << ""
        << "images/My images/sky.jpg" << false << false;
    QTest::newRow("robustness: other picture of that name")
        << "Pictures/sky.jpg"
        << "images/My images/sky.jpg"
        << ""
        << ""
        << "images/My images/sky (2).jpg" << true << true;
    QTest::newRow("robustness: unsafe name") << "Pictures/\u0141\u00f3d\u017a #1?.jpg"
                                             << ""
                                             << ""
                                             << ""
                                             << "images/My images/Lodz _1_.jpg" << true << true;
}

void TestOwnPictures::checkImageLocation() {
    QFETCH(QString, picture);
    QFETCH(QString, existing);
    QFETCH(QString, sameBytes);
    QFETCH(QString, link);
    QFETCH(QString, placed);
    QFETCH(bool, copied);
    QFETCH(bool, renamed);
    PictureFolders f;
    const QByteArray bytes("picture bytes");
    QString chosen = f.write(picture, bytes);
    if (!existing.isEmpty())
        f.write(existing, "an older picture");
    if (!sameBytes.isEmpty())
        f.write(sameBytes, bytes);
    if (!link.isEmpty()) {
        QDir().mkpath(QFileInfo(f.path(link)).path());
        QVERIFY(QFile::link(chosen, f.path(link)));
        chosen = f.path(link);
    }

    const ownpictures::Placement result = ownpictures::CheckImageLocation(chosen, f.own);
    QCOMPARE(result.path, QFileInfo(f.path(placed)).canonicalFilePath());
    QCOMPARE(result.copied, copied);
    QCOMPARE(result.renamed, renamed);
    QCOMPARE(f.read(placed), bytes);
    if (!existing.isEmpty())
        QCOMPARE(f.read(existing), QByteArray("an older picture"));
    QCOMPARE(QFileInfo(chosen).exists(), true); // the picture chosen is never moved
}

void TestOwnPictures::copyIntoAMissingFolderFails() {
    PictureFolders f;
    const QString chosen = f.write(QStringLiteral("Pictures/sky.jpg"), "bytes");
    QVERIFY_THROWS_EXCEPTION(AppError,
                             ownpictures::CheckImageLocation(chosen, f.path("images/Gone")));
    QVERIFY_THROWS_EXCEPTION(AppError, ownpictures::CheckImageLocation(f.path("none.jpg"), f.own));
}

void TestOwnPictures::copyOntoItselfKeepsThePicture() {
    PictureFolders f;
    const QString file = f.write(QStringLiteral("images/My images/sky.jpg"), "bytes");
    QVERIFY(QFile::link(file, f.path(QStringLiteral("sky link.jpg"))));
    ownpictures::FileCopy(f.path(QStringLiteral("sky link.jpg")), file);
    ownpictures::FileCopy(file, file);
    QCOMPARE(f.read(QStringLiteral("images/My images/sky.jpg")), QByteArray("bytes"));
}

void TestOwnPictures::reverseUrl() {
    QCOMPARE(ownpictures::ReverseURL(QStringLiteral("Images/Sub/Sky.GIF")),
             QStringLiteral("images\\sub\\sky.gif"));
    QCOMPARE(ownpictures::ReverseURL(QStringLiteral("\u00c9T\u00c9/A")),
             QStringLiteral("\u00c9t\u00c9\\a"));
}

void TestOwnPictures::imagesRelativePath_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("relative");
    QTest::newRow("nominal: own picture") << "home/images/Documents/Vantrel/images/My images/a.jpg"
                                          << "/My images/a.jpg";
    QTest::newRow("nominal: directly below") << "home/images/Documents/Vantrel/images/b.png"
                                             << "/b.png";
    QTest::newRow("robustness: outside") << "home/images/Pictures/c.png"
                                         << "";
}

void TestOwnPictures::imagesRelativePath() {
    QFETCH(QString, file);
    QFETCH(QString, relative);
    PictureFolders f;
    // A home folder named "images" must not be taken for the images folder.
    const QString images = f.path(QStringLiteral("home/images/Documents/Vantrel/images"));
    QDir().mkpath(images);
    const QString picture = f.write(file, "bytes");
    QCOMPARE(ownpictures::imagesRelativePath(picture, images + QLatin1Char('/')), relative);
}

QTEST_GUILESS_MAIN(TestOwnPictures)
#include "tst_ownpictures.moc"
