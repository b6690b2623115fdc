// SPDX-License-Identifier: GPL-2.0-or-later
// Qt
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>
#include <QTest>

// Local
#include "batch_test.h"
#include "save_picture.h"

using namespace pelmora;

namespace {

constexpr QRgb kWhiteRgb = 0xFFFFFFFFu;

// 12 x 10 on white: a black frame around a white hole, a black pixel beside
// the top-left corner (so an outline paints the corner) and one in the
// bottom-left corner (so a quarter turn brings it to the top-left).
Bitmap framePicture() {
    QImage image(12, 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.fillRect(2, 2, 8, 6, Qt::black);
    painter.fillRect(4, 4, 4, 2, Qt::white);
    painter.end();
    image.setPixel(1, 0, qRgb(0, 0, 0));
    image.setPixel(0, 9, qRgb(0, 0, 0));
    return Bitmap(image);
}

// Clip art drawn without smoothing, black on white.
Bitmap clipArt(const QString& name) {
    QImage image(160, 120, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    if (name == QLatin1String("ring")) {
        QPainterPath ring;
        ring.addEllipse(QPointF(80, 60), 50, 45);
        ring.addEllipse(QPointF(80, 60), 25, 22);
        painter.drawPath(ring);
    } else if (name == QLatin1String("star")) {
        QPolygonF star;
        for (int i = 0; i < 10; ++i) {
            const double r = i % 2 ? 22 : 55;
            const double a = M_PI / 5 * i - M_PI / 2;
            star << QPointF(80 + r * std::cos(a), 62 + r * std::sin(a));
        }
        painter.drawPolygon(star);
    } else {   // a snowman with a white belly and white eyes
        painter.drawEllipse(QPointF(80, 85), 32, 30);
        painter.drawEllipse(QPointF(80, 38), 22, 21);
        painter.setBrush(Qt::white);
        painter.drawEllipse(QPointF(80, 87), 16, 15);
        painter.drawEllipse(QPointF(72, 33), 4, 4);
        painter.drawEllipse(QPointF(88, 33), 4, 4);
    }
    painter.end();
    return Bitmap(image);
}

QImage rendered(const QString& svgPath, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QSvgRenderer renderer(svgPath);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

} // namespace

void BatchTest::pngAlphaFollowsTheBackground_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QRect>("hole");   // white pixels that stay opaque
    QTest::addColumn<bool>("opaque");
    QTest::newRow("every white pixel") << QStringList{} << QRect() << false;
    QTest::newRow("--solid: the hole stays") << QStringList{"--solid"} << QRect(4, 4, 4, 2) << false;
    QTest::newRow("--opaque") << QStringList{"--opaque"} << QRect() << true;
    QTest::newRow("--solid --fill") << QStringList{"--solid", "--fill", "red"} << QRect() << false;
    QTest::newRow("outline reaching the corner") << QStringList{"--outline", "blue"} << QRect() << false;
    QTest::newRow("--solid --outline") << QStringList{"--solid", "--outline", "blue"} << QRect(4, 4, 4, 2) << false;
    QTest::newRow("turned: black comes to the corner") << QStringList{"--rotate", "90"} << QRect() << false;
}

// The PNG holds the BMP's colours; the input's top-left colour (white) is
// transparent, where the hole is kept only with --solid.
void BatchTest::pngAlphaFollowsTheBackground() {
    QFETCH(QStringList, options);
    QFETCH(QRect, hole);
    QFETCH(bool, opaque);
    saveAsBitmap(framePicture(), path(QStringLiteral("frame.bmp")));
    QCOMPARE(run(options + QStringList{"-o", "out.bmp", "frame.bmp"}).status, 0);
    const Run png = run(options + QStringList{"-o", "out.png", "frame.bmp"});
    QCOMPARE(png.err, QString());
    const Bitmap bitmap = read(QStringLiteral("out.bmp"));
    const QImage result(path(QStringLiteral("out.png")));
    QCOMPARE(result.size(), QSize(bitmap.width(), bitmap.height()));
    QCOMPARE(result.hasAlphaChannel(), !opaque);
    for (int y = 0; y < result.height(); ++y)
        for (int x = 0; x < result.width(); ++x) {
            const QRgb want = rgbFromColour(bitmap.pixel(x, y));
            const bool transparent = !opaque && want == kWhiteRgb && !hole.contains(x, y);
            const QRgb got = result.pixel(x, y);
            QCOMPARE(qAlpha(got), transparent ? 0 : 255);
            if (!transparent)
                QCOMPARE(got, want);
        }
}

void BatchTest::svgMatchesTheFilledBitmap_data() {
    QTest::addColumn<QString>("shape");
    QTest::addColumn<bool>("solid");
    for (const char* shape : {"ring", "star", "snowman"})
        for (const bool solid : {false, true})
            QTest::addRow("%s%s", shape, solid ? ", --solid" : "") << QString::fromLatin1(shape) << solid;
}

// Rendered back at the picture's size, the traced subject covers what the
// filled bitmap does, but for the curves' small departures at the edges.
void BatchTest::svgMatchesTheFilledBitmap() {
    QFETCH(QString, shape);
    QFETCH(bool, solid);
    saveAsBitmap(clipArt(shape), path(QStringLiteral("art.bmp")));
    const QStringList options = solid ? QStringList{"--solid", "--fill", "black"} : QStringList{"--fill", "black"};
    QCOMPARE(run(options + QStringList{"-o", "filled.bmp", "art.bmp"}).status, 0);
    const Run svg = run(options + QStringList{"-o", "traced.svg", "art.bmp"});
    QCOMPARE(svg.err, QString());
    const Bitmap filled = read(QStringLiteral("filled.bmp"));
    const QImage traced = rendered(path(QStringLiteral("traced.svg")), QSize(filled.width(), filled.height()));
    qint64 agree = 0;
    qint64 subject = 0;
    for (int y = 0; y < traced.height(); ++y)
        for (int x = 0; x < traced.width(); ++x) {
            const bool inFill = filled.pixel(x, y) == kBlack;
            subject += inFill;
            agree += inFill == (qGray(traced.pixel(x, y)) < 128);
        }
    QVERIFY(subject > 1000);
    QVERIFY2(agree * 100 >= qint64(traced.width()) * traced.height() * 98, qPrintable(QString::number(agree)));
}

// Width, height and viewBox are the picture's final size: a blank 30 x 20
// gives a valid, empty document; a disc turned and doubled, 40 x 60 stroked
// in the outline colour.
void BatchTest::svgDocument() {
    Bitmap picture = Bitmap::white(30, 20);
    saveAsBitmap(picture, path(QStringLiteral("blank.bmp")));
    QPainter painter(&picture.rgb32());
    painter.setBrush(Qt::black);
    painter.drawEllipse(QPointF(15, 10), 6, 6);
    painter.end();
    saveAsBitmap(picture, path(QStringLiteral("disc.bmp")));
    QCOMPARE(run({"--type", "svg", "--out-dir", "out", "blank.bmp"}).err, QString());
    QCOMPARE(run({"--outline", "navy", "--rotate", "90", "--scale", "200", "-o", "disc.svg", "disc.bmp"}).err, QString());
    const QByteArray blank = readFile(QStringLiteral("out/blank.svg")), disc = readFile(QStringLiteral("disc.svg"));
    QVERIFY(!blank.contains("<path"));
    QVERIFY2(disc.contains("fill=\"none\" stroke=\"#000080\""), disc.constData());
    for (const auto& [svg, size] : {std::pair(blank, QSize(30, 20)), std::pair(disc, QSize(40, 60))}) {
        QSvgRenderer renderer(svg);
        QVERIFY(renderer.isValid());
        QCOMPARE(renderer.defaultSize(), size);
        QCOMPARE(renderer.viewBoxF(), QRectF(QPointF(0, 0), size));
    }
}
