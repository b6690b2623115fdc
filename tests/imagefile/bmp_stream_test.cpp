// SPDX-License-Identifier: GPL-2.0-or-later
// Local
#include "bmp_row_shadow.h"
#include "bmp_turned.h"
#include "fill.h"
#include "outline.h"
#include "rotate_mirror.h"
#include "test_support.h"

using namespace pelmora;
using namespace pelmora::test;

Q_DECLARE_METATYPE(RowShadow)

namespace {

// A third of the pixels, the corner among them, white: background scattered
// through the subject. The others differ along a row (up to 256 wide), and
// no row repeats another, so a row read from the wrong place shows.
Bitmap scatteredBackground(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, (x * 7 + y * 5) % 3 == 0 ? qRgb(255, 255, 255) : qRgb(y & 0xFF, y >> 8, x));
    return Bitmap(image);
}

QByteArray streamed(const QByteArray& file, RowShadow shadow, Colour colour, bool* done) {
    QByteArray out;
    *done = shadeBmp(MemorySource(file), shadow, colour, [&](const char* data, qsizetype size) { out.append(data, size); });
    return out;
}

} // namespace

// Outline and fill made row by row between two files, and quarter turns
// made as the file is written.
class BmpStreamTest : public QObject {
    Q_OBJECT

private slots:
    // The same bytes as reading the whole picture, working on it and writing it.
    void sameBytesAsThePictureWritten_data() {
        QTest::addColumn<RowShadow>("shadow");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRgb>("colour");
        // The tall ones are read and written in several pieces of rows.
        for (const QSize size : {QSize(1, 1), QSize(1, 4), QSize(5, 1), QSize(2, 2), QSize(19, 7), QSize(64, 48),
                                 QSize(100, 3000), QSize(101, 2000)}) {
            const QString name = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
            QTest::newRow(qPrintable("fill " + name)) << RowShadow::Fill << size << qRgb(10, 20, 30);
            QTest::newRow(qPrintable("outline " + name)) << RowShadow::Outline << size << qRgb(200, 0, 0);
        }
        // A colour already in the subject is not an edge of it.
        QTest::newRow("outline in a subject colour") << RowShadow::Outline << QSize(19, 7) << qRgb(3, 0, 5);
    }
    void sameBytesAsThePictureWritten() {
        QFETCH(RowShadow, shadow);
        QFETCH(QSize, size);
        QFETCH(QRgb, colour);
        const Bitmap original = scatteredBackground(size.width(), size.height());
        const QByteArray file = encodeBmp(original);
        const Bitmap picture = decodeBmp(file);
        QVERIFY(picture == original);
        const Colour paint = colourFromRgb(colour);
        const Bitmap whole = shadow == RowShadow::Fill ? filled(picture, paint) : outlined(picture, paint);
        bool done = false;
        QCOMPARE(streamed(file, shadow, paint, &done), encodeBmp(whole));
        QVERIFY(done);
    }

    // Files of other kinds are left to the whole-picture path untouched;
    // files cut short are refused.
    void filesNotStreamed_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("error");
        const Bitmap picture = scatteredBackground(9, 4);
        QByteArray topDown = encodeBmp(picture);
        topDown.replace(22, 4, "\xfc\xff\xff\xff");   // height -4
        QTest::newRow("empty") << QByteArray() << "";
        QTest::newRow("top-down") << topDown << "";
        QTest::newRow("32-bit") << encodeBmp(Bitmap(picture.image(), 32)) << "";
        QTest::newRow("8-bit") << encodeBmp(Bitmap(picture.image().convertToFormat(QImage::Format_Indexed8))) << "";
        const QByteArray file = encodeBmp(scatteredBackground(19, 7));
        for (const qsizetype cut : {qsizetype(10), qsizetype(54), file.size() / 2, file.size() - 1})
            QTest::addRow("cut to %d bytes", int(cut)) << file.left(cut) << QStringLiteral("ビットマップイメージが不正です");
    }
    void filesNotStreamed() {
        QFETCH(QByteArray, file);
        QFETCH(QString, error);
        bool done = false;
        QByteArray out;
        QCOMPARE(errorOf([&] { out = streamed(file, RowShadow::Outline, 0, &done); }), error);
        QVERIFY(out.isEmpty() && !done);
    }

    void turnedWhileWritingSameBytesAsTurnedPicture_data() {
        QTest::addColumn<bool>("clockwise");
        QTest::addColumn<QSize>("size");
        // Sizes around the band of 16 rows the writer makes at once.
        for (const QSize size : {QSize(1, 1), QSize(1, 5), QSize(6, 1), QSize(16, 3), QSize(17, 9), QSize(35, 40)}) {
            const QString name = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
            QTest::newRow(qPrintable("90 " + name)) << true << size;
            QTest::newRow(qPrintable("270 " + name)) << false << size;
        }
    }
    void turnedWhileWritingSameBytesAsTurnedPicture() {
        QFETCH(bool, clockwise);
        QFETCH(QSize, size);
        const Bitmap picture(patternImage(size.width(), size.height()));
        QByteArray out;
        writeTurnedBmp(picture, clockwise, [&](const char* data, qsizetype n) { out.append(data, n); });
        QCOMPARE(out, encodeBmp(rotateOrFlipPicture(picture, clockwise ? TurnOrMirror::Turn90 : TurnOrMirror::Turn270)));
    }
};

PELMORA_TEST_GROUP(BmpStreamTest)

#include "bmp_stream_test.moc"
