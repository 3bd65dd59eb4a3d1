#include "platform/desktoprecent.h"
#include "platform/safefile.h"
#include "settings/recentfiles.h"
#include "settings/settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QXmlStreamReader>
#include <memory>

namespace {

/// The bookmarks of a desktop list: href → (the programs' counts by name).
QMap<QString, QMap<QString, int>> bookmarks(const QString& list) {
    QFile file(list);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader in(&file);
    QMap<QString, QMap<QString, int>> found;
    QString current;
    while (!in.atEnd()) {
        if (in.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (in.name() == QLatin1String("bookmark")) {
            current = in.attributes().value(QLatin1String("href")).toString();
            found[current];
        } else if (in.name() == QLatin1String("application")) {
            found[current][in.attributes().value(QLatin1String("name")).toString()] =
                in.attributes().value(QLatin1String("count")).toInt();
        }
    }
    return in.hasError() ? QMap<QString, QMap<QString, int>>() : found;
}

QString href(const QString& path) {
    return QString::fromLatin1(QUrl::fromLocalFile(path).toEncoded());
}

} // namespace

class TestRecentFiles : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_settings = std::make_unique<Settings>(m_dir->filePath(QStringLiteral("defaults.ini")));
        (void)m_settings->load();
    }

    void newestFirstOnceAndAtMostEight() {
        RecentFiles recent(*m_settings, QString());
        for (int i = 1; i <= 10; ++i)
            QVERIFY(recent.add(RecentFiles::Kind::Documents, QStringLiteral("/w/%1.vdoc").arg(i)));
        QVERIFY(recent.add(RecentFiles::Kind::Documents, QStringLiteral("/w/5.vdoc")));
        QVERIFY(recent.add(RecentFiles::Kind::Layouts, QStringLiteral("/w/a.rbs")));
        const QStringList expected = {"/w/5.vdoc", "/w/10.vdoc", "/w/9.vdoc", "/w/8.vdoc",
                                      "/w/7.vdoc", "/w/6.vdoc",  "/w/4.vdoc", "/w/3.vdoc"};
        QCOMPARE(recent.files(RecentFiles::Kind::Documents), expected);
        QCOMPARE(recent.files(RecentFiles::Kind::Layouts), QStringList{"/w/a.rbs"});
        QVERIFY(recent.remove(RecentFiles::Kind::Documents, QStringLiteral("/w/10.vdoc")));
        QVERIFY(!recent.files(RecentFiles::Kind::Documents).contains("/w/10.vdoc"));
        QCOMPARE(recent.files(RecentFiles::Kind::Documents).size(), 7);
    }

    void anyNameComesBackFromTheSettingsFile_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("plain") << QStringLiteral("/home/s/Documents/lamp.vdoc");
        QTest::newRow("spaces and accents")
            << QStringLiteral("/home/s/Mes annonces/été à Noël.vdoc");
        QTest::newRow("separators and escapes") << QStringLiteral("/tmp/a|b%41;c=d#e?f&g.vdoc");
        QTest::newRow("not in the file's code page")
            << QStringLiteral("/tmp/лампа 灯 \U0001F4A1.vdoc");
        QTest::newRow("brackets and quotes") << QStringLiteral("/tmp/[x] \"y\" 'z'.rbs");
    }
    void anyNameComesBackFromTheSettingsFile() {
        QFETCH(QString, path);
        {
            RecentFiles recent(*m_settings, QString());
            QVERIFY(recent.add(RecentFiles::Kind::Documents, QStringLiteral("/tmp/other.vdoc")));
            QVERIFY(recent.add(RecentFiles::Kind::Documents, path));
        }
        // Another run of the program reads them back.
        Settings again(m_settings->fileName());
        QVERIFY(again.load());
        RecentFiles recent(again, QString());
        QCOMPARE(recent.files(RecentFiles::Kind::Documents),
                 (QStringList{path, QStringLiteral("/tmp/other.vdoc")}));
    }

    void handEditedEntriesThatAreNoPathsAreLeftOut() {
        QCOMPARE(RecentFiles::decode(QStringLiteral("relative.vdoc|/a.vdoc||/a.vdoc|%2Fb.vdoc")),
                 (QStringList{"/a.vdoc", "/b.vdoc"}));
    }

    void aNewDesktopListHoldsTheFile() {
        const QString list = m_dir->filePath(QStringLiteral("share/recently-used.xbel"));
        RecentFiles recent(*m_settings, list);
        const QString doc = m_dir->filePath(QStringLiteral("été & co.vdoc"));
        QVERIFY(recent.add(RecentFiles::Kind::Documents, doc));
        const auto listed = bookmarks(list);
        QCOMPARE(listed.keys(), QStringList{href(doc)});
        QCOMPARE(listed.value(href(doc)).value(QStringLiteral("vantrel")), 1);
        QFile file(list);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("application/x-vantrel-document"));
    }

    void otherProgramsEntriesStayInTheDesktopList() {
        const QString list = m_dir->filePath(QStringLiteral("recently-used.xbel"));
        const QByteArray theirs =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<xbel version=\"1.0\"\n"
            "      xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\"\n"
            "      xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\"\n>\n"
            "  <bookmark href=\"file:///home/s/notes.txt\" added=\"2026-01-01T10:00:00Z\" "
            "modified=\"2026-01-01T10:00:00Z\" visited=\"2026-01-01T10:00:00Z\">\n"
            "    <info>\n      <metadata owner=\"http://freedesktop.org\">\n"
            "        <mime:mime-type type=\"text/plain\"/>\n"
            "        <bookmark:applications>\n"
            "          <bookmark:application name=\"editor\" exec=\"&apos;editor %u&apos;\" "
            "modified=\"2026-01-01T10:00:00Z\" count=\"3\"/>\n"
            "        </bookmark:applications>\n      </metadata>\n    </info>\n  </bookmark>\n"
            "</xbel>\n";
        writeFileAtomically(list, theirs);
        RecentFiles recent(*m_settings, list);
        const QString layout = QStringLiteral("/home/s/a.rbs");
        QVERIFY(recent.add(RecentFiles::Kind::Layouts, layout));
        QVERIFY(recent.add(RecentFiles::Kind::Layouts, layout));
        // The other program opened our layout too: its count stays its own.
        const auto listed = bookmarks(list);
        QCOMPARE(listed.size(), 2);
        QCOMPARE(listed.value(QStringLiteral("file:///home/s/notes.txt")),
                 (QMap<QString, int>{{QStringLiteral("editor"), 3}}));
        QCOMPARE(listed.value(href(layout)), (QMap<QString, int>{{QStringLiteral("vantrel"), 2}}));
        QFile file(list);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray now = file.readAll();
        QVERIFY(now.contains("exec=\"&apos;editor %u&apos;\"") ||
                now.contains("exec=\"'editor %u'\""));
        QVERIFY(now.contains("xmlns:bookmark="));
    }

    void aDamagedDesktopListIsLeftAsItIs_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("cut short") << QByteArray("<?xml version=\"1.0\"?>\n<xbel version=\"1.0\">\n"
                                                 "  <bookmark href=\"file:///a\"");
        QTest::newRow("not a list") << QByteArray("<html><body>hello</body></html>");
        QTest::newRow("binary") << QByteArray("\x00\x01\x02garbage", 10);
    }
    void aDamagedDesktopListIsLeftAsItIs() {
        QFETCH(QByteArray, bytes);
        const QString list = m_dir->filePath(QStringLiteral("recently-used.xbel"));
        writeFileAtomically(list, bytes);
        RecentFiles recent(*m_settings, list);
        const Status added = recent.add(RecentFiles::Kind::Documents, QStringLiteral("/x/a.vdoc"));
        QVERIFY(!added);
        QVERIFY(added.error().contains(list));
        // Vantrel's own list is kept all the same.
        QCOMPARE(recent.files(RecentFiles::Kind::Documents), QStringList{"/x/a.vdoc"});
        QFile file(list);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), bytes);
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Settings> m_settings;
};

QTEST_GUILESS_MAIN(TestRecentFiles)
#include "tst_recentfiles.moc"
