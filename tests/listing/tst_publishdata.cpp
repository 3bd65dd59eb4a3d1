#include "listing/sitelist.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace {

QString programFolder() {
    return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}

} // namespace

/// The publishing data shipped beside the program, as the build leaves it.
class TestPublishData : public QObject {
    Q_OBJECT

private slots:
    void siteListOffersOnlySafeSites();
    void helpPages_data();
    void helpPages();
};

void TestPublishData::siteListOffersOnlySafeSites() {
    const QString file = programFolder() + QStringLiteral("shared/sys.dft");
    QVERIFY2(QFile::exists(file), qPrintable(file));
    const sitelist::SiteList list(file);
    for (int region = 0; region < sitelist::RegionCount; ++region) {
        const QStringList names = list.siteNames(region);
        QVERIFY2(!names.isEmpty(), qPrintable(sitelist::regionSection(region)));
        for (const QString& name : names) {
            const QString address = list.siteAddress(region, name);
            QVERIFY2(sitelist::nameProblem(name).isEmpty(), qPrintable(name));
            QVERIFY2(sitelist::addressProblem(address).isEmpty(), qPrintable(address));
            QVERIFY2(address.startsWith(QLatin1String("https://")), qPrintable(address));
        }
    }
}

void TestPublishData::helpPages_data() {
    QTest::addColumn<QString>("language");
    QTest::newRow("English") << "en";
    QTest::newRow("French") << "fr";
}

void TestPublishData::helpPages() {
    QFETCH(QString, language);
    QFile page(programFolder() + language + QStringLiteral("_export1.html"));
    QVERIFY2(page.open(QIODevice::ReadOnly), qPrintable(page.fileName()));
    const QByteArray bytes = page.readAll();
    // Pure ASCII: every other character is a reference, whatever the reader's code page.
    for (char byte : bytes)
        QVERIFY(static_cast<unsigned char>(byte) < 0x80);
    const QString text = QString::fromLatin1(bytes);
    // Self-contained and inert: the help window loads nothing else and runs nothing.
    for (const char* pattern :
         {"<script", "\\bsrc\\s*=", "\\bhref\\s*=", "url\\(", "@import", "\\bon[a-z]+\\s*="}) {
        const QRegularExpression found(QLatin1String(pattern),
                                       QRegularExpression::CaseInsensitiveOption);
        QVERIFY2(!text.contains(found), pattern);
    }
    QVERIFY(text.contains(QLatin1String("My images")));
}

QTEST_GUILESS_MAIN(TestPublishData)
#include "tst_publishdata.moc"
