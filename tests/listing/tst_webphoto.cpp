#include "listing/webphoto.h"

#include <QBuffer>
#include <QImage>
#include <QTest>

namespace {

QByteArray bigEndian(quint32 value, int width) {
    QByteArray bytes;
    for (int i = width - 1; i >= 0; --i)
        bytes += char((value >> (8 * i)) & 0xFF);
    return bytes;
}

QImage picture(int width, int height, bool alpha = false) {
    QImage image(width, height, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgba(x % 256, y % 256, (x + y) % 256, alpha ? 100 : 255));
    }
    return image;
}

QByteArray encoded(const QImage& image, const char* format, int quality = -1) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return bytes;
}

QByteArray segment(int marker, const QByteArray& payload) {
    return QByteArray(1, char(0xFF)) + char(marker) + bigEndian(payload.size() + 2, 2) + payload;
}

/// An EXIF block as a camera writes it: the orientation and where the photo
/// was taken.
QByteArray exif(int orientation) {
    const QByteArray tiff = QByteArray("MM\0*", 4) + bigEndian(8, 4) + bigEndian(1, 2) +
                            bigEndian(0x0112, 2) + bigEndian(3, 2) + bigEndian(1, 4) +
                            bigEndian(orientation, 2) + bigEndian(0, 2) + bigEndian(0, 4);
    return segment(0xE1, QByteArray("Exif\0\0", 6) + tiff + "GPS 48.8566N 2.3522E serial 4711");
}

/// A camera's JPEG: EXIF, an XMP packet, a comment and a second picture
/// after the end, as some phones append.
QByteArray cameraJpeg(const QImage& image, int orientation, int quality = 90) {
    const QByteArray plain = encoded(image, "jpeg", quality);
    const QByteArray metadata =
        exif(orientation) +
        segment(0xE1, QByteArray("http://ns.adobe.com/xap/1.0/\0", 29) + "<x:xmpmeta home/>") +
        segment(0xFE, "Seller's home");
    return plain.left(2) + metadata + plain.mid(2) + encoded(picture(16, 16), "jpeg");
}

QByteArray pngWithText(const QImage& image) {
    QImage withText = image;
    withText.setText(QStringLiteral("Location"), QStringLiteral("Seller's home"));
    return encoded(withText, "png");
}

QImage decoded(const QByteArray& bytes) {
    return QImage::fromData(bytes);
}

} // namespace

class TestWebPhoto : public QObject {
    Q_OBJECT
private slots:
    void preparesForTheWeb_data();
    void preparesForTheWeb();
    void keepsASmallerOriginalWithoutItsMetadata();
    void leavesAGifAsItIs();
    void refusesWhatIsNoPicture_data();
    void refusesWhatIsNoPicture();
};

void TestWebPhoto::preparesForTheWeb_data() {
    QTest::addColumn<QByteArray>("original");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("transparent");

    QTest::newRow("camera jpeg") << cameraJpeg(picture(200, 100), 1) << QByteArray("jpeg")
                                 << QSize(200, 100) << false;
    QTest::newRow("jpeg turned by its orientation")
        << cameraJpeg(picture(40, 20), 6) << QByteArray("jpeg") << QSize(20, 40) << false;
    QTest::newRow("large jpeg") << cameraJpeg(picture(4000, 3000), 1) << QByteArray("jpeg")
                                << QSize(1600, 1200) << false;
    QTest::newRow("tall jpeg, turned")
        << cameraJpeg(picture(5000, 1000), 8) << QByteArray("jpeg") << QSize(320, 1600) << false;
    QTest::newRow("png with text")
        << pngWithText(picture(100, 50, true)) << QByteArray("png") << QSize(100, 50) << true;
    QTest::newRow("large png") << pngWithText(picture(3200, 1000, true)) << QByteArray("png")
                               << QSize(1600, 500) << true;
    QTest::newRow("bmp") << encoded(picture(64, 32), "bmp") << QByteArray("jpeg") << QSize(64, 32)
                         << false;
}

void TestWebPhoto::preparesForTheWeb() {
    QFETCH(QByteArray, original);
    QFETCH(QByteArray, format);
    QFETCH(QSize, size);
    QFETCH(bool, transparent);
    const Result<webphoto::Prepared> prepared = webphoto::prepare(original);
    QVERIFY2(prepared.ok(), qPrintable(prepared.error()));
    QCOMPARE(prepared->format, format);
    QCOMPARE(prepared->size, size);
    const QImage image = decoded(prepared->bytes);
    QCOMPARE(image.size(), size);
    QCOMPARE(image.hasAlphaChannel(), transparent);
    if (transparent)
        QCOMPARE(qAlpha(image.pixel(3, 3)), 100);
    for (const char* told : {"Exif", "GPS", "xmpmeta", "Seller's home", "tEXt", "Location"})
        QVERIFY2(!prepared->bytes.contains(told), told);
    // Nothing follows the picture's end.
    if (format == "jpeg")
        QVERIFY(prepared->bytes.endsWith("\xff\xd9"));
}

void TestWebPhoto::keepsASmallerOriginalWithoutItsMetadata() {
    const QByteArray original = cameraJpeg(picture(300, 200), 1, 20);
    const Result<webphoto::Prepared> prepared = webphoto::prepare(original);
    QVERIFY(prepared.ok());
    const QByteArray plain = encoded(picture(300, 200), "jpeg", 20);
    QCOMPARE(prepared->bytes, plain);
}

void TestWebPhoto::leavesAGifAsItIs() {
    const QByteArray gif =
        QByteArray::fromBase64("R0lGODlhAgACAIAAAP8AAAAA/yH5BAAAAAAALAAAAAACAAIAAAIDRAIFADs=");
    const Result<webphoto::Prepared> prepared = webphoto::prepare(gif);
    QVERIFY2(prepared.ok(), qPrintable(prepared.error()));
    QCOMPARE(prepared->bytes, gif);
    QCOMPARE(prepared->format, QByteArray("gif"));
}

void TestWebPhoto::refusesWhatIsNoPicture_data() {
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray jpeg = encoded(picture(50, 50), "jpeg");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("text") << QByteArray("<html>not found</html>");
    QTest::newRow("cut jpeg header") << jpeg.left(40);
}

void TestWebPhoto::refusesWhatIsNoPicture() {
    QFETCH(QByteArray, bytes);
    const Result<webphoto::Prepared> prepared = webphoto::prepare(bytes);
    QVERIFY(!prepared.ok());
    QVERIFY(prepared.error().startsWith(QStringLiteral("The picture cannot be prepared")));
    QVERIFY(webphoto::withoutJpegMetadata(bytes).isEmpty());
    QVERIFY(webphoto::withoutPngMetadata(bytes).isEmpty());
}

QTEST_MAIN(TestWebPhoto)
#include "tst_webphoto.moc"
