// Qt
#include <QTest>
#include <QtEndian>

// Local
#include "imagefile/bmp_file.h"
#include "imagefile/open_picture.h"
#include "test_support.h"

// Std
#include <bit>

using namespace pelmora;
using namespace pelmora::test;

namespace {

const QString kInvalid = QStringLiteral("ビットマップイメージが不正です");

QString suiteFile(const QString& name) {
    return corpusDir() + QStringLiteral("/bmp/bmpsuite/") + name;
}

// A mask's channel scaled to 0..255.
int channel(quint32 pixel, quint32 mask) {
    if (mask == 0)
        return 0;
    const quint32 max = mask >> std::countr_zero(mask);
    return int((((pixel & mask) >> std::countr_zero(mask)) * 255 + max / 2) / max);
}

// The format transcribed plainly for uncompressed files with a 40, 108 or
// 124-byte header: rows bottom-up (or top-down for a negative height), each
// padded to 4 bytes; palette entries blue, green, red, reserved.
QImage plainDecoding(const QByteArray& b) {
    const int width = int(le(b, 18, 4)), signedHeight = int(le(b, 22, 4)), height = std::abs(signedHeight);
    const int bits = int(le(b, 28, 2));
    const quint32 headerSize = le(b, 14, 4), compression = le(b, 30, 4), offset = le(b, 10, 4);
    const bool wide = bits == 24 || bits == 32;
    const quint32 red = compression == 3 ? le(b, 54, 4) : wide ? 0xFF0000 : 0x7C00;
    const quint32 green = compression == 3 ? le(b, 58, 4) : wide ? 0x00FF00 : 0x03E0;
    const quint32 blue = compression == 3 ? le(b, 62, 4) : wide ? 0x0000FF : 0x001F;
    const qsizetype paletteAt = 14 + headerSize + (compression == 3 && headerSize == 40 ? 12 : 0);
    const qsizetype rowBytes = (qsizetype(width) * bits + 31) / 32 * 4;
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const qsizetype row = offset + rowBytes * (signedHeight < 0 ? y : height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const qsizetype bit = qsizetype(x) * bits;
            if (bits <= 8) {
                const int index = (quint8(b[row + bit / 8]) >> (8 - bits - bit % 8)) & ((1 << bits) - 1);
                const qsizetype entry = paletteAt + 4 * index;
                image.setPixel(x, y, qRgb(quint8(b[entry + 2]), quint8(b[entry + 1]), quint8(b[entry])));
            } else {
                const quint32 pixel = le(b, row + bit / 8, bits / 8);
                image.setPixel(x, y, qRgb(channel(pixel, red), channel(pixel, green), channel(pixel, blue)));
            }
        }
    }
    return image;
}

// The format a picture of a file with these bits per pixel keeps.
QImage::Format keptFormat(int bits) {
    return bits == 1 ? QImage::Format_Mono
         : bits <= 8 ? QImage::Format_Indexed8
         : bits == 24 ? QImage::Format_RGB888 : QImage::Format_RGB32;
}

// Every cut of a whole file is refused, but a run-length stream may stop
// early: the rest of the picture is then left unpainted.
void checkEveryCut(const QByteArray& whole, bool runLength) {
    const Bitmap full = decodeBmp(whole);
    for (qsizetype length = 1; length < whole.size(); ++length) {
        try {
            const Bitmap picture = decodeBmp(whole.left(length));
            QVERIFY2(runLength && picture.width() == full.width() && picture.height() == full.height(),
                     qPrintable(QString::number(length)));
        } catch (const PelmoraError& e) {
            QCOMPARE(e.text(), kInvalid);
        }
    }
}

} // namespace

// The BMP reader against the BMP suite and damaged files, and the writer.
class BmpTest : public QObject {
    Q_OBJECT

private slots:
    // A run-length file is compared with its uncompressed twin.
    void goodSuiteFilesMatchAPlainDecoding() {
        PELMORA_REQUIRE_CORPUS();
        const QDir folder(suiteFile(QStringLiteral("g")));
        const QStringList names = folder.entryList({QStringLiteral("*.bmp")}, QDir::Files);
        QCOMPARE(names.size(), 19);
        for (const QString& name : names) {
            const QByteArray bytes = fileBytes(folder.filePath(name));
            const QByteArray plain = fileBytes(folder.filePath(QString(name).remove(QStringLiteral("rle"))));
            Bitmap picture = decodeBmp(bytes);
            QVERIFY2(picture.format() == keptFormat(int(le(plain, 28, 2))), qPrintable(name));
            QVERIFY2(picture == Bitmap(plainDecoding(plain)), qPrintable(name));
            if (plain == bytes)
                continue;
            // The file's own bytes are written until the picture changes.
            QCOMPARE(encodeBmp(picture), bytes);
            const Bitmap copy = picture;
            picture.setPixel(0, 0, picture.pixel(1, 1));
            const QByteArray rewritten = encodeBmp(picture);
            QCOMPARE(le(rewritten, 30, 4), 0u);
            QVERIFY(decodeBmp(rewritten) == picture);
            QCOMPARE(encodeBmp(copy), bytes);
            checkEveryCut(bytes, true);
        }
    }

    // Every b/ file is refused; a q/ file is either read whole or refused.
    void badAndQuestionableSuiteFiles() {
        PELMORA_REQUIRE_CORPUS();
        for (const QString& kind : {QStringLiteral("b"), QStringLiteral("q")}) {
            const QDir folder(suiteFile(kind));
            const QStringList names = folder.entryList({QStringLiteral("*.bmp")}, QDir::Files);
            QCOMPARE(names.size(), kind == QLatin1String("b") ? 14 : 28);
            for (const QString& name : names) {
                try {
                    const Bitmap picture = decodeBmp(fileBytes(folder.filePath(name)));
                    QVERIFY2(kind == QLatin1String("q") && picture.width() == 127 && picture.height() == 64,
                             qPrintable(name));
                } catch (const PelmoraError& e) {
                    QVERIFY2(e.text() == kInvalid, qPrintable(name));
                }
            }
        }
    }

    void emptyFileIsAnEmptyPicture() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("empty.bmp"));
        QVERIFY(writeBytes(path, QByteArray()));
        const Bitmap picture = importPicture(path, PictureKind::Bitmap);
        QVERIFY(picture.width() == 0 && picture.height() == 0);
    }

    void roundTripKeepsFormatAndPixels_data() {
        QTest::addColumn<QImage::Format>("format");
        QTest::addColumn<int>("colours");
        QTest::addColumn<int>("bitsInFile");
        QTest::newRow("1-bit") << QImage::Format_Mono << 2 << 1;
        QTest::newRow("4-bit palette") << QImage::Format_Indexed8 << 16 << 4;
        QTest::newRow("8-bit palette") << QImage::Format_Indexed8 << 200 << 8;
        QTest::newRow("24-bit") << QImage::Format_RGB888 << 0 << 24;
        QTest::newRow("32-bit") << QImage::Format_RGB32 << 0 << 32;
    }
    void roundTripKeepsFormatAndPixels() {
        QFETCH(QImage::Format, format);
        QFETCH(int, colours);
        QFETCH(int, bitsInFile);
        QList<QRgb> table;
        for (int i = 0; i < colours; ++i)
            table.append(qRgb(i * 7 % 256, 255 - i, i * 3 % 256));
        // Odd widths make every row need padding.
        const QImage pattern = patternImage(19, 5);
        const QImage image = colours > 0 ? pattern.convertToFormat(format, table) : pattern.convertToFormat(format);
        const Bitmap original(image);
        const QByteArray bytes = encodeBmp(original);
        QCOMPARE(le(bytes, 28, 2), quint32(bitsInFile));
        QCOMPARE(le(bytes, 30, 4), 0u);   // uncompressed
        QCOMPARE(le(bytes, 2, 4), quint32(bytes.size()));
        const Bitmap back = decodeBmp(bytes);
        QCOMPARE(back.format(), format);
        QVERIFY(back == original);
        QVERIFY(Bitmap(plainDecoding(bytes)) == original);
        checkEveryCut(bytes, false);
    }

    // 4 x 2 RLE8, palette red, blue: two blues, a skip by (1, 1), one blue,
    // end. Skipped and unreached pixels take index 0, every time.
    void skippedRunLengthPixelsTakeIndexZero() {
        const QByteArray bytes = QByteArray::fromHex(
            "424d" "48000000" "00000000" "3e000000" "28000000" "04000000" "02000000" "0100" "0800" "01000000"
            "00000000" "00000000" "00000000" "02000000" "00000000" "0000ff00" "ff000000"
            "0201" "00020101" "0101" "0001");
        const Colour r = 0x0000FF, b = 0xFF0000;
        const Colour expected[2][4] = {{r, r, r, b}, {b, b, r, r}};
        for (int attempt = 0; attempt < 3; ++attempt) {
            const Bitmap picture = decodeBmp(bytes);
            for (int y = 0; y < 2; ++y)
                for (int x = 0; x < 4; ++x)
                    QCOMPARE(picture.pixel(x, y), expected[y][x]);
        }
        // The same bytes declaring 40000 x 40000 would cost 1.6 GB to no purpose.
        QByteArray huge = bytes;
        const qint32 side = qToLittleEndian(40000);
        huge.replace(18, 4, reinterpret_cast<const char*>(&side), 4);
        huge.replace(22, 4, reinterpret_cast<const char*>(&side), 4);
        QCOMPARE(errorOf([&] { decodeBmp(huge); }), QStringLiteral("ビットマップイメージが不正です"));
    }
};

PELMORA_TEST_GROUP(BmpTest)

#include "bmp_test.moc"
