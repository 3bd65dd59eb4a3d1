#include "document/documenttools.h"
#include "document/toolpictures.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QStringList pictures = {QStringLiteral("format-text-bold"), QStringLiteral("overline"),
                              QStringLiteral("edit-undo")};

QImage shown(const QIcon& icon) {
    return icon.pixmap(22).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

/// The tool pictures' cache: what a start reads back is what the theme
/// draws, and a cache that does not fit is made again.
class TestToolPictures : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useToolIconTheme(); }
    void cacheGivesWhatTheThemeDraws_data();
    void cacheGivesWhatTheThemeDraws();
    void missingPictureIsNullAndNotCached();
};

void TestToolPictures::cacheGivesWhatTheThemeDraws_data() {
    QTest::addColumn<QByteArray>("cacheBefore"); // "-" for none
    QTest::addColumn<QStringList>("cachedNames");
    QTest::newRow("no cache yet") << QByteArray("-") << QStringList{};
    QTest::newRow("damaged cache") << QByteArray("VTRLPIC1 and no more") << QStringList{};
    QTest::newRow("cache of other pictures")
        << QByteArray() << QStringList{QStringLiteral("edit-undo"), QStringLiteral("edit-redo")};
}

void TestToolPictures::cacheGivesWhatTheThemeDraws() {
    QFETCH(QByteArray, cacheBefore);
    QFETCH(QStringList, cachedNames);
    QTemporaryDir folder;
    const QString cache = folder.filePath(QStringLiteral("cache/tool-pictures.png"));
    if (!cachedNames.isEmpty()) {
        toolpictures::load(cachedNames, 22, cache);
    } else if (cacheBefore != "-") {
        QDir().mkpath(folder.filePath(QStringLiteral("cache")));
        QFile file(cache);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(cacheBefore);
    }

    const QList<QIcon> drawn = toolpictures::load(pictures, 22, cache);
    QCOMPARE(drawn.size(), pictures.size());
    QVERIFY(QFile::exists(cache));
    const QList<QIcon> read = toolpictures::load(pictures, 22, cache);
    for (int i = 0; i < pictures.size(); ++i) {
        QVERIFY2(!shown(drawn.at(i)).isNull(), qPrintable(pictures.at(i)));
        QCOMPARE(shown(read.at(i)), shown(drawn.at(i)));
    }
    // The pictures differ from each other: the strip is cut in the right places.
    QVERIFY(shown(read.at(0)) != shown(read.at(2)));
    // The overline picture is the underline one upside down.
    const QImage underline = shown(QIcon::fromTheme(QStringLiteral("format-text-underline")));
    QCOMPARE(shown(read.at(1)), underline.mirrored(false, true));
}

void TestToolPictures::missingPictureIsNullAndNotCached() {
    QTemporaryDir folder;
    const QString cache = folder.filePath(QStringLiteral("tool-pictures.png"));
    const QList<QIcon> icons = toolpictures::load(
        {QStringLiteral("format-text-bold"), QStringLiteral("no-such-picture")}, 22, cache);
    QVERIFY(!icons.at(0).isNull());
    QVERIFY(icons.at(1).isNull());
    QVERIFY(!QFile::exists(cache));
}

QTEST_MAIN(TestToolPictures)
#include "tst_toolpictures.moc"
