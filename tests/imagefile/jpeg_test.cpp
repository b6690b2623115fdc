// Qt
#include <QRegularExpression>
#include <QTest>

// Local
#include "imagefile/jpeg_file.h"
#include "test_support.h"

// Std
#include <cstdio>

// libjpeg (after <cstdio>, which it needs)
#include <jerror.h>
#include <jpeglib.h>

using namespace pelmora;
using namespace pelmora::test;

namespace {

// A smooth picture, as photographs are, with a sharp edge through it.
QImage smoothImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, x < width / 2 ? qRgb(4 * x, 3 * y, 200) : qRgb(230, 40 + y, 255 - 2 * x));
    return image;
}

double meanError(const Bitmap& a, const Bitmap& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = rgbFromColour(a.pixel(x, y)), q = rgbFromColour(b.pixel(x, y));
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

Bitmap corpusJpeg(const QString& name) {
    return decodeJpeg(fileBytes(corpusDir() + QStringLiteral("/jpeg/") + name));
}

} // namespace

// The libjpeg reader and writer.
class JpegTest : public QObject {
    Q_OBJECT

private slots:
    void qualityNinetyRoundTrip_data() {
        QTest::addColumn<QImage::Format>("format");
        QTest::newRow("32-bit") << QImage::Format_RGB32;
        QTest::newRow("24-bit") << QImage::Format_RGB888;
        QTest::newRow("8-bit palette") << QImage::Format_Indexed8;
    }
    void qualityNinetyRoundTrip() {
        QFETCH(QImage::Format, format);
        const Bitmap original(smoothImage(64, 48).convertToFormat(format, Qt::ThresholdDither));
        const QByteArray bytes = encodeJpeg(original, 90);
        const Bitmap back = decodeJpeg(bytes);
        QCOMPARE(back.width(), 64);
        QCOMPARE(back.height(), 48);
        QCOMPARE(back.format(), QImage::Format_RGB888);
        QVERIFY2(meanError(original, back) < 3.5, qPrintable(QString::number(meanError(original, back))));
        // A baseline frame of three components, and no progressive one.
        const qsizetype frame = bytes.indexOf(QByteArray::fromHex("ffc0"));
        QVERIFY(frame > 0);
        QCOMPARE(quint8(bytes[frame + 9]), quint8(3));
        QVERIFY(!bytes.contains(QByteArray::fromHex("ffc2")));
        // The first luminance step of the standard table, 16, at quality 90:
        // scale 200 - 2 * 90 = 20 percent, (16 * 20 + 50) / 100 = 3.
        const qsizetype table = bytes.indexOf(QByteArray::fromHex("ffdb"));
        QVERIFY(table > 0);
        QCOMPARE(quint8(bytes[table + 4]), quint8(0));   // 8-bit table number 0
        QCOMPARE(quint8(bytes[table + 5]), quint8(3));
    }

    void corpusFilesOpen_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QImage::Format>("format");
        QTest::newRow("baseline") << "libjpeg-turbo/testorig.jpg" << 227 << 149 << QImage::Format_RGB888;
        QTest::newRow("progressive") << "image-rs/progressive_3.jpg" << 650 << 470 << QImage::Format_RGB888;
        QTest::newRow("grey") << "pillow/hopper_gray.jpg" << 128 << 128 << QImage::Format_Indexed8;
        QTest::newRow("cmyk") << "pillow/pil_sample_cmyk.jpg" << 100 << 100 << QImage::Format_RGB888;
        QTest::newRow("16-bit tables") << "pillow/hopper_16bit_qtables.jpg" << 128 << 128 << QImage::Format_RGB888;
        QTest::newRow("junk before a marker") << "pillow/junk_jpeg_header.jpg" << 1024 << 768 << QImage::Format_RGB888;
        QTest::newRow("no end marker") << "pillow/truncated_jpeg.jpg" << 100 << 100 << QImage::Format_RGB888;
    }
    void corpusFilesOpen() {
        PELMORA_REQUIRE_CORPUS();
        QFETCH(QString, name);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QImage::Format, format);
        const Bitmap picture = corpusJpeg(name);
        QCOMPARE(picture.width(), width);
        QCOMPARE(picture.height(), height);
        QCOMPARE(picture.format(), format);
        if (format == QImage::Format_Indexed8) {
            QCOMPARE(picture.image().colorCount(), 256);
            for (int i = 0; i < 256; ++i)
                QCOMPARE(picture.image().color(i), qRgb(i, i, i));
        }
    }

    void cmykMatchesItsRgbTwin() {
        PELMORA_REQUIRE_CORPUS();
        const Bitmap cmyk = corpusJpeg(QStringLiteral("pillow/pil_sample_cmyk.jpg"));
        const Bitmap rgb = corpusJpeg(QStringLiteral("pillow/pil_sample_rgb.jpg"));
        // Inverted (Adobe) ink read the wrong way round would be far off.
        QVERIFY2(meanError(cmyk, rgb) < 12, qPrintable(QString::number(meanError(cmyk, rgb))));
    }

    void damagedFilesGiveLibjpegsCodeAndNeverCrash() {
        const QString text = QStringLiteral("JPEG エラー #%1");
        QCOMPARE(errorOf([] { decodeJpeg(QByteArray()); }), text.arg(JERR_INPUT_EMPTY));
        QCOMPARE(errorOf([] { decodeJpeg(QByteArray("BM\x10\0\0\0", 6)); }), text.arg(JERR_NO_SOI));
        const QByteArray whole = encodeJpeg(Bitmap(smoothImage(40, 24)), 90);
        const QRegularExpression jpegError(QStringLiteral("^JPEG エラー #\\d+$"));
        // A damaged frame header may say another size; a cut file keeps its own.
        const auto check = [&](const QByteArray& bytes, bool sizeKept) {
            try {
                const Bitmap picture = decodeJpeg(bytes);
                QVERIFY(!sizeKept || (picture.width() == 40 && picture.height() == 24));
            } catch (const PelmoraError& e) {
                QVERIFY2(jpegError.match(e.text()).hasMatch(), qPrintable(e.text()));
            }
        };
        // A frame header declaring 60000 x 60000 in a file of a few hundred
        // bytes would take half a minute and 10 GB to paint grey.
        QByteArray huge = whole;
        const qsizetype frame = huge.indexOf("\xff\xc0");
        huge.replace(frame + 5, 4, QByteArray::fromHex("ea60ea60"));
        QCOMPARE(errorOf([&] { decodeJpeg(huge); }), text.arg(JERR_IMAGE_TOO_BIG));
        for (qsizetype length = 0; length < whole.size(); ++length)
            check(whole.left(length), true);
        for (qsizetype at = 0; at < whole.size(); ++at)
            for (char value : {'\x00', '\xff', '\x5a'}) {
                QByteArray damaged = whole;
                damaged[at] = value;
                check(damaged, false);
            }
    }
};

PELMORA_TEST_GROUP(JpegTest)

#include "jpeg_test.moc"
