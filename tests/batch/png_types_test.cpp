// SPDX-License-Identifier: GPL-2.0-or-later
// The PNG and WebP files pelmora-batch writes, read back.

// Qt
#include <QtEndian>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

// Local
#include "batch_process.h"
#include "bitmap.h"
#include "save_picture.h"
#include "test_main.h"

using namespace pelmora;

namespace {

const QRect kHole(12, 10, 16, 10);

// 40 x 30 on white, painted by kind: two colours, a few colours, a ramp of
// grey levels, many colours, black with white stripes below its top rows,
// or a black frame around a white hole with a black pixel beside the
// top-left corner (so an outline paints the corner) and one in the
// bottom-left corner (so a quarter turn brings it to the top-left).
QImage picture(const QString& kind) {
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 4; y < 26; ++y)
        for (int x = 4; x < 36; ++x) {
            const int i = (y - 4) * 32 + (x - 4);   // 0 .. 703
            QRgb c = qRgb(0, 0, 0);
            if (kind == QLatin1String("few"))
                c = qRgb(60 * (i % 5), 0, 200);
            else if (kind == QLatin1String("grey"))
                c = qRgb(i % 255, i % 255, i % 255);
            else if (kind == QLatin1String("top-down"))   // rows that tell top from bottom
                c = y < 10 || x % 3 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
            else if (kind == QLatin1String("black and white"))
                c = x % 3 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
            else if (kind == QLatin1String("many"))
                c = qRgb(i % 256, i / 3 % 256, 7);
            else if (kind == QLatin1String("frame") && kHole.contains(x, y))
                c = qRgb(255, 255, 255);
            image.setPixel(x, y, c);
        }
    if (kind == QLatin1String("frame")) {
        image.setPixel(1, 0, qRgb(0, 0, 0));
        image.setPixel(0, 29, qRgb(0, 0, 0));
    }
    return image;
}

struct Header {
    int bitDepth = 0;
    int colourType = -1;
    qint64 dotsPerMeter = -1;   // -1: no pHYs
};

quint32 bigEndian(const QByteArray& bytes, qsizetype at) {
    const auto* b = reinterpret_cast<const uchar*>(bytes.constData() + at);
    return quint32(b[0]) << 24 | quint32(b[1]) << 16 | quint32(b[2]) << 8 | b[3];
}

Header headerOf(const QByteArray& png) {
    Header header;
    if (png.size() < 33)
        return header;
    header.bitDepth = uchar(png[24]);
    header.colourType = uchar(png[25]);
    for (qsizetype at = 8; at + 12 <= png.size(); at += 12 + qsizetype(bigEndian(png, at)))
        if (png.mid(at + 4, 4) == "pHYs" && png[at + 16] == 1)
            header.dotsPerMeter = bigEndian(png, at + 8);
    return header;
}

// The 24-bit BMP rewritten top row first, with a negative height.
bool turnTopDown(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    QByteArray bytes = file.readAll();
    const qint32 width = qFromLittleEndian<qint32>(bytes.constData() + 18);
    const qint32 height = qFromLittleEndian<qint32>(bytes.constData() + 22);
    const qsizetype rowBytes = (width * 3 + 3) / 4 * 4;
    const qsizetype pixels = qFromLittleEndian<quint32>(bytes.constData() + 10);
    QByteArray turned = bytes.left(pixels);
    for (int row = height - 1; row >= 0; --row)
        turned += bytes.mid(pixels + row * rowBytes, rowBytes);
    const qint32 negative = -height;
    qToLittleEndian(negative, turned.data() + 22);
    return file.seek(0) && file.write(turned) == turned.size();
}

} // namespace

class PngTypesTest : public QObject {
    Q_OBJECT

private slots:
    void init() { dir_ = std::make_unique<QTemporaryDir>(); }

    void typeFitsTheColours_data();
    void typeFitsTheColours();
    void resolutionRecorded_data();
    void resolutionRecorded();
    void webpIsLossless();

private:
    QString path(const QString& name) const { return dir_->filePath(name); }
    std::unique_ptr<QTemporaryDir> dir_;
};

void PngTypesTest::typeFitsTheColours_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("colourType");   // 0 grey, 2 RGB, 3 palette, 4 grey and alpha, 6 RGBA
    QTest::addColumn<int>("bitDepth");
    QTest::addColumn<QRect>("hole");   // white pixels that stay opaque
    QTest::newRow("fill: one colour and transparency") << "many" << QStringList{"--fill", "navy"} << 3 << 1 << QRect();
    QTest::newRow("few colours") << "few" << QStringList{} << 3 << 4 << QRect();
    QTest::newRow("black and white, opaque") << "black and white" << QStringList{"--opaque"} << 0 << 1 << QRect();
    QTest::newRow("grey levels, opaque") << "grey" << QStringList{"--opaque"} << 0 << 8 << QRect();
    QTest::newRow("255 greys and transparency") << "grey" << QStringList{} << 3 << 8 << QRect();
    QTest::newRow("many colours, opaque") << "many" << QStringList{"--opaque"} << 2 << 8 << QRect();
    QTest::newRow("many colours and transparency") << "many" << QStringList{} << 6 << 8 << QRect();
    QTest::newRow("turned, from the picture in memory") << "many" << QStringList{"--fill", "red", "--rotate", "90"}
                                                         << 3 << 1 << QRect();
    QTest::newRow("--solid") << "few" << QStringList{"--solid", "--fill", "red"} << 3 << 1 << QRect();
    QTest::newRow("top-down BMP, from the file") << "top-down" << QStringList{"--fill", "red"} << 3 << 1 << QRect();
    QTest::newRow("--solid: the hole stays") << "frame" << QStringList{"--solid"} << 3 << 2 << kHole;
    QTest::newRow("--solid --fill: the hole filled") << "frame" << QStringList{"--solid", "--fill", "red"} << 3 << 1
                                                     << QRect();
    QTest::newRow("outline reaching the corner") << "frame" << QStringList{"--outline", "blue"} << 3 << 2 << QRect();
    QTest::newRow("--solid --outline") << "frame" << QStringList{"--solid", "--outline", "blue"} << 3 << 2 << kHole;
    QTest::newRow("turned: black comes to the corner") << "frame" << QStringList{"--rotate", "90"} << 3 << 1
                                                       << QRect();
}

// The file's type is the smallest that holds the result, and the pixels
// read back as the BMP of the same command's: the input's top-left colour
// (white) transparent unless --opaque, but for a hole kept by --solid.
void PngTypesTest::typeFitsTheColours() {
    QFETCH(QString, kind);
    QFETCH(QStringList, options);
    QFETCH(int, colourType);
    QFETCH(int, bitDepth);
    QFETCH(QRect, hole);
    // The BMP to compare with comes from a plain bottom-up copy of the input.
    saveAsBitmap(Bitmap(picture(kind)), path(QStringLiteral("in.bmp")));
    QVERIFY(QFile::copy(path(QStringLiteral("in.bmp")), path(QStringLiteral("plain.bmp"))));
    if (kind == QLatin1String("top-down"))
        QVERIFY(turnTopDown(path(QStringLiteral("in.bmp"))));
    QCOMPARE(runBatch(options + QStringList{"-o", "out.bmp", "plain.bmp"}, dir_->path()).err, QString());
    QCOMPARE(runBatch(options + QStringList{"-o", "out.png", "in.bmp"}, dir_->path()).err, QString());
    const Header header = headerOf(fileBytes(path(QStringLiteral("out.png"))));
    QCOMPARE(header.colourType, colourType);
    QCOMPARE(header.bitDepth, bitDepth);

    const bool opaque = options.contains(QStringLiteral("--opaque"));
    const QImage expected = QImage(path(QStringLiteral("out.bmp"))).convertToFormat(QImage::Format_RGB32);
    const QImage got = QImage(path(QStringLiteral("out.png"))).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(got.size(), expected.size());
    for (int y = 0; y < got.height(); ++y)
        for (int x = 0; x < got.width(); ++x) {
            const QRgb want = expected.pixel(x, y);
            const bool transparent = !opaque && want == qRgb(255, 255, 255) && !hole.contains(x, y);
            QCOMPARE(qAlpha(got.pixel(x, y)), transparent ? 0 : 255);
            if (!transparent)
                QCOMPARE(got.pixel(x, y), want);
        }
}

void PngTypesTest::resolutionRecorded_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("known");   // the BMP says 96 dots per inch, or nothing
    QTest::addColumn<qint64>("dotsPerMeter");
    QTest::newRow("the BMP's") << QStringList{"--fill", "black"} << true << qint64(3780);
    QTest::newRow("--dpi over the BMP's") << QStringList{"--dpi", "300"} << true << qint64(11811);
    QTest::newRow("none known") << QStringList{"--fill", "black"} << false << qint64(-1);
    QTest::newRow("--dpi alone") << QStringList{"--dpi", "72", "--rotate", "90"} << false << qint64(2835);
}

void PngTypesTest::resolutionRecorded() {
    QFETCH(QStringList, options);
    QFETCH(bool, known);
    QFETCH(qint64, dotsPerMeter);
    const QString input = QStringLiteral("in.bmp");
    saveAsBitmap(Bitmap(picture(QStringLiteral("few"))), path(input));
    if (!known) {
        QFile file(path(input));
        QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(38));
        QCOMPARE(file.write(QByteArray(8, '\0')), 8);
    }
    const ProcessRun run = runBatch(options + QStringList{"-o", "out.png", input}, dir_->path());
    QCOMPARE(run.err, QString());
    QCOMPARE(headerOf(fileBytes(path(QStringLiteral("out.png")))).dotsPerMeter, dotsPerMeter);
}

// Every colour and alpha of a many-coloured picture comes back.
void PngTypesTest::webpIsLossless() {
    const QImage source = picture(QStringLiteral("many"));
    saveAsBitmap(Bitmap(source), path(QStringLiteral("in.bmp")));
    for (const QString& output : {QStringLiteral("out.webp"), QStringLiteral("out.png")}) {
        const ProcessRun run = runBatch({"-o", output, "in.bmp"}, dir_->path());
        QCOMPARE(run.err, QString());
    }
    QCOMPARE(runBatch({"--type", "webp", "--out-dir", "typed", "in.bmp"}, dir_->path()).status, 0);
    const QImage webp = QImage(path(QStringLiteral("out.webp"))).convertToFormat(QImage::Format_ARGB32);
    const QImage png = QImage(path(QStringLiteral("out.png"))).convertToFormat(QImage::Format_ARGB32);
    QVERIFY(!webp.isNull());
    QCOMPARE(QImage(path(QStringLiteral("typed/in.webp"))).size(), source.size());
    for (int y = 0; y < png.height(); ++y)
        for (int x = 0; x < png.width(); ++x) {
            QCOMPARE(qAlpha(webp.pixel(x, y)), qAlpha(png.pixel(x, y)));
            if (qAlpha(png.pixel(x, y)) == 255)
                QCOMPARE(webp.pixel(x, y), png.pixel(x, y));
        }
}

PELMORA_TEST_MAIN(PngTypesTest)
#include "png_types_test.moc"
