// Qt
#include <QBuffer>
#include <QImageWriter>
#include <QTest>

// Local
#include "test_runners.h"
#include "imagefile/icon_file.h"
#include "imagefile/save_picture.h"
#include "imageops/pelmora_error.h"
#include "test_support.h"

using namespace pelmora;
using namespace pelmora::test;

// The icon writer, byte by byte, and the icon reader.
class IconTest : public QObject {
    Q_OBJECT

private slots:
    void headerFieldsByteByByte();
    void coloursMapToTheNearestOfSixteen_data();
    void coloursMapToTheNearestOfSixteen();
    void maskMarksExactlyTheTopLeftColour();
    void onlyThirtyTwoSquareIsWritten_data();
    void onlyThirtyTwoSquareIsWritten();
    void readBackTransparentPartsAreWhite();
    void readerPicksClosestToThirtyTwoThenMostColours();
    void corpusIconsOpenOrAreRefused_data();
    void corpusIconsOpenOrAreRefused();
    void truncatedIconsNeverCrash();
};

namespace {

const QString kInvalidIcon = QStringLiteral("アイコンイメージが不正です");

quint32 le(const QByteArray& b, qsizetype at, int size) {
    quint32 v = 0;
    for (int i = size - 1; i >= 0; --i)
        v = v << 8 | quint8(b[at + i]);
    return v;
}

// Offsets in a one-image file: directory 6 + 16, header 40, palette 64,
// colour rows of 16 bytes bottom-up, then mask rows of 4 bytes bottom-up.
constexpr int kInfo = 22;
constexpr int kPalette = kInfo + 40;
constexpr int kColourRows = kPalette + 64;
constexpr int kMaskRows = kColourRows + 16 * 32;

int colourIndexAt(const QByteArray& icon, int x, int y) {
    const quint8 pair = quint8(icon[kColourRows + (31 - y) * 16 + x / 2]);
    return x % 2 == 0 ? pair >> 4 : pair & 15;
}

bool maskBitAt(const QByteArray& icon, int x, int y) {
    return (quint8(icon[kMaskRows + (31 - y) * 4 + x / 8]) >> (7 - x % 8)) & 1;
}

Bitmap filled(int width, int height, Colour colour) {
    Bitmap picture = Bitmap::white(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, colour);
    return picture;
}

// An ICO file holding the first image of each given one-image file.
QByteArray joinedIcons(const QList<QByteArray>& icons) {
    QByteArray directory = QByteArray::fromHex("00000100") + QByteArray(2, '\0');
    directory[4] = char(icons.size());
    QByteArray images;
    const int firstImage = 6 + 16 * int(icons.size());
    for (const QByteArray& icon : icons) {
        QByteArray entry = icon.mid(6, 16);
        const quint32 size = le(icon, 14, 4);
        const quint32 at = quint32(firstImage + images.size());
        for (int i = 0; i < 4; ++i)
            entry[12 + i] = char(at >> (8 * i));
        directory += entry;
        images += icon.mid(qsizetype(le(icon, 18, 4)), size);
    }
    return directory + images;
}

QByteArray qtIcon(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "ico");
    writer.write(image);
    return bytes;
}

} // namespace

void IconTest::headerFieldsByteByByte() {
    Bitmap picture = filled(32, 32, 0x00FF00);   // lime, index 10
    picture.setPixel(0, 0, 0x0000FF);            // red top-left: transparent
    const QByteArray icon = encodeIcon(picture);
    QCOMPARE(icon.size(), 22 + 40 + 64 + 512 + 128);
    const QByteArray directory = QByteArray::fromHex("0000" "0100" "0100"
                                                     "20" "20" "10" "00" "0100" "0400" "e8020000" "16000000");
    QCOMPARE(icon.left(22), directory);
    const QByteArray header = QByteArray::fromHex("28000000" "20000000" "40000000" "0100" "0400"
                                                  "00000000" "80020000" "00000000" "00000000"
                                                  "00000000" "00000000");
    QCOMPARE(icon.mid(kInfo, 40), header);
    // Blue, green, red, 0 for each of the sixteen colours.
    const QByteArray palette = QByteArray::fromHex(
        "00000000" "00008000" "00800000" "00808000" "80000000" "80008000" "80800000" "c0c0c000"
        "80808000" "0000ff00" "00ff0000" "00ffff00" "ff000000" "ff00ff00" "ffff0000" "ffffff00");
    QCOMPARE(icon.mid(kPalette, 64), palette);
    QCOMPARE(colourIndexAt(icon, 0, 0), 0);
    QVERIFY(maskBitAt(icon, 0, 0));
    QCOMPARE(colourIndexAt(icon, 1, 0), 10);
    QVERIFY(!maskBitAt(icon, 1, 0));
    QCOMPARE(colourIndexAt(icon, 31, 31), 10);
}

void IconTest::coloursMapToTheNearestOfSixteen_data() {
    QTest::addColumn<Colour>("colour");
    QTest::addColumn<int>("index");
    QTest::newRow("black") << Colour(0x000000) << 0;
    QTest::newRow("near maroon") << Colour(0x000070) << 1;
    QTest::newRow("olive") << Colour(0x008080) << 3;
    QTest::newRow("navy") << Colour(0x800000) << 4;
    QTest::newRow("silver") << Colour(0xC0C0C0) << 7;
    QTest::newRow("near grey") << Colour(0x8A8580) << 8;
    QTest::newRow("orange to red") << Colour(0x0040F0) << 9;
    QTest::newRow("yellow") << Colour(0x00FFFF) << 11;
    QTest::newRow("sky to aqua") << Colour(0xF0E020) << 14;
    QTest::newRow("pale blue to silver") << Colour(0xFFE0A0) << 7;
    QTest::newRow("near white") << Colour(0xF0F0F0) << 15;
}

void IconTest::coloursMapToTheNearestOfSixteen() {
    QFETCH(Colour, colour);
    QFETCH(int, index);
    Bitmap picture = filled(32, 32, colour);
    picture.setPixel(0, 0, 0x123456);
    const QByteArray icon = encodeIcon(picture);
    QCOMPARE(colourIndexAt(icon, 5, 7), index);
    QCOMPARE(colourIndexAt(icon, 30, 1), index);
}

void IconTest::maskMarksExactlyTheTopLeftColour() {
    // White background; the same white appears again inside the subject.
    Bitmap picture = filled(32, 32, kWhite);
    for (int y = 8; y < 24; ++y)
        for (int x = 8; x < 24; ++x)
            picture.setPixel(x, y, (x + y) % 3 == 0 ? kWhite : Colour(0xFEFFFF));
    const QByteArray icon = encodeIcon(picture);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const bool background = picture.pixel(x, y) == kWhite;
            QCOMPARE(maskBitAt(icon, x, y), background);
            // Transparent pixels are black; the near-white is mapped to white.
            QCOMPARE(colourIndexAt(icon, x, y), background ? 0 : 15);
        }
}

void IconTest::onlyThirtyTwoSquareIsWritten_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("32 x 31") << 32 << 31;
    QTest::newRow("33 x 32") << 33 << 32;
    QTest::newRow("empty") << 0 << 0;
}

void IconTest::onlyThirtyTwoSquareIsWritten() {
    QFETCH(int, width);
    QFETCH(int, height);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.ico"));
    try {
        saveAsIcon(Bitmap::white(width, height), path);
        QFAIL("written");
    } catch (const PelmoraError& e) {
        QCOMPARE(e.text(), iconSizeText());
    }
    QVERIFY(!QFile::exists(path));
}

void IconTest::readBackTransparentPartsAreWhite() {
    Bitmap picture = filled(32, 32, 0x800000);   // navy background
    for (int x = 4; x < 28; ++x)
        picture.setPixel(x, 16, 0x0000FF);
    const Bitmap back = decodeIcon(encodeIcon(picture));
    QCOMPARE(back.width(), 32);
    QCOMPARE(back.height(), 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            QCOMPARE(back.pixel(x, y), y == 16 && x >= 4 && x < 28 ? Colour(0x0000FF) : kWhite);
}

void IconTest::readerPicksClosestToThirtyTwoThenMostColours() {
    QImage small(16, 16, QImage::Format_ARGB32);
    small.fill(qRgb(255, 0, 0));
    QImage large(48, 48, QImage::Format_ARGB32);
    large.fill(qRgb(0, 255, 0));
    QImage trueColour(32, 32, QImage::Format_ARGB32);
    trueColour.fill(qRgb(10, 20, 30));
    Bitmap sixteen = filled(32, 32, 0xFF0000);   // blue in 16 colours
    sixteen.setPixel(0, 0, kBlack);

    const Bitmap closest = decodeIcon(joinedIcons({qtIcon(small), encodeIcon(sixteen), qtIcon(large)}));
    QCOMPARE(closest.width(), 32);
    QCOMPARE(closest.pixel(5, 5), Colour(0xFF0000));

    const Bitmap richest = decodeIcon(joinedIcons({encodeIcon(sixteen), qtIcon(trueColour)}));
    QCOMPARE(richest.pixel(5, 5), Colour(0x1E140A));
}

void IconTest::corpusIconsOpenOrAreRefused_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("width");   // 0: refused
    QTest::newRow("24-bit") << "faint/24bipp.ico" << 64;
    QTest::newRow("four sizes") << "faint/32-bipp_8-bit-alpha_no-palette-BI_RGB.ico" << 32;
    QTest::newRow("several depths") << "image-rs/multiple_entries_with_different_bit_depth.ico" << 32;
    QTest::newRow("embedded png") << "image-rs/png-32bpp-alpha.ico" << 32;
    QTest::newRow("256 and 48") << "libgdiplus/test.ico" << 48;
    QTest::newRow("16, 32, 48") << "pillow/python.ico" << 32;
    QTest::newRow("cut short") << "image-rs/crash-981fee302fe0fc543ee48292cc3d6ace7e97e633.ico" << 0;
    QTest::newRow("png of absurd size") << "image-rs/oom-0d0085eb7f66ea55d9119206235cd29e089b9140.ico" << 0;
    QTest::newRow("bitmap of absurd size") << "pillow/decompression_bomb.ico" << 16;
}

void IconTest::corpusIconsOpenOrAreRefused() {
    PELMORA_REQUIRE_CORPUS();
    QFETCH(QString, name);
    QFETCH(int, width);
    const QByteArray bytes = fileBytes(corpusDir() + QStringLiteral("/ico/") + name);
    QVERIFY(!bytes.isEmpty());
    try {
        const Bitmap picture = decodeIcon(bytes);
        QCOMPARE(picture.width(), width);
    } catch (const PelmoraError& e) {
        QCOMPARE(width, 0);
        QCOMPARE(e.text(), kInvalidIcon);
    }
}

void IconTest::truncatedIconsNeverCrash() {
    Bitmap picture = filled(32, 32, 0x00FF00);
    picture.setPixel(0, 0, kBlack);
    const QByteArray whole = encodeIcon(picture);
    for (qsizetype length = 0; length < whole.size(); ++length) {
        try {
            const Bitmap back = decodeIcon(whole.left(length));
            QCOMPARE(back.width(), 32);
        } catch (const PelmoraError& e) {
            QCOMPARE(e.text(), kInvalidIcon);
        }
    }
}

int runIconTests(int argc, char** argv) {
    IconTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "icon_test.moc"
