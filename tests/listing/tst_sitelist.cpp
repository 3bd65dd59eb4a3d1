#include "listing/sitelist.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace sitelist;

namespace {

enum Region { NorthAmerica, Europe, LatinAmerica, Australia, Asia };

const QByteArray fixture = "; auction sites\r\n"
                           "[NORTH AMERICA]\r\n"
                           "Alpha=https://alpha.example/login\r\n"
                           "Beta=https://beta.example/\r\n"
                           "\r\n"
                           "[Europe]\r\n"
                           "Gamma=https://gamma.example/sell\r\n";

struct ListFixture {
    QTemporaryDir folder;
    QString file = folder.filePath(QStringLiteral("sys.dft"));
    SiteList list{file};

    ListFixture() {
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(fixture) != fixture.size())
            qFatal("cannot write the site list fixture");
    }
    QByteArray stored() const {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }
};

} // namespace

class TestSiteList : public QObject {
    Q_OBJECT

private slots:
    void regions();
    void sitesInFileOrder();
    void siteNamedWithOtherWhiteSpaceIsUsable();
    void changes_data();
    void changes();
    void names_data();
    void names();
    void addresses_data();
    void addresses();
    void indicesFromTheSettings_data();
    void indicesFromTheSettings();
};

void TestSiteList::regions() {
    const QStringList captions = {"North America", "Europe", "Latin America",
                                  "Australia && New Zealand   ", "Asia && Far East"};
    const QStringList sections = {"NORTH AMERICA", "EUROPE", "LATIN AMERICA", "AUSTRALIA", "ASIA"};
    for (int region = 0; region < RegionCount; ++region) {
        QCOMPARE(regionCaption(region), captions.at(region));
        QCOMPARE(regionSection(region), sections.at(region));
    }
}

void TestSiteList::sitesInFileOrder() {
    ListFixture f;
    QCOMPARE(f.list.siteNames(NorthAmerica), QStringList({"Alpha", "Beta"}));
    // Section names match whatever their letter case.
    QCOMPARE(f.list.siteNames(Europe), QStringList({"Gamma"}));
    QCOMPARE(f.list.siteAddress(Europe, QStringLiteral("gamma")),
             QStringLiteral("https://gamma.example/sell"));
    QCOMPARE(f.list.existingName(NorthAmerica, QStringLiteral("BETA")), QStringLiteral("Beta"));
    QVERIFY(f.list.siteNames(Asia).isEmpty());
    QVERIFY(f.list.siteAddress(Asia, QStringLiteral("Alpha")).isEmpty());
    QVERIFY(SiteList(f.folder.filePath(QStringLiteral("none.dft"))).siteNames(Europe).isEmpty());
}

void TestSiteList::siteNamedWithOtherWhiteSpaceIsUsable() {
    // A name typed by hand with a no-break space after it: listed, it opens,
    // is renamed without a duplicate and is deleted, by the name shown.
    ListFixture f;
    {
        QFile out(f.file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("[EUROPE]\r\neBay Deutschland\xA0=https://ebay.example/\r\n");
    }
    const QStringList shown = f.list.siteNames(Europe);
    QCOMPARE(shown, QStringList({"eBay Deutschland"}));
    QCOMPARE(f.list.siteAddress(Europe, shown.first()), QStringLiteral("https://ebay.example/"));
    f.list.replaceSite(Europe, shown.first(), QStringLiteral("eBay DE"),
                       QStringLiteral("https://ebay.example/"));
    QCOMPARE(f.list.siteNames(Europe), QStringList({"eBay DE"}));
    f.list.deleteSite(Europe, QStringLiteral("eBay DE"));
    QVERIFY(f.list.siteNames(Europe).isEmpty());
}

void TestSiteList::changes_data() {
    QTest::addColumn<QString>("operation"); // add, replace, delete
    QTest::addColumn<int>("region");
    QTest::addColumn<QString>("formerName");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray head = "; auction sites\r\n[NORTH AMERICA]\r\n";
    const QByteArray europe = "[Europe]\r\nGamma=https://gamma.example/sell\r\n";
    QTest::newRow("add: appended after the region's last site")
        << "add" << int(NorthAmerica) << ""
        << "Delta"
        << "https://delta.example/"
        << head +
               "Alpha=https://alpha.example/login\r\nBeta=https://beta.example/\r\n"
               "Delta=https://delta.example/\r\n\r\n" +
               europe;
    QTest::newRow("add: same name in other letters replaces the address in place")
        << "add" << int(NorthAmerica) << ""
        << "ALPHA"
        << "https://new.example/"
        << head + "Alpha=https://new.example/\r\nBeta=https://beta.example/\r\n\r\n" + europe;
    QTest::newRow("add: region without a section gets one")
        << "add" << int(Asia) << ""
        << "Eta"
        << "https://eta.example/" << fixture + "[ASIA]\r\nEta=https://eta.example/\r\n";
    QTest::newRow("replace: new address moves the site to the end")
        << "replace" << int(NorthAmerica) << "Alpha"
        << "Alpha"
        << "https://alpha.example/new"
        << head + "Beta=https://beta.example/\r\nAlpha=https://alpha.example/new\r\n\r\n" + europe;
    QTest::newRow("replace: rename")
        << "replace" << int(NorthAmerica) << "Beta"
        << "Bravo"
        << "https://beta.example/"
        << head + "Alpha=https://alpha.example/login\r\nBravo=https://beta.example/\r\n\r\n" +
               europe;
    QTest::newRow("replace: rename onto another site leaves one entry")
        << "replace" << int(NorthAmerica) << "Beta"
        << "alpha"
        << "https://b.example/" << head + "alpha=https://b.example/\r\n\r\n" + europe;
    QTest::newRow("replace: only the letter case of the name")
        << "replace" << int(Europe) << "Gamma"
        << "GAMMA"
        << "https://gamma.example/sell"
        << head + "Alpha=https://alpha.example/login\r\nBeta=https://beta.example/\r\n\r\n"
                  "[Europe]\r\nGAMMA=https://gamma.example/sell\r\n";
    QTest::newRow("delete") << "delete" << int(NorthAmerica) << ""
                            << "alpha"
                            << "" << head + "Beta=https://beta.example/\r\n\r\n" + europe;
    QTest::newRow("delete: a site of another region stays") << "delete" << int(Europe) << ""
                                                            << "Alpha"
                                                            << "" << fixture;
}

void TestSiteList::changes() {
    QFETCH(QString, operation);
    QFETCH(int, region);
    QFETCH(QString, formerName);
    QFETCH(QString, name);
    QFETCH(QString, address);
    QFETCH(QByteArray, expected);

    ListFixture f;
    if (operation == QLatin1String("add"))
        f.list.addSite(region, name, address);
    else if (operation == QLatin1String("replace"))
        f.list.replaceSite(region, formerName, name, address);
    else
        f.list.deleteSite(region, name);
    QCOMPARE(f.stored(), expected);
}

void TestSiteList::names_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("nominal") << "Auction house (Germany)" << true;
    QTest::newRow("nominal: accented letters") << QStringLiteral("Enchères € Nantes") << true;
    QTest::newRow("nominal: brackets inside") << "Site [new]" << true;
    QTest::newRow("robustness: empty") << "" << false;
    QTest::newRow("robustness: equals sign") << "a=b" << false;
    QTest::newRow("robustness: section header") << "[ASIA]" << false;
    QTest::newRow("robustness: comment") << "; note" << false;
    QTest::newRow("robustness: tab") << "a\tb" << false;
    QTest::newRow("robustness: line break") << "a\nb" << false;
    QTest::newRow("robustness: outside the code page") << QStringLiteral("Site \u4e2d") << false;
}

void TestSiteList::names() {
    QFETCH(QString, name);
    QFETCH(bool, accepted);
    QCOMPARE(nameProblem(name).isEmpty(), accepted);
}

void TestSiteList::addresses_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<bool>("unencrypted");
    QTest::newRow("nominal: https") << "https://signin.example.com/ws?SignIn" << true << false;
    QTest::newRow("nominal: scheme in capitals") << "HTTPS://www.example.com/" << true << false;
    QTest::newRow("nominal: http with a warning") << "http://www.example.com/login" << true << true;
    QTest::newRow("robustness: no scheme") << "www.example.com" << false << false;
    QTest::newRow("robustness: no host") << "https://" << false << false;
    QTest::newRow("robustness: no slashes") << "http:example.com" << false << false;
    QTest::newRow("robustness: file") << "file:///usr/bin/xterm" << false << false;
    QTest::newRow("robustness: script") << "javascript:alert(1)" << false << false;
    QTest::newRow("robustness: program") << "/usr/bin/xterm" << false << false;
    QTest::newRow("robustness: ftp") << "ftp://ftp.example.com/" << false << false;
    QTest::newRow("robustness: space inside") << "https://www.example.com/a b" << false << false;
    QTest::newRow("robustness: outside the code page")
        << QStringLiteral("https://\u4e2d.example/") << false << false;
}

void TestSiteList::addresses() {
    QFETCH(QString, address);
    QFETCH(bool, accepted);
    QFETCH(bool, unencrypted);
    QCOMPARE(addressProblem(address).isEmpty(), accepted);
    if (accepted)
        QCOMPARE(travelsUnencrypted(address), unencrypted);
}

void TestSiteList::indicesFromTheSettings_data() {
    QTest::addColumn<int>("region");
    QTest::addColumn<int>("expectedRegion");
    QTest::addColumn<int>("site");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("expectedSite");
    QTest::newRow("nominal") << 2 << 2 << 1 << 3 << 1;
    QTest::newRow("boundary: last") << 4 << 4 << 2 << 3 << 2;
    QTest::newRow("robustness: beyond the end") << 9 << 4 << 7 << 3 << 2;
    QTest::newRow("robustness: negative") << -1 << 0 << -3 << 3 << 0;
    QTest::newRow("robustness: region without sites") << 0 << 0 << 0 << 0 << -1;
}

void TestSiteList::indicesFromTheSettings() {
    QFETCH(int, region);
    QFETCH(int, expectedRegion);
    QFETCH(int, site);
    QFETCH(int, count);
    QFETCH(int, expectedSite);
    QCOMPARE(clampRegion(region), expectedRegion);
    QCOMPARE(clampSiteIndex(site, count), expectedSite);
}

QTEST_GUILESS_MAIN(TestSiteList)
#include "tst_sitelist.moc"
