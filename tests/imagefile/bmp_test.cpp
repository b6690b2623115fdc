// SPDX-License-Identifier: GPL-2.0-or-later
// Local
#include "bmp_file.h"
#include "fill.h"
#include "outline.h"
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

void putField(QByteArray& b, qsizetype at, quint32 v) {
    for (int i = 0; i < 4; ++i, v >>= 8)
        b[at + i] = char(v & 0xFF);
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
            const int bits = int(le(plain, 28, 2));
            QVERIFY2(picture.format() == (bits == 1 ? QImage::Format_Mono : bits <= 8 ? QImage::Format_Indexed8
                                          : QImage::Format_RGB32), qPrintable(name));
            QCOMPARE(picture.bitsPerPixel(), bits == 16 ? 24 : bits);
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

    // Faults in fields that only inform are read past; what cannot be
    // decoded safely is refused.
    void badSuiteFiles_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("opens");
        QTest::newRow("bit count 30000") << "badbitcount" << false;
        QTest::newRow("resolution") << "baddens1" << true;
        QTest::newRow("file size field") << "badfilesize" << true;
        QTest::newRow("palette past the file") << "badpalettesize" << false;
        QTest::newRow("planes") << "badplanes" << false;
        QTest::newRow("rle8 run past a row") << "badrle" << false;
        QTest::newRow("rle4 run past a row") << "badrle4" << false;
        QTest::newRow("rle4 delta past the picture") << "badrle4ter" << false;
        QTest::newRow("rle8 delta past the picture") << "badrlebis" << false;
        QTest::newRow("negative width") << "badwidth" << false;
        QTest::newRow("index past the palette") << "pal8badindex" << true;
        QTest::newRow("3000000 x 2000000") << "reallybig" << false;
        QTest::newRow("no blue mask") << "rgb16-880" << false;
        QTest::newRow("pixels past the file") << "shortfile" << false;
    }
    void badSuiteFiles() {
        PELMORA_REQUIRE_CORPUS();
        QFETCH(QString, name);
        QFETCH(bool, opens);
        const QString folder = corpusDir() + QStringLiteral("/bmp/bmpsuite/");
        const QByteArray bytes = fileBytes(folder + "b/" + name + ".bmp");
        QVERIFY(!bytes.isEmpty());
        Bitmap picture;
        QCOMPARE(errorOf([&] { picture = decodeBmp(bytes); }), opens ? QString() : kInvalid);
        if (!opens)
            return;
        // The good twin of each file that opens differs in the damaged field only.
        QByteArray fixed = bytes;
        putField(fixed, 2, bytes.size());
        putField(fixed, 38, 0);
        putField(fixed, 42, 0);
        const QImage plain = plainDecoding(fixed);
        const bool eightBit = le(bytes, 28, 2) == 8;
        QCOMPARE(picture.width(), 127);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                const bool pastPalette = eightBit
                    && quint8(bytes[le(bytes, 10, 4) + (picture.height() - 1 - y) * 128 + x]) >= le(bytes, 46, 4);
                const QRgb expected = pastPalette ? qRgb(0, 0, 0) : plain.pixel(x, y);
                QCOMPARE(rgbFromColour(picture.pixel(x, y)) & 0xFFFFFFu, expected & 0xFFFFFFu);
            }
    }

    // What Pelmora writes for a picture with no pixels, it reads back as one.
    void emptyPictureIsAnEmptyFile() {
        for (const QSize size : {QSize(0, 0), QSize(0, 5), QSize(7, 0)}) {
            Bitmap picture = Bitmap::white(size.width(), size.height());
            QVERIFY(encodeBmp(picture).isEmpty());
            QVERIFY(decodeBmp(encodeBmp(picture)).isEmpty());
        }
    }

    // The file takes the picture's own format, also after outline and fill,
    // unless a palette lacks the colour painted.
    void writtenFileHasThePicturesFormat_data() {
        QTest::addColumn<QImage::Format>("format");
        QTest::addColumn<int>("colours");
        QTest::addColumn<int>("bits");   // the picture's
        QTest::addColumn<QString>("work");   // "", "fill", "outline", or "fill new" with a colour not in the palette
        QTest::addColumn<int>("bitsInFile");
        QTest::newRow("1-bit") << QImage::Format_Mono << 2 << 1 << "" << 1;
        QTest::newRow("4-bit") << QImage::Format_Indexed8 << 16 << 4 << "" << 4;
        QTest::newRow("8-bit, 16 colours") << QImage::Format_Indexed8 << 16 << 8 << "" << 8;
        QTest::newRow("8-bit") << QImage::Format_Indexed8 << 200 << 8 << "" << 8;
        QTest::newRow("24-bit") << QImage::Format_RGB32 << 0 << 24 << "" << 24;
        QTest::newRow("24-bit held in 24") << QImage::Format_RGB888 << 0 << 24 << "" << 24;
        QTest::newRow("32-bit") << QImage::Format_RGB32 << 0 << 32 << "" << 32;
        QTest::newRow("24-bit filled") << QImage::Format_RGB32 << 0 << 24 << "fill" << 24;
        QTest::newRow("24-bit outlined") << QImage::Format_RGB32 << 0 << 24 << "outline" << 24;
        QTest::newRow("32-bit outlined") << QImage::Format_RGB32 << 0 << 32 << "outline" << 32;
        QTest::newRow("1-bit filled") << QImage::Format_Mono << 2 << 1 << "fill" << 1;
        QTest::newRow("4-bit outlined") << QImage::Format_Indexed8 << 16 << 4 << "outline" << 4;
        QTest::newRow("8-bit filled") << QImage::Format_Indexed8 << 200 << 8 << "fill" << 8;
        QTest::newRow("8-bit outlined") << QImage::Format_Indexed8 << 200 << 8 << "outline" << 8;
        QTest::newRow("8-bit filled, new colour") << QImage::Format_Indexed8 << 200 << 8 << "fill new" << 24;
        QTest::newRow("1-bit outlined, new colour") << QImage::Format_Mono << 2 << 1 << "outline new" << 24;
    }
    void writtenFileHasThePicturesFormat() {
        QFETCH(QImage::Format, format);
        QFETCH(int, colours);
        QFETCH(int, bits);
        QFETCH(QString, work);
        QFETCH(int, bitsInFile);
        // Odd widths make every row need padding; a palette of colours from
        // all over the picture makes the indices vary.
        const QImage pattern = patternImage(19, 5);
        QList<QRgb> table;
        for (int i = 0; i < colours; ++i)
            table.append(pattern.pixel(i * 7 % 19, i * 3 % 5));
        Bitmap picture(pattern.convertToFormat(format, table), bits);
        const Colour paint = colourFromRgb(work.endsWith(QLatin1String("new")) || table.isEmpty()
                                               ? qRgb(1, 2, 3) : table.last());
        if (work.startsWith(QLatin1String("fill")))
            picture = filled(picture, paint);
        else if (work.startsWith(QLatin1String("outline")))
            picture = outlined(picture, paint);
        const QByteArray bytes = encodeBmp(picture);
        QCOMPARE(le(bytes, 28, 2), quint32(bitsInFile));
        QCOMPARE(le(bytes, 2, 4), quint32(bytes.size()));
        QVERIFY(decodeBmp(bytes) == picture);
        QVERIFY(Bitmap(plainDecoding(bytes)) == picture);
        if (work.isEmpty())
            checkCutsAndDamage(bytes, decodeBmp, kInvalid, false);
    }

    // Unchanged 16 and 32-bit files are written as they were: masks, unused
    // bits and fourth bytes included. Once changed, 16-bit pixels cannot
    // hold every colour and widen to 24; 32-bit ones stay 32.
    void unchangedTrueColourFilesKeepTheirBytes_data() {
        QTest::addColumn<int>("bits");
        QTest::addColumn<quint32>("compression");
        QTest::addColumn<int>("bitsOnceChanged");
        QTest::newRow("16-bit 5-5-5") << 16 << 0u << 24;
        QTest::newRow("16-bit 5-6-5 bit fields") << 16 << 3u << 24;
        QTest::newRow("32-bit") << 32 << 0u << 32;
        QTest::newRow("32-bit bit fields") << 32 << 3u << 32;
    }
    void unchangedTrueColourFilesKeepTheirBytes() {
        QFETCH(int, bits);
        QFETCH(quint32, compression);
        QFETCH(int, bitsOnceChanged);
        const int width = 5, height = 3;
        const int masks = compression == 3 ? 12 : 0;
        const int rowBytes = (width * bits + 31) / 32 * 4;
        QByteArray file(54 + masks + rowBytes * height, '\0');
        file[0] = 'B';
        file[1] = 'M';
        putField(file, 2, quint32(file.size()));
        putField(file, 10, quint32(54 + masks));
        putField(file, 14, 40);
        putField(file, 18, width);
        putField(file, 22, height);
        putField(file, 26, quint32(bits) << 16 | 1);
        putField(file, 30, compression);
        const quint32 fields[2][3] = {{0xF800, 0x07E0, 0x001F}, {0xFF0000, 0x00FF00, 0x0000FF}};
        for (int i = 0; masks && i < 3; ++i)
            putField(file, 54 + 4 * i, fields[bits == 32][i]);
        // Every pixel byte differs, unused bits and fourth bytes too.
        for (int i = 54 + masks; i < file.size(); ++i)
            file[i] = char(i * 37 + 11);
        Bitmap picture = decodeBmp(file);
        QCOMPARE(encodeBmp(picture), file);
        QCOMPARE(encodeBmp(Bitmap(picture)), file);
        picture = filled(picture, colourFromRgb(qRgb(0, 0, 0)));
        const QByteArray changed = encodeBmp(picture);
        QCOMPARE(int(le(changed, 28, 2)), bitsOnceChanged);
        QVERIFY(decodeBmp(changed) == picture);
    }

    // Other readers pass over fields that only inform; so does this one.
    void fieldsThatOnlyInformAreNotChecked_data() {
        QTest::addColumn<int>("at");
        QTest::addColumn<quint32>("value");
        QTest::newRow("file size 2 bytes over") << 2 << 0u;
        QTest::newRow("file size huge") << 2 << 0x7DDDDDDDu;
        QTest::newRow("image size wrong") << 34 << 12345u;
        QTest::newRow("negative resolution") << 38 << 0xFFFFFF00u;
        QTest::newRow("huge resolution") << 42 << 0x7FFFFFFFu;
    }
    void fieldsThatOnlyInformAreNotChecked() {
        QFETCH(int, at);
        QFETCH(quint32, value);
        const Bitmap picture(patternImage(19, 5));
        QByteArray bytes = encodeBmp(picture);
        putField(bytes, at, at == 2 && value == 0 ? quint32(bytes.size() + 2) : value);
        QVERIFY(decodeBmp(bytes) == picture);
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
