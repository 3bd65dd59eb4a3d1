#include "document/documenttools.h"
#include "document/toolpictures.h"
#include "editor/edactionlist.h"
#include "editor/edfilecommands.h"
#include "editor/tdoceditor.h"
#include "editor/tedaction.h"
#include "supportui/darkpalette.h"
#include "supportui/scripteddialogs.h"

#include <QApplication>
#include <QFile>
#include <QPalette>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

namespace {

const QStringList pictures = {QStringLiteral("format-text-bold"), QStringLiteral("overline"),
                              QStringLiteral("edit-undo")};

QImage shown(const QIcon& icon) {
    return icon.pixmap(22).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

/// The mean lightness of the drawn (not transparent) pixels.
int drawnLightness(const QImage& image) {
    qint64 sum = 0;
    qint64 count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.alpha() < 128)
                continue;
            sum += pixel.lightness();
            ++count;
        }
    }
    return count ? int(sum / count) : -1;
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
    void pictureIsDrawnForThePixelRatio_data();
    void pictureIsDrawnForThePixelRatio();
    void picturesFollowThePalette_data();
    void picturesFollowThePalette();
    void panelFollowsAPaletteChange();
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

void TestToolPictures::pictureIsDrawnForThePixelRatio_data() {
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("1x") << 1.0;
    QTest::newRow("1.5x") << 1.5;
    QTest::newRow("2x") << 2.0;
}

void TestToolPictures::pictureIsDrawnForThePixelRatio() {
    QFETCH(qreal, ratio);
    const QString name = QStringLiteral("format-text-bold");
    const int pixels = int(std::ceil(22 * ratio));
    QTemporaryDir folder;
    const QString cache = folder.filePath(QStringLiteral("tool-pictures.png"));
    // Drawn, then read back from the cache: both at the ratio's pixels.
    for (int pass = 0; pass < 2; ++pass) {
        const QList<QIcon> icons = toolpictures::load({name}, 22, ratio, cache);
        const QPixmap picture = icons.at(0).pixmap(QSize(22, 22), ratio);
        QCOMPARE(picture.devicePixelRatio(), ratio);
        QCOMPARE(picture.size(), QSize(pixels, pixels));
        // The whole cell holds the theme's picture, not a corner of it.
        const QImage theme = QIcon::fromTheme(name)
                                 .pixmap(QSize(22, 22), ratio)
                                 .toImage()
                                 .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(theme.size(), QSize(pixels, pixels));
        QCOMPARE(picture.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied), theme);
    }
}

void TestToolPictures::picturesFollowThePalette_data() {
    QTest::addColumn<bool>("dark");
    QTest::newRow("light window: dark pictures") << false;
    QTest::newRow("dark window: light pictures") << true;
}

void TestToolPictures::picturesFollowThePalette() {
    QFETCH(bool, dark);
    const QPalette before = QApplication::palette();
    QApplication::setPalette(dark ? darkPalette() : QApplication::style()->standardPalette());
    useToolIconTheme();
    QTemporaryDir folder;
    const QList<QIcon> icons =
        toolpictures::load({QStringLiteral("edit-cut")}, 22, 1.0,
                           folder.filePath(QStringLiteral("tool-pictures.png")));
    QApplication::setPalette(before);
    useToolIconTheme();
    const int lightness = drawnLightness(shown(icons.at(0)));
    QVERIFY2(lightness >= 0, "nothing drawn");
    if (dark)
        QVERIFY2(lightness > 160, qPrintable(QString::number(lightness)));
    else
        QVERIFY2(lightness < 96, qPrintable(QString::number(lightness)));
}

void TestToolPictures::panelFollowsAPaletteChange() {
    const QPalette before = QApplication::palette();
    QApplication::setPalette(QApplication::style()->standardPalette());
    ScriptedDialogs dialogs;
    TDocEditor editor(dialogs);
    EdFileCommands files(editor);
    EdActionList actions(editor, files);
    QWidget page; // the panel sits in the Document page
    auto* tools = new DocumentTools(actions, &page);
    auto* cut = tools->findChild<QToolButton*>(QStringLiteral("tobCut"));
    QVERIFY(cut);
    QVERIFY(drawnLightness(shown(cut->icon())) < 96);

    // The desktop turns dark while the program runs.
    QApplication::setPalette(darkPalette());
    QCoreApplication::sendPostedEvents();
    const int button = drawnLightness(shown(cut->icon()));
    const int action = drawnLightness(shown(actions.action(u"edActionCut1")->icon()));
    QApplication::setPalette(before);
    useToolIconTheme();
    QVERIFY2(button > 160, qPrintable(QString::number(button)));
    QVERIFY2(action > 160, qPrintable(QString::number(action)));
}

QTEST_MAIN(TestToolPictures)
#include "tst_toolpictures.moc"
