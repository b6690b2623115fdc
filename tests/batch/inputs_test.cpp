// SPDX-License-Identifier: GPL-2.0-or-later
// Qt
#include <QtEndian>
#include <QRegularExpression>
#include <QTest>

// Local
#include "batch_test.h"
#include "picture_memory.h"

using namespace pelmora;

namespace {

// 7 x 5, every pixel its own colour but every third, which is `hole`.
QImage testPicture(QRgb hole) {
    QImage image(7, 5, QImage::Format_ARGB32);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            image.setPixel(x, y, (x + y) % 3 == 0 ? hole : qRgb(x * 37, y * 50, 200 - x * y));
    return qAlpha(hole) == 255 ? image.convertToFormat(QImage::Format_RGB32) : image;
}

// Qt writes no GIF, so it is put together here: the frames' palette
// indices (of four colours), with a clear code before every pair of
// pixels so that no code ever needs more than three bits.
QByteArray gifFile(int width, int height, const QList<QRgb>& palette, const QList<QByteArray>& frames,
                   int transparentIndex = -1) {
    QByteArray gif("GIF89a");
    const auto le16 = [&gif](int v) { gif += char(v & 0xFF); gif += char(v >> 8); };
    le16(width);
    le16(height);
    gif += char(0x91);   // a global table of 4 colours
    gif += '\0';
    gif += '\0';
    for (const QRgb c : palette) {
        gif += char(qRed(c));
        gif += char(qGreen(c));
        gif += char(qBlue(c));
    }
    for (const QByteArray& indices : frames) {
        if (transparentIndex >= 0)
            gif += QByteArray{"\x21\xF9\x04\x01\x00\x00", 6} + char(transparentIndex) + '\0';
        gif += '\x2C';
        le16(0);
        le16(0);
        le16(width);
        le16(height);
        gif += '\0';
        gif += '\x02';   // minimum code size
        QByteArray data;
        quint32 bits = 0;
        int count = 0;
        const auto code = [&](int c) {
            bits |= quint32(c) << count;
            for (count += 3; count >= 8; count -= 8, bits >>= 8)
                data += char(bits & 0xFF);
        };
        for (qsizetype i = 0; i < indices.size(); ++i) {
            if (i % 2 == 0)
                code(4);   // clear
            code(indices[i]);
        }
        code(5);   // end
        if (count > 0)
            data += char(bits & 0xFF);
        for (qsizetype at = 0; at < data.size(); at += 255) {
            const QByteArray block = data.mid(at, 255);
            gif += char(block.size()) + block;
        }
        gif += '\0';
    }
    gif += '\x3B';
    return gif;
}

const QList<QRgb> kGifPalette{qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 128, 255), qRgb(255, 255, 255)};

QByteArray gifIndices(int seed) {
    QByteArray indices;
    for (int i = 0; i < 35; ++i)
        indices += char((i * 7 + seed) % 4);
    return indices;
}

QImage gifPicture(const QByteArray& indices, int transparentIndex) {
    QImage image(7, 5, QImage::Format_RGB32);
    for (int i = 0; i < 35; ++i)
        image.setPixel(i % 7, i / 7, indices[i] == transparentIndex ? qRgb(255, 255, 255) : kGifPalette[indices[i]]);
    return image;
}

// A PNG declaring width x height, with its checksums right and hardly any
// pixel data.
QByteArray pngHeaderOnly(quint32 width, quint32 height) {
    const auto crc32 = [](const QByteArray& bytes) {
        quint32 crc = 0xFFFFFFFFu;
        for (const char c : bytes) {
            crc ^= uchar(c);
            for (int k = 0; k < 8; ++k)
                crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
        }
        return ~crc;
    };
    const auto be32 = [](quint32 v) {
        QByteArray bytes(4, '\0');
        qToBigEndian(v, bytes.data());
        return bytes;
    };
    const auto chunk = [&](const QByteArray& type, const QByteArray& data) {
        return be32(quint32(data.size())) + type + data + be32(crc32(type + data));
    };
    return QByteArray("\x89PNG\r\n\x1A\n", 8) + chunk("IHDR", be32(width) + be32(height) + QByteArray("\x08\x02\0\0\0", 5))
           + chunk("IDAT", QByteArray("\x78\x9C", 2)) + chunk("IEND", QByteArray());
}

} // namespace

void BatchTest::qtKindsOpenWithTheirPixels_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QImage>("expected");   // transparent pixels on white
    const QImage clear = testPicture(qRgba(10, 20, 30, 0)), onWhite = testPicture(qRgb(255, 255, 255));
    QTest::newRow("png with alpha") << "alpha.png" << encoded(clear, "png") << "PNG" << onWhite;
    QTest::newRow("tiff") << "page.TIF" << encoded(onWhite, "tiff") << "TIFF" << onWhite;
    QTest::newRow("tiff with alpha") << "alpha.tiff" << encoded(clear, "tiff") << "TIFF" << onWhite;
    QTest::newRow("lossless webp") << "photo.webp" << encoded(onWhite, "webp") << "WEBP" << onWhite;
    QTest::newRow("gif") << "clip.gif" << gifFile(7, 5, kGifPalette, {gifIndices(0)}) << "GIF"
                         << gifPicture(gifIndices(0), -1);
    QTest::newRow("gif with transparency") << "clip.gif" << gifFile(7, 5, kGifPalette, {gifIndices(1)}, 2) << "GIF"
                                           << gifPicture(gifIndices(1), 2);
    QTest::newRow("animated gif: its first frame")
        << "moving.gif" << gifFile(7, 5, kGifPalette, {gifIndices(0), gifIndices(3)}) << "GIF"
        << gifPicture(gifIndices(0), -1);
}

void BatchTest::qtKindsOpenWithTheirPixels() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, kind);
    QFETCH(QImage, expected);
    QVERIFY(!bytes.isEmpty());
    writeFile(name, bytes);

    const Run info = run({"--info", name});
    QCOMPARE(info.err, QString());
    QVERIFY2(info.out.startsWith(QStringLiteral("%1\t%2\t7\t5\t").arg(name, kind)), qPrintable(info.out));

    const Run converted = run({"-o", "out.bmp", name});
    QCOMPARE(converted.err, QString());
    QCOMPARE(converted.status, 0);
    const Bitmap picture = read(QStringLiteral("out.bmp"));
    QCOMPARE(QSize(picture.width(), picture.height()), QSize(7, 5));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            QCOMPARE(rgbFromColour(picture.pixel(x, y)), expected.pixel(x, y));
}

// A PNG of 4 TB is beyond the memory of any machine; one of 312 MB, beyond
// Qt's own default limit, is read as far as its data goes, each in a
// process of its own, whose first reader sets the limit.
void BatchTest::unreadableQtKindNamesItsKind() {
    writeFile(QStringLiteral("broken.png"), QByteArray("\x89PNG\r\n\x1A\nnot really", 18));
    writeFile(QStringLiteral("broken.webp"), QByteArray("RIFF\x10\0\0\0WEBPVP8 ", 16));
    writeFile(QStringLiteral("empty.gif"), QByteArray());
    writeFile(QStringLiteral("huge.png"), pngHeaderOnly(1000000, 1000000));
    writeFile(QStringLiteral("big.png"), pngHeaderOnly(8192, 10000));
    const Run result = run({"--info", "broken.png", "broken.webp", "empty.gif", "huge.png"});
    QCOMPARE(result.status, 1);
    QCOMPARE(result.out, QString());
    // libpng says more on its own, straight to standard error.
    const QRegularExpression ours(QStringLiteral("^[^l]"));
    const QStringList lines = result.err.split(QLatin1Char('\n')).filter(ours);
    QCOMPARE(lines, QStringList({"broken.png: Invalid PNG image", "broken.webp: Invalid WEBP image",
                                 "empty.gif: Invalid GIF image", "huge.png: not enough memory"}));
    const Run big = run({"-o", "big.bmp", "big.png"});
    QCOMPARE(big.status, 1);
    QCOMPARE(big.err.split(QLatin1Char('\n')).filter(ours), QStringList({"big.png: Invalid PNG image"}));
}

// Each of N pictures read at once may take only its share of half the
// memory: a PNG declaring 3.6 GB is refused as too large with enough jobs,
// and for its missing data with one.
void BatchTest::jobsShareTheMemory() {
    constexpr qint64 side = 30000;
    const qint64 half = physicalMemory() / 2;
    if (half < side * side * 4)
        QSKIP("a picture of this size does not fit here with one job either");
    writeFile(QStringLiteral("wide.png"), pngHeaderOnly(side, side));
    const int manyJobs = int(half / (side * side * 4)) + 1;
    const QRegularExpression ours(QStringLiteral("^[^l]"));
    for (const int jobs : {1, manyJobs}) {
        const QStringList inputs(jobs, QStringLiteral("wide.png"));
        const Run result = run(QStringList{"--info", "-j", QString::number(jobs)} + inputs);
        QCOMPARE(result.status, 1);
        const QString line = jobs == 1 ? QStringLiteral("wide.png: Invalid PNG image")
                                       : QStringLiteral("wide.png: not enough memory");
        QCOMPARE(result.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts).filter(ours), QStringList(inputs.size(), line));
    }
}
