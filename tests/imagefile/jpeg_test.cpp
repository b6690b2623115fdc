// SPDX-License-Identifier: GPL-2.0-or-later
// Local
#include "jpeg_file.h"
#include "save_picture.h"
#include "test_support.h"

// Std
#include <cstdio>

// libjpeg (after <cstdio>, which it needs)
#include <jerror.h>
#include <jpeglib.h>

using namespace pelmora;
using namespace pelmora::test;

namespace {

// A progressive grey 8 x 8 JPEG of one block whose every coefficient is 0,
// its DC coefficient sent again in each of `scans` scans.
QByteArray progressiveGreyBlock(int scans) {
    // Start; a table of ones; 8 bits, 8 x 8, one component; a DC code table
    // holding one code, "0", for no difference.
    QByteArray file = QByteArray::fromHex("ffd8" "ffdb0043" "00") + QByteArray(64, '\x01')
                      + QByteArray::fromHex("ffc2000b" "08" "0008" "0008" "01" "011100"
                                            "ffc40014" "00" "01000000000000000000000000000000" "00");
    // Each scan: the DC band of the component, then its one block, "0"
    // padded with ones.
    for (int i = 0; i < scans; ++i)
        file += QByteArray::fromHex("ffda0008" "01" "0100" "00" "00" "00" "7f");
    return file + QByteArray::fromHex("ffd9");
}

// A progressive grey picture of side x side pixels (a multiple of 1024):
// a first DC scan of zeros, then `emptyScans` AC scans that each cost two
// bytes per 16384 blocks, one run of empty blocks, however large the
// picture is.
QByteArray progressiveEmptyScans(int side, int emptyScans) {
    const QByteArray be16 = [&] {
        QByteArray b(2, '\0');
        b[0] = char(side >> 8);
        b[1] = char(side & 0xFF);
        return b;
    }();
    const int blocks = side / 8 * (side / 8);
    // A table of ones; 8 bits, one component; a DC table whose one code
    // "0" means no difference, and an AC table whose one code "0" starts a
    // run of 2^14 empty blocks, plus 14 more bits.
    QByteArray file = QByteArray::fromHex("ffd8" "ffdb0043" "00") + QByteArray(64, '\x01')
                      + QByteArray::fromHex("ffc2000b" "08") + be16 + be16 + QByteArray::fromHex("01" "011100")
                      + QByteArray::fromHex("ffc40014" "00" "01000000000000000000000000000000" "00")
                      + QByteArray::fromHex("ffc40014" "10" "01000000000000000000000000000000" "e0");
    file += QByteArray::fromHex("ffda0008" "01" "0100" "00" "00" "00") + QByteArray(blocks / 8, '\0');
    // Each run takes 15 bits of zeros; the last byte is padded with ones.
    const int bits = 15 * (blocks / 16384);
    QByteArray runs((bits + 7) / 8, '\0');
    if (bits % 8 != 0)
        runs[runs.size() - 1] = char(0xFF >> (bits % 8));
    for (int i = 0; i < emptyScans; ++i)
        file += QByteArray::fromHex("ffda0008" "01" "0100" "01" "3f" "00") + runs;
    return file + QByteArray::fromHex("ffd9");
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

} // namespace

// The libjpeg reader and writer.
class JpegTest : public QObject {
    Q_OBJECT

private slots:
    // A dithered palette picture has edges that JPEG blurs.
    void qualityNinetyRoundTrip_data() {
        QTest::addColumn<QImage::Format>("format");
        QTest::addColumn<double>("meanErrorBelow");
        QTest::newRow("32-bit") << QImage::Format_RGB32 << 1.5;
        QTest::newRow("24-bit") << QImage::Format_RGB888 << 1.5;
        QTest::newRow("8-bit palette") << QImage::Format_Indexed8 << 4.5;
    }
    void qualityNinetyRoundTrip() {
        QFETCH(QImage::Format, format);
        QFETCH(double, meanErrorBelow);
        const Bitmap original(patternImage(64, 48).convertToFormat(format, Qt::ThresholdDither));
        // Through the save command's own path, so its quality is the one checked.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("saved.jpg"));
        saveAsJpeg(original, path);
        const QByteArray bytes = fileBytes(path);
        const Bitmap back = decodeJpeg(bytes);
        QVERIFY(back.width() == 64 && back.height() == 48 && back.bitsPerPixel() == 24);
        QVERIFY2(meanError(original, back) < meanErrorBelow, qPrintable(QString::number(meanError(original, back))));
        // A baseline frame of three components, and no progressive one.
        const qsizetype frame = bytes.indexOf("\xff\xc0"), table = bytes.indexOf("\xff\xdb");
        QVERIFY(frame > 0 && table > 0 && !bytes.contains("\xff\xc2"));
        QCOMPARE(quint8(bytes[frame + 9]), quint8(3));
        // The first luminance step of the standard table, 16, at quality 90:
        // scale 200 - 2 * 90 = 20 percent, (16 * 20 + 50) / 100 = 3; 8-bit table 0.
        QCOMPARE(bytes.mid(table + 4, 2), QByteArray::fromHex("0003"));
    }

    // Sizes and pixels are pinned in corpus_pixels.tsv; here, the formats held.
    // Inverted (Adobe) CMYK read the wrong way round would be far from its twin.
    void corpusFilesOpen_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QImage::Format>("format");
        QTest::addColumn<QString>("twin");
        const auto rgb = QImage::Format_RGB32;
        QTest::newRow("baseline") << "libjpeg-turbo/testorig.jpg" << rgb << "";
        QTest::newRow("progressive") << "image-rs/progressive_3.jpg" << rgb << "";
        QTest::newRow("grey") << "pillow/hopper_gray.jpg" << QImage::Format_Indexed8 << "";
        QTest::newRow("cmyk") << "pillow/pil_sample_cmyk.jpg" << QImage::Format_RGB888 << "pillow/pil_sample_rgb.jpg";
        QTest::newRow("no end marker") << "pillow/truncated_jpeg.jpg" << rgb << "";
    }
    void corpusFilesOpen() {
        PELMORA_REQUIRE_CORPUS();
        QFETCH(QString, name);
        QFETCH(QImage::Format, format);
        QFETCH(QString, twin);
        const auto open = [](const QString& file) { return decodeJpeg(fileBytes(corpusDir() + "/jpeg/" + file)); };
        const Bitmap picture = open(name);
        QCOMPARE(picture.format(), format);
        for (int i = 0; format == QImage::Format_Indexed8 && i < 256; ++i)
            QCOMPARE(picture.image().color(i), qRgb(i, i, i));
        // 32-bit RGB rows must be opaque, or Qt draws them wrongly.
        for (int y = 0; format == QImage::Format_RGB32 && y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                QCOMPARE(qAlpha(picture.image().pixel(x, y)), 255);
        const double error = twin.isEmpty() ? 0 : meanError(picture, open(twin));
        QVERIFY2(error < 12, qPrintable(QString::number(error)));
    }

    // Progressive files may send a band again and again; past 1000 scans
    // they are refused instead of being decoded for ever.
    void scansAreLimited_data() {
        QTest::addColumn<int>("scans");
        QTest::addColumn<QString>("error");
        QTest::newRow("one") << 1 << "";
        QTest::newRow("1000") << 1000 << "";
        QTest::newRow("1001") << 1001 << QStringLiteral("JPEG エラー #%1").arg(JERR_BAD_PROGRESSION);
    }
    void scansAreLimited() {
        QFETCH(int, scans);
        QFETCH(QString, error);
        Bitmap picture;
        QCOMPARE(errorOf([&] { picture = decodeJpeg(progressiveGreyBlock(scans)); }), error);
        if (!error.isEmpty())
            return;
        // A block of nothing but zeros is mid-grey.
        QCOMPARE(QSize(picture.width(), picture.height()), QSize(8, 8));
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                QCOMPARE(picture.pixel(x, y), Colour(0x808080));
    }

    // Every scan is charged all its blocks before it is decoded, and the file
    // is refused at the first scan the budget cannot pay for. Unless a
    // budget is given, a file may have 2^24 blocks decoded, or 64 for
    // each of its bytes when that is more.
    void scanBlocksAreCharged_data() {
        QTest::addColumn<int>("side");
        QTest::addColumn<int>("emptyScans");
        QTest::addColumn<qint64>("budget");
        QTest::addColumn<qint64>("spent");
        QTest::addColumn<bool>("refused");
        const qint64 small = 128 * 128, large = 256 * 256;
        QTest::newRow("one scan") << 1024 << 0 << 10 * small << small << false;
        QTest::newRow("nine scans") << 1024 << 8 << 10 * small << 9 * small << false;
        QTest::newRow("ten scans, all the budget") << 1024 << 9 << 10 * small << 10 * small << false;
        QTest::newRow("eleven scans") << 1024 << 10 << 10 * small << 10 * small << true;
        QTest::newRow("a budget short") << 2048 << 2 << 3 * large - 1 << 2 * large << true;
        QTest::newRow("the least budget, all spent") << 2048 << 255 << qint64(-1) << 256 * large << false;
        QTest::newRow("the least budget, a scan more") << 2048 << 256 << qint64(-1) << 256 * large << true;
    }
    void scanBlocksAreCharged() {
        QFETCH(int, side);
        QFETCH(int, emptyScans);
        QFETCH(qint64, budget);
        QFETCH(qint64, spent);
        QFETCH(bool, refused);
        const QByteArray file = progressiveEmptyScans(side, emptyScans);
        if (budget < 0)
            QCOMPARE(jpegBlockBudget(file.size()), qint64(1) << 24);
        WorkBudget blocks(budget < 0 ? jpegBlockBudget(file.size()) : budget);
        Bitmap picture;
        const QString error = errorOf([&] { picture = readJpeg(MemorySource(file), blocks); });
        QCOMPARE(error, refused ? QStringLiteral("JPEG エラー #%1").arg(JERR_BAD_PROGRESSION) : QString());
        QCOMPARE(blocks.spent(), spent);
        if (budget < 0)
            QCOMPARE(errorOf([&] { decodeJpeg(file); }), error);
        if (refused)
            return;
        QCOMPARE(QSize(picture.width(), picture.height()), QSize(side, side));
        QCOMPARE(picture.pixel(side - 1, side - 1), Colour(0x808080));
    }

    // A file of several scans brings at least a bit for every block; one cut
    // short of that is refused before anything is decoded.
    void progressiveFilesBringABitPerBlock_data() {
        QTest::addColumn<int>("bytes");
        QTest::addColumn<QString>("error");
        // 2048 x 2048: 65536 blocks, 8192 bytes.
        QTest::newRow("whole") << 0 << QString();
        QTest::newRow("cut at a bit per block") << 8192 << QString();
        QTest::newRow("a byte short") << 8191 << QStringLiteral("JPEG エラー #%1").arg(JERR_IMAGE_TOO_BIG);
    }
    void progressiveFilesBringABitPerBlock() {
        QFETCH(int, bytes);
        QFETCH(QString, error);
        const QByteArray whole = progressiveEmptyScans(2048, 2);
        QCOMPARE(errorOf([&] { decodeJpeg(bytes == 0 ? whole : whole.left(bytes)); }), error);
    }

    void budgetGrowsWithTheFile() {
        QCOMPARE(jpegBlockBudget(0), qint64(1) << 24);
        QCOMPARE(jpegBlockBudget(qint64(1) << 16), qint64(1) << 24);
        QCOMPARE(jpegBlockBudget(qint64(1) << 20), qint64(1) << 26);
    }

    void damagedFilesGiveLibjpegsCodeAndNeverCrash() {
        const QString text = QStringLiteral("JPEG エラー #%1");
        QCOMPARE(errorOf([] { decodeJpeg(QByteArray()); }), text.arg(JERR_INPUT_EMPTY));
        QCOMPARE(errorOf([] { decodeJpeg(QByteArray("BM\x10\0\0\0", 6)); }), text.arg(JERR_NO_SOI));
        const QByteArray whole = encodeJpeg(Bitmap(patternImage(40, 24)), 90);
        // A frame header declaring 60000 x 60000 in a file of a few hundred
        // bytes would take half a minute and 10 GB to paint grey.
        const QByteArray huge = QByteArray(whole).replace(whole.indexOf("\xff\xc0") + 5, 4, "\xea\x60\xea\x60");
        QCOMPARE(errorOf([&] { decodeJpeg(huge); }), text.arg(JERR_IMAGE_TOO_BIG));
        checkCutsAndDamage(whole, decodeJpeg, text.arg(QStringLiteral("\\d+")), true);
    }
};

PELMORA_TEST_GROUP(JpegTest)

#include "jpeg_test.moc"
