// Local
#include "imagefile/bmp_file.h"
#include "test_support.h"

// Std
#include <bit>

using namespace pelmora;
using namespace pelmora::test;

namespace {

const QString kInvalid = QStringLiteral("ビットマップイメージが不正です");

// A little-endian field of a file.
quint32 le(const QByteArray& b, qsizetype at, int size) {
    quint32 v = 0;
    for (int i = size - 1; i >= 0; --i)
        v = v << 8 | quint8(b[at + i]);
    return v;
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
            const quint32 pixel = bits <= 8 ? (quint8(b[row + bit / 8]) >> (8 - bits - bit % 8)) & ((1 << bits) - 1)
                                            : le(b, row + bit / 8, bits / 8);
            image.setPixel(x, y, bits <= 8 ? le(b, paletteAt + 4 * pixel, 3)
                                           : qRgb(channel(pixel, red), channel(pixel, green), channel(pixel, blue)));
        }
    }
    return image;
}

} // namespace

// The BMP reader against the BMP suite and damaged files, and the writer.
class BmpTest : public QObject {
    Q_OBJECT

private slots:
    // A run-length file is compared with its uncompressed twin.
    void goodSuiteFilesMatchAPlainDecoding() {
        PELMORA_REQUIRE_CORPUS();
        const QDir folder(corpusDir() + QStringLiteral("/bmp/bmpsuite/g"));
        const QStringList names = folder.entryList({QStringLiteral("*.bmp")}, QDir::Files);
        QCOMPARE(names.size(), 19);
        for (const QString& name : names) {
            const QByteArray bytes = fileBytes(folder.filePath(name));
            const QByteArray plain = fileBytes(folder.filePath(QString(name).remove(QStringLiteral("rle"))));
            Bitmap picture = decodeBmp(bytes);
            const quint32 bits = le(plain, 28, 2);
            QVERIFY2(picture.format() == (bits == 1 ? QImage::Format_Mono : bits <= 8 ? QImage::Format_Indexed8
                                          : bits == 24 ? QImage::Format_RGB888 : QImage::Format_RGB32), qPrintable(name));
            QVERIFY2(picture == Bitmap(plainDecoding(plain)), qPrintable(name));
            if (plain == bytes)
                continue;
            // The file's own bytes are written until the picture changes.
            const Bitmap copy = picture;
            picture.setPixel(0, 0, picture.pixel(1, 1));
            const QByteArray rewritten = encodeBmp(picture);
            QVERIFY(le(rewritten, 30, 4) == 0 && decodeBmp(rewritten) == picture);
            QCOMPARE(encodeBmp(copy), bytes);
            checkCutsAndDamage(bytes, decodeBmp, kInvalid, true);
        }
    }

    // Every b/ file is refused; a q/ file is either read whole or refused.
    void badAndQuestionableSuiteFiles() {
        PELMORA_REQUIRE_CORPUS();
        for (const QString& kind : {QStringLiteral("b"), QStringLiteral("q")}) {
            const QDir folder(corpusDir() + QStringLiteral("/bmp/bmpsuite/") + kind);
            const QStringList names = folder.entryList({QStringLiteral("*.bmp")}, QDir::Files);
            QCOMPARE(names.size(), kind == QLatin1String("b") ? 14 : 28);
            for (const QString& name : names) {
                const QString error = errorOf([&] {
                    const Bitmap picture = decodeBmp(fileBytes(folder.filePath(name)));
                    QVERIFY2(kind == QLatin1String("q") && picture.width() == 127 && picture.height() == 64,
                             qPrintable(name));
                });
                QVERIFY2(error.isEmpty() || error == kInvalid, qPrintable(name));
            }
        }
    }

    void emptyFileIsAnEmptyPicture() {
        QVERIFY(decodeBmp(QByteArray()).width() == 0 && decodeBmp(QByteArray()).height() == 0);
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
        // Odd widths make every row need padding; a palette of colours from
        // all over the picture makes the indices vary.
        const QImage pattern = patternImage(19, 5);
        QList<QRgb> table;
        for (int i = 0; i < colours; ++i)
            table.append(pattern.pixel(i * 7 % 19, i * 3 % 5));
        const Bitmap original(pattern.convertToFormat(format, table));
        const QByteArray bytes = encodeBmp(original);
        QCOMPARE(le(bytes, 28, 2), quint32(bitsInFile));
        QCOMPARE(le(bytes, 2, 4), quint32(bytes.size()));
        QVERIFY(decodeBmp(bytes).format() == format && decodeBmp(bytes) == original);
        QVERIFY(Bitmap(plainDecoding(bytes)) == original);
        checkCutsAndDamage(bytes, decodeBmp, kInvalid, false);
    }

    // 4 x 2 RLE8, palette red, blue: two blues, a skip by (1, 1), one blue,
    // end. Skipped and unreached pixels take index 0, every time.
    void skippedRunLengthPixelsTakeIndexZero() {
        const QByteArray bytes = QByteArray::fromHex(
            "424d" "48000000" "00000000" "3e000000" "28000000" "04000000" "02000000" "0100" "0800" "01000000"
            "00000000" "00000000" "00000000" "02000000" "00000000" "0000ff00" "ff000000"
            "0201" "00020101" "0101" "0001");
        const QRgb r = qRgb(255, 0, 0), b = qRgb(0, 0, 255);
        const QRgb expected[] = {r, r, r, b, b, b, r, r};
        for (int attempt = 0; attempt < 3; ++attempt)
            QVERIFY(decodeBmp(bytes) == Bitmap(QImage(reinterpret_cast<const uchar*>(expected), 4, 2, QImage::Format_RGB32)));
        // The same bytes declaring 40000 x 40000 would cost 1.6 GB to no purpose.
        QCOMPARE(errorOf([&] { decodeBmp(QByteArray(bytes).replace(18, 8, QByteArray::fromHex("409c0000409c0000"))); }),
                 kInvalid);
    }
};

PELMORA_TEST_GROUP(BmpTest)

#include "bmp_test.moc"
