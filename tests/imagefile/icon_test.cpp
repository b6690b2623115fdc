// SPDX-License-Identifier: GPL-2.0-or-later
// Qt
#include <QBuffer>
#include <QSet>

// Local
#include "icon_file.h"
#include "le_bytes.h"
#include "picture_file_texts.h"
#include "save_picture.h"
#include "test_support.h"

using namespace pelmora;
using namespace pelmora::test;

namespace {

const QString kInvalidIcon = QStringLiteral("アイコンイメージが不正です");

// A one-image file holds a directory of 6 + 16 bytes, a 40-byte header, a
// palette of 64, colour rows of 16 bytes from 126 on, then mask rows of 4
// bytes from 638 on, both bottom-up.
int colourIndexAt(const QByteArray& icon, int x, int y) {
    return (quint8(icon[126 + (31 - y) * 16 + x / 2]) >> (x % 2 == 0 ? 4 : 0)) & 15;
}

bool maskBitAt(const QByteArray& icon, int x, int y) {
    return (quint8(icon[638 + (31 - y) * 4 + x / 8]) >> (7 - x % 8)) & 1;
}

// An icon of square PNG images of the given sides, its directory entries
// pointing at them in the given order, any image under many entries.
QByteArray pngIcon(const QList<int>& sides, const QList<int>& entries) {
    QList<QByteArray> pngs;
    for (int i = 0; i < sides.size(); ++i) {
        QImage image(sides[i], sides[i], QImage::Format_ARGB32);
        image.fill(qRgba(10 * i, 0, 0, 255));
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "png");
        pngs.append(png);
    }
    QByteArray icon(6 + 16 * entries.size(), '\0');
    putLe16(icon, 2, 1);
    putLe16(icon, 4, quint16(entries.size()));
    QList<qsizetype> offsets;
    for (const QByteArray& png : pngs) {
        offsets.append(icon.size());
        icon += png;
    }
    for (int e = 0; e < entries.size(); ++e) {
        const int at = 6 + 16 * e, image = entries[e];
        icon[at] = char(sides[image] % 256);
        icon[at + 1] = char(sides[image] % 256);
        putLe16(icon, at + 4, 1);
        putLe16(icon, at + 6, 32);
        putLe32(icon, at + 8, quint32(pngs[image].size()));
        putLe32(icon, at + 12, quint32(offsets[image]));
    }
    return icon;
}

} // namespace

// The icon writer, byte by byte, and the icon reader.
class IconTest : public QObject {
    Q_OBJECT

private slots:
    // Lime ground with, inside, near-lime pixels: the same colour in the
    // table but not the top-left's exact RGB, so not transparent.
    void writtenFieldsByteByByteAndReadBack() {
        Bitmap picture = Bitmap::white(32, 32);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const bool inner = x >= 8 && x < 24 && y >= 8 && y < 24 && (x + y) % 3 != 0;
                picture.setPixel(x, y, inner ? Colour(0x00FE00) : Colour(0x00FF00));
            }
        const QByteArray icon = encodeIcon(picture);
        QCOMPARE(icon.size(), 22 + 40 + 64 + 512 + 128);
        // Directory, header, and blue, green, red, 0 for each of the sixteen colours.
        QCOMPARE(icon.left(126), QByteArray::fromHex(
            "0000" "0100" "0100" "20" "20" "10" "00" "0100" "0400" "e8020000" "16000000"
            "28000000" "20000000" "40000000" "0100" "0400" "00000000" "80020000" "00000000" "00000000" "00000000"
            "00000000" "00000000" "00008000" "00800000" "00808000" "80000000" "80008000" "80800000" "c0c0c000"
            "80808000" "0000ff00" "00ff0000" "00ffff00" "ff000000" "ff00ff00" "ffff0000" "ffffff00"));
        const Bitmap back = decodeIcon(icon);
        QVERIFY(back.width() == 32 && back.height() == 32);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const bool ground = picture.pixel(x, y) == 0x00FF00;
                QCOMPARE(maskBitAt(icon, x, y), ground);
                // Transparent pixels are black in the file and white read back.
                QCOMPARE(colourIndexAt(icon, x, y), ground ? 0 : 10);
                QCOMPARE(back.pixel(x, y), ground ? kWhite : Colour(0x00FF00));
            }
        checkCutsAndDamage(icon, decodeIcon, kInvalidIcon, true);
    }

    // Entries alike are decoded once; the image that overdraws the budget is
    // dropped, and none after it is read.
    void decodedPixelsAreCharged_data() {
        QTest::addColumn<QList<int>>("sides");
        QTest::addColumn<QList<int>>("entries");
        QTest::addColumn<qint64>("budget");
        QTest::addColumn<qint64>("spent");
        QTest::addColumn<int>("chosenSide");
        const qint64 plenty = qint64(1) << 26;
        QTest::newRow("one image under 256 entries") << QList<int>{48} << QList<int>(256, 0) << plenty << 48LL * 48 << 48;
        QTest::newRow("three images, each under two entries")
            << QList<int>{16, 32, 64} << QList<int>{0, 1, 2, 2, 1, 0} << plenty << 16LL * 16 + 32 * 32 + 64 * 64 << 32;
        QTest::newRow("budget spent before the nearest")
            << QList<int>{64, 100, 32} << QList<int>{0, 1, 2} << 64LL * 64 + 100 * 100 << 64LL * 64 + 100 * 100 << 64;
        QTest::newRow("nothing within the budget") << QList<int>{64} << QList<int>{0, 0} << 64LL * 64 - 1 << 0LL << 0;
    }
    void decodedPixelsAreCharged() {
        QFETCH(QList<int>, sides);
        QFETCH(QList<int>, entries);
        QFETCH(qint64, budget);
        QFETCH(qint64, spent);
        QFETCH(int, chosenSide);
        WorkBudget pixels(budget);
        Bitmap picture;
        const QString error = errorOf([&] { picture = decodeIcon(pngIcon(sides, entries), pixels); });
        QCOMPARE(pixels.spent(), spent);
        QCOMPARE(error, chosenSide == 0 ? kInvalidIcon : QString());
        QCOMPARE(picture.width(), chosenSide);
    }

    void coloursMapToTheNearestOfSixteen_data() {
        QTest::addColumn<Colour>("colour");
        QTest::addColumn<int>("index");
        QTest::newRow("orange to red") << Colour(0x0040F0) << 9;
        QTest::newRow("sky to aqua") << Colour(0xF0E020) << 14;
        QTest::newRow("pale blue to silver") << Colour(0xFFE0A0) << 7;
    }
    void coloursMapToTheNearestOfSixteen() {
        QFETCH(Colour, colour);
        QFETCH(int, index);
        Bitmap picture = Bitmap::white(32, 32);
        picture.setPixel(5, 7, colour);
        QCOMPARE(colourIndexAt(encodeIcon(picture), 5, 7), index);
    }

    void onlyThirtyTwoSquareIsWritten() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("x.ico"));
        for (const QSize size : {QSize(32, 31), QSize(33, 32), QSize(0, 0)}) {
            QCOMPARE(errorOf([&] { saveAsIcon(Bitmap::white(size.width(), size.height()), path); }), texts::iconSize());
            QVERIFY(!QFile::exists(path));
        }
    }

    // Of the images in a file, the one closest to 32 x 32, then the one of most
    // colours: the 32-bit image of "several depths" has 933 once on white.
    void corpusIconsOpenOrAreRefused_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("width");   // 0: refused
        QTest::addColumn<int>("colours");   // at least
        QTest::newRow("24-bit") << "faint/24bipp.ico" << 64 << 0;
        QTest::newRow("256, 128, 64, 32") << "faint/32-bipp_8-bit-alpha_no-palette-BI_RGB.ico" << 32 << 0;
        QTest::newRow("several depths") << "image-rs/multiple_entries_with_different_bit_depth.ico" << 32 << 900;
        QTest::newRow("embedded png") << "image-rs/png-32bpp-alpha.ico" << 32 << 0;
        QTest::newRow("256 and 48") << "libgdiplus/test.ico" << 48 << 0;
        QTest::newRow("cut short") << "image-rs/crash-981fee302fe0fc543ee48292cc3d6ace7e97e633.ico" << 0 << 0;
        QTest::newRow("png of absurd size") << "image-rs/oom-0d0085eb7f66ea55d9119206235cd29e089b9140.ico" << 0 << 0;
        QTest::newRow("bitmap of absurd size") << "pillow/decompression_bomb.ico" << 16 << 0;
    }
    void corpusIconsOpenOrAreRefused() {
        PELMORA_REQUIRE_CORPUS();
        QFETCH(QString, name);
        QFETCH(int, width);
        QFETCH(int, colours);
        const QByteArray bytes = fileBytes(corpusDir() + QStringLiteral("/ico/") + name);
        QVERIFY(!bytes.isEmpty());
        const QString error = errorOf([&] {
            const Bitmap picture = decodeIcon(bytes);
            QCOMPARE(picture.width(), width);
            QSet<Colour> seen;
            for (int i = 0; i < picture.width() * picture.height(); ++i)
                seen.insert(picture.pixel(i % picture.width(), i / picture.width()));
            QVERIFY(seen.size() >= colours);
        });
        QCOMPARE(error, width == 0 ? kInvalidIcon : QString());
    }
};

PELMORA_TEST_GROUP(IconTest)

#include "icon_test.moc"
