// Qt
#include <QTest>

// Local
#include "test_runners.h"
#include "imagefile/bmp_file.h"
#include "imagefile/open_picture.h"
#include "imageops/pelmora_error.h"
#include "test_support.h"

// Std
#include <bit>

using namespace pelmora;
using namespace pelmora::test;

// The BMP reader against the BMP suite and damaged files, and the writer's
// round trips.
class BmpTest : public QObject {
    Q_OBJECT

private slots:
    void goodSuiteFilesMatchAPlainDecoding_data();
    void goodSuiteFilesMatchAPlainDecoding();
    void runLengthFilesMatchTheirPlainTwins_data();
    void runLengthFilesMatchTheirPlainTwins();
    void badSuiteFilesAreRefused_data();
    void badSuiteFilesAreRefused();
    void questionableFilesOpenOrAreRefusedCleanly();
    void everyTruncationIsRefusedOrWhole_data();
    void everyTruncationIsRefusedOrWhole();
    void emptyFileIsAnEmptyPicture();
    void roundTripKeepsFormatAndPixels_data();
    void roundTripKeepsFormatAndPixels();
    void compressedBytesAreWrittenUntilTheFirstChange();
    void skippedRunLengthPixelsTakeIndexZero();
};

namespace {

const QString kInvalid = QStringLiteral("ビットマップイメージが不正です");

QString suiteFile(const QString& name) {
    return corpusDir() + QStringLiteral("/bmp/bmpsuite/") + name;
}

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
    const quint32 v = (pixel & mask) >> std::countr_zero(mask);
    return int((v * 255 + max / 2) / max);
}

// The format transcribed plainly for uncompressed files with a 40, 108 or
// 124-byte header: rows bottom-up (or top-down for a negative height), each
// padded to 4 bytes; palette entries blue, green, red, reserved.
QImage plainDecoding(const QByteArray& b) {
    const quint32 headerSize = le(b, 14, 4);
    const int width = int(le(b, 18, 4));
    const int signedHeight = int(le(b, 22, 4));
    const int height = std::abs(signedHeight);
    const int bits = int(le(b, 28, 2));
    const quint32 compression = le(b, 30, 4);
    const quint32 offset = le(b, 10, 4);
    quint32 red = 0x7C00, green = 0x03E0, blue = 0x001F;
    if (bits == 24 || bits == 32) {
        red = 0xFF0000;
        green = 0x00FF00;
        blue = 0x0000FF;
    }
    if (compression == 3) {
        red = le(b, 54, 4);
        green = le(b, 58, 4);
        blue = le(b, 62, 4);
    }
    const qsizetype paletteAt = 14 + headerSize + (compression == 3 && headerSize == 40 ? 12 : 0);
    const qsizetype rowBytes = (qsizetype(width) * bits + 31) / 32 * 4;
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const qsizetype row = offset + rowBytes * (signedHeight < 0 ? y : height - 1 - y);
        for (int x = 0; x < width; ++x) {
            QRgb rgb = 0;
            if (bits <= 8) {
                const qsizetype bit = qsizetype(x) * bits;
                const int index = (quint8(b[row + bit / 8]) >> (8 - bits - bit % 8)) & ((1 << bits) - 1);
                const qsizetype entry = paletteAt + 4 * index;
                rgb = qRgb(quint8(b[entry + 2]), quint8(b[entry + 1]), quint8(b[entry]));
            } else {
                const quint32 pixel = le(b, row + qsizetype(x) * bits / 8, bits / 8);
                rgb = qRgb(channel(pixel, red), channel(pixel, green), channel(pixel, blue));
            }
            image.setPixel(x, y, rgb);
        }
    }
    return image;
}

QString refusalOf(const QByteArray& bytes) {
    try {
        decodeBmp(bytes);
    } catch (const PelmoraError& e) {
        return e.text();
    }
    return QString();
}

} // namespace

void BmpTest::goodSuiteFilesMatchAPlainDecoding_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QImage::Format>("format");
    const auto row = [](const char* name, int w, int h, QImage::Format f) {
        QTest::newRow(name) << QString::fromLatin1(name) << w << h << f;
    };
    row("pal1.bmp", 127, 64, QImage::Format_Mono);
    row("pal1wb.bmp", 127, 64, QImage::Format_Mono);
    row("pal4.bmp", 127, 64, QImage::Format_Indexed8);
    row("pal8.bmp", 127, 64, QImage::Format_Indexed8);
    row("pal8gs.bmp", 127, 64, QImage::Format_Indexed8);
    row("pal8nonsquare.bmp", 127, 32, QImage::Format_Indexed8);
    row("pal8v4.bmp", 127, 64, QImage::Format_Indexed8);
    row("pal8v5.bmp", 127, 64, QImage::Format_Indexed8);
    row("pal8w124.bmp", 124, 61, QImage::Format_Indexed8);
    row("pal8w126.bmp", 126, 63, QImage::Format_Indexed8);
    // Five and six-bit channels are widened so that full stays full.
    row("rgb16.bmp", 127, 64, QImage::Format_RGB32);
    row("rgb16-565.bmp", 127, 64, QImage::Format_RGB32);
    row("rgb16-565pal.bmp", 127, 64, QImage::Format_RGB32);
    row("rgb24.bmp", 127, 64, QImage::Format_RGB888);
    row("rgb24pal.bmp", 127, 64, QImage::Format_RGB888);
    row("rgb32.bmp", 127, 64, QImage::Format_RGB32);
    row("rgb32bf.bmp", 127, 64, QImage::Format_RGB32);
}

void BmpTest::goodSuiteFilesMatchAPlainDecoding() {
    PELMORA_REQUIRE_CORPUS();
    QFETCH(QString, name);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QImage::Format, format);
    const QByteArray bytes = fileBytes(suiteFile(QStringLiteral("g/") + name));
    const Bitmap picture = decodeBmp(bytes);
    QCOMPARE(picture.width(), width);
    QCOMPARE(picture.height(), height);
    QCOMPARE(picture.format(), format);
    const QImage expected = plainDecoding(bytes);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const QRgb want = expected.pixel(x, y);
            const QRgb got = rgbFromColour(picture.pixel(x, y));
            if (got != want)
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2): %3 instead of %4")
                                     .arg(x).arg(y).arg(got, 8, 16).arg(want, 8, 16)));
        }
}

void BmpTest::runLengthFilesMatchTheirPlainTwins_data() {
    QTest::addColumn<QString>("compressed");
    QTest::addColumn<QString>("plain");
    QTest::newRow("rle4") << "pal4rle.bmp" << "pal4.bmp";
    QTest::newRow("rle8") << "pal8rle.bmp" << "pal8.bmp";
}

void BmpTest::runLengthFilesMatchTheirPlainTwins() {
    PELMORA_REQUIRE_CORPUS();
    QFETCH(QString, compressed);
    QFETCH(QString, plain);
    const QByteArray bytes = fileBytes(suiteFile(QStringLiteral("g/") + compressed));
    const Bitmap picture = decodeBmp(bytes);
    QCOMPARE(picture.format(), QImage::Format_Indexed8);
    QVERIFY(picture == Bitmap(plainDecoding(fileBytes(suiteFile(QStringLiteral("g/") + plain)))));
    QCOMPARE(picture.compressedFileBytes(), bytes);
}

void BmpTest::badSuiteFilesAreRefused_data() {
    QTest::addColumn<QString>("name");
    for (const char* name : {"badbitcount", "baddens1", "badfilesize", "badpalettesize", "badplanes", "badrle",
                             "badrle4", "badrle4ter", "badrlebis", "badwidth", "pal8badindex", "reallybig",
                             "rgb16-880", "shortfile"})
        QTest::newRow(name) << QStringLiteral("b/%1.bmp").arg(QLatin1String(name));
}

void BmpTest::badSuiteFilesAreRefused() {
    PELMORA_REQUIRE_CORPUS();
    QFETCH(QString, name);
    const QByteArray bytes = fileBytes(suiteFile(name));
    QVERIFY(!bytes.isEmpty());
    QCOMPARE(refusalOf(bytes), kInvalid);
}

void BmpTest::questionableFilesOpenOrAreRefusedCleanly() {
    PELMORA_REQUIRE_CORPUS();
    const QDir folder(suiteFile(QStringLiteral("q")));
    const QStringList names = folder.entryList({QStringLiteral("*.bmp")}, QDir::Files);
    QVERIFY(!names.isEmpty());
    for (const QString& name : names) {
        const QByteArray bytes = fileBytes(folder.filePath(name));
        try {
            const Bitmap picture = decodeBmp(bytes);
            QVERIFY2(picture.width() == 127 && picture.height() == 64, qPrintable(name));
        } catch (const PelmoraError& e) {
            QVERIFY2(e.text() == kInvalid, qPrintable(name));
        }
    }
}

void BmpTest::everyTruncationIsRefusedOrWhole_data() {
    QTest::addColumn<QImage::Format>("format");
    QTest::addColumn<bool>("runLength");
    QTest::newRow("1-bit") << QImage::Format_Mono << false;
    QTest::newRow("8-bit") << QImage::Format_Indexed8 << false;
    QTest::newRow("24-bit") << QImage::Format_RGB888 << false;
    QTest::newRow("32-bit") << QImage::Format_RGB32 << false;
    QTest::newRow("rle8 from the corpus") << QImage::Format_Indexed8 << true;
}

void BmpTest::everyTruncationIsRefusedOrWhole() {
    QFETCH(QImage::Format, format);
    QFETCH(bool, runLength);
    QByteArray whole;
    if (runLength) {
        PELMORA_REQUIRE_CORPUS();
        whole = fileBytes(suiteFile(QStringLiteral("g/pal8rle.bmp")));
    } else {
        whole = encodeBmp(Bitmap(patternImage(13, 7).convertToFormat(format)));
    }
    const Bitmap full = decodeBmp(whole);
    for (qsizetype length = 1; length < whole.size(); ++length) {
        const QByteArray part = whole.left(length);
        try {
            const Bitmap picture = decodeBmp(part);
            // A run-length stream may stop early: the rest is left unpainted.
            QVERIFY2(runLength, qPrintable(QString::number(length)));
            QCOMPARE(picture.width(), full.width());
            QCOMPARE(picture.height(), full.height());
        } catch (const PelmoraError& e) {
            QCOMPARE(e.text(), kInvalid);
        }
    }
}

void BmpTest::emptyFileIsAnEmptyPicture() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("empty.bmp"));
    QVERIFY(writeBytes(path, QByteArray()));
    const Bitmap picture = importPicture(path, PictureKind::Bitmap);
    QCOMPARE(picture.width(), 0);
    QCOMPARE(picture.height(), 0);
}

void BmpTest::roundTripKeepsFormatAndPixels_data() {
    QTest::addColumn<QImage::Format>("format");
    QTest::addColumn<int>("colours");
    QTest::addColumn<int>("bitsInFile");
    QTest::newRow("1-bit") << QImage::Format_Mono << 2 << 1;
    QTest::newRow("4-bit palette") << QImage::Format_Indexed8 << 16 << 4;
    QTest::newRow("8-bit palette") << QImage::Format_Indexed8 << 200 << 8;
    QTest::newRow("24-bit") << QImage::Format_RGB888 << 0 << 24;
    QTest::newRow("32-bit") << QImage::Format_RGB32 << 0 << 32;
}

void BmpTest::roundTripKeepsFormatAndPixels() {
    QFETCH(QImage::Format, format);
    QFETCH(int, colours);
    QFETCH(int, bitsInFile);
    // Odd widths make every row need padding.
    QImage image = patternImage(19, 5);
    if (colours > 0) {
        QImage indexed(19, 5, format);
        QList<QRgb> table;
        for (int i = 0; i < colours; ++i)
            table.append(qRgb(i * 7 % 256, 255 - i, i * 3 % 256));
        indexed.setColorTable(table);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 19; ++x)
                indexed.setPixel(x, y, uint((x * 5 + y * 3) % colours));
        image = indexed;
    } else {
        image = image.convertToFormat(format);
    }
    const Bitmap original(image);
    const QByteArray bytes = encodeBmp(original);
    QCOMPARE(le(bytes, 28, 2), quint32(bitsInFile));
    QCOMPARE(le(bytes, 30, 4), 0u);   // uncompressed
    QCOMPARE(le(bytes, 2, 4), quint32(bytes.size()));
    const Bitmap back = decodeBmp(bytes);
    QCOMPARE(back.format(), format);
    QVERIFY(back == original);
    // The plain decoding reads the same file the same way.
    QVERIFY(Bitmap(plainDecoding(bytes)) == original);
}

void BmpTest::compressedBytesAreWrittenUntilTheFirstChange() {
    PELMORA_REQUIRE_CORPUS();
    const QByteArray bytes = fileBytes(suiteFile(QStringLiteral("g/pal4rle.bmp")));
    Bitmap picture = decodeBmp(bytes);
    QCOMPARE(encodeBmp(picture), bytes);
    const Bitmap copy = picture;
    picture.setPixel(0, 0, picture.pixel(1, 1));
    const QByteArray rewritten = encodeBmp(picture);
    QCOMPARE(le(rewritten, 30, 4), 0u);
    QVERIFY(decodeBmp(rewritten) == picture);
    QCOMPARE(encodeBmp(copy), bytes);
}

void BmpTest::skippedRunLengthPixelsTakeIndexZero() {
    // 4 x 2 RLE8: bottom row "run of 2 of index 1, skip (1, 1)", then "1 of
    // index 1" on the top row at x = 3, end. Palette: 0 red, 1 blue.
    QByteArray bytes(14 + 40 + 8, '\0');
    const QByteArray stream = QByteArray::fromHex("0201" "00020101" "0101" "0001");
    bytes.append(stream);
    bytes[0] = 'B';
    bytes[1] = 'M';
    auto put = [&](int at, quint32 v) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = char(v >> (8 * i));
    };
    put(2, quint32(bytes.size()));
    put(10, 14 + 40 + 8);
    put(14, 40);
    put(18, 4);
    put(22, 2);
    bytes[26] = 1;
    bytes[28] = 8;
    put(30, 1);
    put(46, 2);
    put(54, 0x00FF0000);   // red
    put(58, 0x000000FF);   // blue
    for (int attempt = 0; attempt < 3; ++attempt) {
        const Bitmap picture = decodeBmp(bytes);
        const Colour red = 0x0000FF, blue = 0xFF0000;
        const Colour expected[2][4] = {{red, red, red, blue}, {blue, blue, red, red}};
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x)
                QCOMPARE(picture.pixel(x, y), expected[y][x]);
    }
}

int runBmpTests(int argc, char** argv) {
    BmpTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "bmp_test.moc"
