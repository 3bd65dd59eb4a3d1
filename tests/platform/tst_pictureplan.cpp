#include "pagegen/pictureinputs.h"
#include "pagegen/publishingstate.h"
#include "platform/pictureplan.h"
#include "settings/servermirror.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using pictureplan::Role;
using pictureplan::Target;

Q_DECLARE_METATYPE(Role)
Q_DECLARE_METATYPE(Target)

namespace {

const QString kUserFolder = QStringLiteral("/home/ann/Documents/Vantrel/");
const QString kImages = kUserFolder + QStringLiteral("images");
const QString kServer = QStringLiteral("https://pics.example/shop/");
const QString kUnfiled = QStringLiteral("/tmp/run-pictures");
const QByteArray kPng = QByteArray("\x89PNG\r\n\x1a\n-a-picture", 19);

QString unfiledName(const QByteArray& bytes, const char* extension) {
    return QStringLiteral("picture-") +
           QString::fromLatin1(
               QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex().left(16)) +
           u'.' + QLatin1String(extension);
}

/// One picture, the only one of its plan.
pictureplan::Plan planOf(Role role, const QString& path, Target target, const QString& server) {
    pictureplan::Input input;
    input.target = target;
    input.userFolder = kUserFolder;
    input.unfiledFolder = kUnfiled;
    if (role == Role::Document) {
        input.document = {{path, path.isEmpty() ? kPng : QByteArray(), "png"}};
        input.servers.document = server;
    } else {
        input.layout = {{role, path, false}};
        input.servers.layout = server;
    }
    return pictureplan::make(input);
}

} // namespace

class TestPicturePlan : public QObject {
    Q_OBJECT
private slots:
    void onePicture_data();
    void onePicture();
    void layoutAreas_data();
    void layoutAreas();
    void documentPictures_data();
    void documentPictures();
    void serversTheSettingsChoose_data();
    void serversTheSettingsChoose();
    void layoutGoesToThePersonalServerWithoutProductServers_data();
    void layoutGoesToThePersonalServerWithoutProductServers();
    void unfiledPicturesAreSaved_data();
    void unfiledPicturesAreSaved();
    void publishingKeepsEveryPictureToSend_data();
    void publishingKeepsEveryPictureToSend();
    void webPicturesStayWhereTheyAre_data();
    void webPicturesStayWhereTheyAre();
};

void TestPicturePlan::onePicture_data() {
    QTest::addColumn<Role>("role");
    QTest::addColumn<QString>("path"); // the layout's path, or the document picture's file
    QTest::addColumn<Target>("target");
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("localFile");
    QTest::addColumn<QString>("serverName");
    QTest::addColumn<QString>("serverAddress");
    QTest::addColumn<QString>("address");

    const QString sky = kImages + QStringLiteral("/My images/Sky.GIF");
    QTest::newRow("nominal: preview, layout picture by its local file")
        << Role::Frame << "/My images/Sky.GIF" << Target::Preview << kServer << sky << "Sky.GIF"
        << kServer + "Sky.GIF"
        << "file://" + kImages + "/My%20images/Sky.GIF";
    QTest::newRow("nominal: publish, layout picture on its server")
        << Role::PageArea << "/My images/Sky.GIF" << Target::Publish << kServer << sky << "Sky.GIF"
        << kServer + "Sky.GIF" << kServer + "Sky.GIF";
    QTest::newRow("nominal: a layout written with backslashes")
        << Role::TextArea << "\\Backgrounds\\Roses.png" << Target::Publish << kServer
        << kImages + "/Backgrounds/Roses.png"
        << "Roses.png" << kServer + "Roses.png" << kServer + "Roses.png";
    QTest::newRow("nominal: preview, document picture by its file")
        << Role::Document << "/home/ann/Pics/My Sky.jpg" << Target::Preview << kServer
        << "/home/ann/Pics/My Sky.jpg"
        << "My Sky.jpg" << kServer + "My%20Sky.jpg"
        << "file:///home/ann/Pics/My%20Sky.jpg";
    QTest::newRow("nominal: publish, document picture on the personal server")
        << Role::Document << "/home/ann/Pics/My Sky.jpg" << Target::Publish << kServer
        << "/home/ann/Pics/My Sky.jpg"
        << "My Sky.jpg" << kServer + "My%20Sky.jpg" << kServer + "My%20Sky.jpg";
    QTest::newRow("nominal: a drive path written elsewhere")
        << Role::Document << "C:\\Pics\\My Sky.jpg" << Target::Publish << kServer
        << "C:\\Pics\\My Sky.jpg"
        << "My Sky.jpg" << kServer + "My%20Sky.jpg" << kServer + "My%20Sky.jpg";
    QTest::newRow("encoding: hash")
        << Role::Document << "/p/pic#1.png" << Target::Publish << kServer << "/p/pic#1.png"
        << "pic#1.png" << kServer + "pic%231.png" << kServer + "pic%231.png";
    QTest::newRow("encoding: hash in the preview")
        << Role::Document << "/p/pic#1.png" << Target::Preview << kServer << "/p/pic#1.png"
        << "pic#1.png" << kServer + "pic%231.png"
        << "file:///p/pic%231.png";
    QTest::newRow("encoding: percent")
        << Role::Frame << "/50%20off.png" << Target::Publish << kServer << kImages + "/50%20off.png"
        << "50%20off.png" << kServer + "50%2520off.png" << kServer + "50%2520off.png";
    QTest::newRow("encoding: letters outside ASCII")
        << Role::Document << "/p/\u00c9t\u00e9.png" << Target::Publish << kServer
        << "/p/\u00c9t\u00e9.png"
        << "\u00c9t\u00e9.png" << kServer + "%C3%89t%C3%A9.png" << kServer + "%C3%89t%C3%A9.png";
    QTest::newRow("encoding: letter case kept")
        << Role::Frame << "/Shop/Sky.PNG" << Target::Publish << kServer << kImages + "/Shop/Sky.PNG"
        << "Sky.PNG" << kServer + "Sky.PNG" << kServer + "Sky.PNG";
    QTest::newRow("robustness: publish without a server keeps the local file")
        << Role::Document << "/p/a b.png" << Target::Publish << ""
        << "/p/a b.png"
        << "a b.png"
        << ""
        << "file:///p/a%20b.png";
    QTest::newRow("robustness: layout picture, no server")
        << Role::Frame << "/a.png" << Target::Publish << "" << kImages + "/a.png"
        << "a.png"
        << ""
        << "file://" + kImages + "/a.png";
    const QString unfiled = unfiledName(kPng, "png");
    QTest::newRow("nominal: preview, a picture of no file in the run's folder")
        << Role::Document << "" << Target::Preview << kServer << kUnfiled + "/" + unfiled << unfiled
        << kServer + unfiled << "file://" + kUnfiled + "/" + unfiled;
    QTest::newRow("nominal: publish, a picture of no file on the personal server")
        << Role::Document << "" << Target::Publish << kServer << kUnfiled + "/" + unfiled << unfiled
        << kServer + unfiled << kServer + unfiled;
}

void TestPicturePlan::onePicture() {
    QFETCH(Role, role);
    QFETCH(QString, path);
    QFETCH(Target, target);
    QFETCH(QString, server);
    const pictureplan::Plan plan = planOf(role, path, target, server);
    QCOMPARE(plan.entries.size(), 1);
    const pictureplan::Entry& entry = plan.entries.constFirst();
    QCOMPARE(entry.role, role);
    QTEST(entry.localFile, "localFile");
    QTEST(entry.serverName, "serverName");
    QTEST(entry.serverAddress, "serverAddress");
    QTEST(entry.address, "address");
    // A picture of no file carries its bytes to its file; the others carry none.
    QCOMPARE(entry.bytes, path.isEmpty() ? kPng : QByteArray());
    // The page's writers find it where the plan put it.
    const pictureplan::Entry* found = role == Role::Document
                                          ? plan.documentPicture({path, entry.bytes, "png"})
                                          : plan.layoutPicture(role);
    QCOMPARE(found, &entry);
    // Without a server it is the one picture publishing must stop for.
    QCOMPARE(plan.addresses(), server.isEmpty() ? QStringList() : QStringList{entry.serverAddress});
    QCOMPARE(plan.unplaced(), server.isEmpty() ? QStringList{entry.localFile} : QStringList());
}

void TestPicturePlan::layoutAreas_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("hidden");
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QStringList>("addresses");
    QTest::addColumn<QStringList>("unplaced");

    QTest::newRow("nominal: shown") << "/sky.png" << false << kServer << kServer + "sky.png" << true
                                    << QStringList{kServer + "sky.png"} << QStringList();
    QTest::newRow("nominal: hidden, its address still worked out")
        << "/sky.png" << true << kServer << kServer + "sky.png" << false << QStringList()
        << QStringList();
    QTest::newRow("nominal: no picture chosen: the server itself")
        << "" << false << kServer << kServer << true << QStringList() << QStringList();
    QTest::newRow("robustness: no server") << "/sky.png" << false << ""
                                           << "file://" + kImages + "/sky.png" << true
                                           << QStringList() << QStringList{kImages + "/sky.png"};
    QTest::newRow("robustness: hidden and no server")
        << "/sky.png" << true << ""
        << "file://" + kImages + "/sky.png" << false << QStringList() << QStringList();
    QTest::newRow("robustness: none chosen and no server")
        << "" << false << ""
        << "file://" + kImages << true << QStringList() << QStringList();
}

void TestPicturePlan::layoutAreas() {
    QFETCH(QString, path);
    QFETCH(bool, hidden);
    QFETCH(QString, server);
    pictureplan::Input input;
    input.target = Target::Publish;
    input.userFolder = kUserFolder;
    input.servers.layout = server;
    // The other two areas keep the defaults: hidden, none chosen.
    input.layout = {{Role::PageArea, QString(), true},
                    {Role::Frame, path, hidden},
                    {Role::TextArea, QString(), true}};
    const pictureplan::Plan plan = pictureplan::make(input);
    QCOMPARE(plan.entries.size(), 3);
    const pictureplan::Entry* frame = plan.layoutPicture(Role::Frame);
    QVERIFY(frame);
    QTEST(frame->address, "address");
    QTEST(frame->shown, "shown");
    QTEST(plan.addresses(), "addresses");
    QTEST(plan.unplaced(), "unplaced");
    QVERIFY(!plan.documentPicture({path, {}, {}}));
}

void TestPicturePlan::documentPictures_data() {
    QTest::addColumn<QStringList>("files"); // "" for a picture of no file (the same bytes each)
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<bool>("byName");
    QTest::addColumn<int>("entries");
    QTest::addColumn<QStringList>("addresses");
    QTest::addColumn<QString>("firstAddress");

    QTest::newRow("nominal: the same picture used twice")
        << QStringList{"/p/Sky.png", "/p/Sky.png"} << QByteArray("png") << false << 1
        << QStringList{kServer + "Sky.png"} << kServer + "Sky.png";
    QTest::newRow("nominal: one name from two folders, one address")
        << QStringList{"/p/Sky.png", "/q/Sky.png"} << QByteArray("png") << false << 2
        << QStringList{kServer + "Sky.png"} << kServer + "Sky.png";
    QTest::newRow("nominal: names that differ in letter case are two addresses")
        << QStringList{"/p/Sky.png", "/p/sky.png"} << QByteArray("png") << false << 2
        << QStringList{kServer + "Sky.png", kServer + "sky.png"} << kServer + "Sky.png";
    QTest::newRow("nominal: a picture of no file pasted twice")
        << QStringList{"", ""} << QByteArray("png") << false << 1
        << QStringList{kServer + unfiledName(kPng, "png")} << kServer + unfiledName(kPng, "png");
    QTest::newRow("nominal: a jpeg of no file")
        << QStringList{""} << QByteArray("jpeg") << false << 1
        << QStringList{kServer + unfiledName(kPng, "jpg")} << kServer + unfiledName(kPng, "jpg");
    QTest::newRow("robustness: a format that is no plain word stays in the folder")
        << QStringList{""} << QByteArray("../../x") << false << 1
        << QStringList{kServer + unfiledName(kPng, "bin")} << kServer + unfiledName(kPng, "bin");
}

void TestPicturePlan::documentPictures() {
    QFETCH(QStringList, files);
    QFETCH(QByteArray, format);
    QFETCH(int, entries);
    pictureplan::Input input;
    input.target = Target::Publish;
    input.servers.document = kServer;
    input.unfiledFolder = kUnfiled + u'/';
    for (const QString& file : files)
        input.document.append(
            pictureplan::DocumentPicture(file, file.isEmpty() ? kPng : QByteArray(), format));
    // A picture with nothing in it is left to the page's writer.
    input.document.append(pictureplan::DocumentPicture(QString(), QByteArray(), "png"));
    const pictureplan::Plan plan = pictureplan::make(input);
    QCOMPARE(plan.entries.size(), entries);
    QTEST(plan.addresses(), "addresses");
    QTEST(plan.documentPicture(input.document.constFirst())->address, "firstAddress");
    for (const pictureplan::Entry& entry : plan.entries) {
        QVERIFY2(!entry.localFile.contains(QStringLiteral("//")), qPrintable(entry.localFile));
        if (!entry.bytes.isEmpty())
            QCOMPARE(QFileInfo(entry.localFile).path(), kUnfiled);
    }
}

void TestPicturePlan::serversTheSettingsChoose_data() {
    QTest::addColumn<bool>("useOwnServer");
    QTest::addColumn<int>("defaultServer");
    QTest::addColumn<int>("ownServer");
    QTest::addColumn<QString>("primary");
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("document");

    const QString mine = QStringLiteral("https://mine.example/pics/");
    QTest::newRow("nominal: a product server for the layout")
        << false << 2 << 1 << mine << "http://s1.example/" << mine;
    QTest::newRow("nominal: the personal server for both")
        << true << 2 << 1 << "https://mine.example/pics" << mine << mine;
    QTest::newRow("nominal: the second personal server")
        << true << 1 << 2 << mine << "https://two.example/"
        << "https://two.example/";
    QTest::newRow("robustness: personal server not set") << true << 1 << 1 << ""
                                                         << ""
                                                         << "";
    QTest::newRow("robustness: an old placeholder text")
        << true << 1 << 1 << "your primary server *"
        << ""
        << "";
    QTest::newRow("robustness: no personal server chosen")
        << false << 1 << 0 << mine << "http://s0.example/"
        << "";
    QTest::newRow("robustness: no product server chosen") << false << 0 << 1 << mine << "" << mine;
}

void TestPicturePlan::serversTheSettingsChoose() {
    QFETCH(bool, useOwnServer);
    QFETCH(int, defaultServer);
    QFETCH(int, ownServer);
    QFETCH(QString, primary);
    ServerMirror settings;
    settings.UseOwnServer = useOwnServer;
    settings.DefaultServer = defaultServer;
    settings.OwnServer = ownServer;
    settings.PrimaryServer = primary;
    settings.SecondaryServer = QStringLiteral("https://two.example");
    const pictureplan::Servers servers = pictureplan::chosenServers(
        settings, {QStringLiteral("http://s0.example/"), QStringLiteral("http://s1.example/"),
                   QStringLiteral("http://s2.example/")});
    QTEST(servers.layout, "layout");
    QTEST(servers.document, "document");
}

void TestPicturePlan::layoutGoesToThePersonalServerWithoutProductServers_data() {
    QTest::addColumn<QStringList>("productServers");
    QTest::addColumn<bool>("useOwnServer");
    QTest::newRow("none offered, own server off") << QStringList{"", "", ""} << false;
    QTest::newRow("none offered, own server on") << QStringList{"", "", ""} << true;
    QTest::newRow("a list without servers, own server off")
        << QStringList{"http://", "http://", "http://"} << false;
}

void TestPicturePlan::layoutGoesToThePersonalServerWithoutProductServers() {
    QFETCH(QStringList, productServers);
    QFETCH(bool, useOwnServer);
    ServerMirror settings;
    settings.UseOwnServer = useOwnServer;
    settings.DefaultServer = 1;
    settings.OwnServer = 1;
    settings.PrimaryServer = QStringLiteral("https://mine.example/pics/");
    const pictureplan::Servers servers = pictureplan::chosenServers(
        settings, {productServers[0], productServers[1], productServers[2]});
    QCOMPARE(servers.layout, QStringLiteral("https://mine.example/pics/"));
    QCOMPARE(servers.document, QStringLiteral("https://mine.example/pics/"));
}

void TestPicturePlan::unfiledPicturesAreSaved_data() {
    QTest::addColumn<QByteArray>("before"); // the file's bytes before; "-" when there is none
    QTest::addColumn<bool>("folderExists");
    QTest::newRow("nominal: a new file") << QByteArray("-") << true;
    QTest::newRow("nominal: the same picture there already") << kPng << true;
    QTest::newRow("robustness: another file under its name") << QByteArray("not it") << true;
    QTest::newRow("robustness: no folder") << QByteArray("-") << false;
}

void TestPicturePlan::unfiledPicturesAreSaved() {
    QFETCH(QByteArray, before);
    QFETCH(bool, folderExists);
    QTemporaryDir root;
    const QString folder = root.filePath(QStringLiteral("My images"));
    if (folderExists)
        QVERIFY(QDir().mkpath(folder));
    pictureplan::Input input;
    input.target = Target::Publish;
    input.unfiledFolder = folder;
    input.document = {{QString(), kPng, "png"}, {QStringLiteral("/p/kept.png"), {}, "png"}};
    const pictureplan::Plan plan = pictureplan::make(input);
    const QString file = plan.entries.constFirst().localFile;
    if (before != "-") {
        QFile planted(file);
        QVERIFY(planted.open(QIODevice::WriteOnly));
        planted.write(before);
    }
    const Status saved = pictureplan::saveUnfiledPictures(plan);
    QCOMPARE(saved.ok(), folderExists);
    if (!folderExists) {
        QVERIFY2(saved.error().contains(file), qPrintable(saved.error()));
        return;
    }
    QFile written(file);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), kPng);
    // Only the picture of no file is written.
    QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 1);
}

void TestPicturePlan::publishingKeepsEveryPictureToSend_data() {
    QTest::addColumn<QString>("secondFile");
    QTest::addColumn<int>("kept");
    // The same picture named by the layout and the document is sent once.
    QTest::newRow("one picture twice") << QStringLiteral("/home/s/a/IMG_1.jpg") << 1;
    // Two photos called alike in different folders are both kept, so that the
    // upload sees that one would replace the other on the server.
    QTest::newRow("two pictures, one name") << QStringLiteral("/home/s/b/IMG_1.jpg") << 2;
}

void TestPicturePlan::publishingKeepsEveryPictureToSend() {
    QFETCH(QString, secondFile);
    QFETCH(int, kept);
    const QString address = QStringLiteral("https://pictures.example/IMG_1.jpg");
    PublishingState publishing;
    for (const QString& file : {QStringLiteral("/home/s/a/IMG_1.jpg"), secondFile}) {
        pictureplan::Plan plan;
        plan.target = Target::Publish;
        pictureplan::Entry entry;
        entry.localFile = file;
        entry.serverName = QStringLiteral("IMG_1.jpg");
        entry.serverAddress = address;
        entry.address = address;
        plan.entries.append(entry);
        pictureplan::keepFindings(plan, publishing);
    }
    QCOMPARE(publishing.PlacedPictures.size(), kept);
}

void TestPicturePlan::webPicturesStayWhereTheyAre_data() {
    QTest::addColumn<Target>("target");
    QTest::addColumn<QString>("server");
    QTest::newRow("preview") << Target::Preview << kServer;
    QTest::newRow("publish with a personal server") << Target::Publish << kServer;
    QTest::newRow("publish without a server") << Target::Publish << QString();
}

void TestPicturePlan::webPicturesStayWhereTheyAre() {
    QFETCH(Target, target);
    QFETCH(QString, server);
    // One on the seller's own server: it is there already, nothing is sent.
    const QStringList addresses{QStringLiteral("https://cdn.example/gallery/front.jpg"),
                                kServer + QStringLiteral("side.jpg")};
    pictureplan::Input input;
    input.target = target;
    input.userFolder = kUserFolder;
    input.unfiledFolder = kUnfiled;
    input.servers.document = server;
    for (const QString& address : addresses) {
        pictureplan::DocumentPicture picture;
        picture.webAddress = address;
        input.document.append(picture);
        input.document.append(picture); // used twice, one picture
    }
    const pictureplan::Plan plan = pictureplan::make(input);
    QCOMPARE(plan.entries.size(), 2);
    for (const QString& address : addresses) {
        pictureplan::DocumentPicture picture;
        picture.webAddress = address;
        const pictureplan::Entry* entry = plan.documentPicture(picture);
        QVERIFY(entry);
        QCOMPARE(entry->address, address);
        QVERIFY(entry->localFile.isEmpty());
    }
    // The image test checks them; nothing is saved, sent or left unplaced.
    QCOMPARE(plan.addresses(), addresses);
    QVERIFY(plan.unplaced().isEmpty());
    QVERIFY(pictureplan::saveUnfiledPictures(plan));
    PublishingState publishing;
    pictureplan::keepFindings(plan, publishing);
    QVERIFY(publishing.PlacedPictures.isEmpty());
    QCOMPARE(publishing.RequiredImages.items(),
             target == Target::Publish ? addresses : QStringList());
}

QTEST_GUILESS_MAIN(TestPicturePlan)
#include "tst_pictureplan.moc"
