// SPDX-License-Identifier: GPL-2.0-or-later
// The traced outputs (SVG, PDF, DXF) and --offset, read back by other
// programs: QtSvg, poppler's pdftoppm and pdfinfo, and ezdxf.

// Qt
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>

// Local
#include "batch_process.h"
#include "bitmap.h"
#include "save_picture.h"
#include "test_main.h"

// Std
#include <cmath>

using namespace pelmora;

namespace {

constexpr double kMmPerPixelAt96 = 25.4 / 96;

// Black shapes on white, drawn without smoothing; the BMP says 96 dots per inch.
QImage shapes(const QString& name, QSize size = QSize(160, 120)) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    if (name == QLatin1String("holed")) {   // curves outside, straight edges within
        painter.drawEllipse(QPointF(80, 60), 55, 40);
        painter.fillRect(60, 45, 40, 30, Qt::white);
    } else if (name == QLatin1String("bars")) {
        painter.drawRect(20, 30, 40, 60);
        painter.drawRect(90, 10, 50, 20);
    } else {
        painter.end();
        // A disc of radius 20 about (80, 60): the pixels whose centres lie within it.
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                if (std::hypot(x - 80, y - 60) <= 20)
                    image.setPixel(x, y, qRgb(0, 0, 0));
    }
    return image;
}

// The pixels darker than mid-grey, drawn on white where transparent.
QImage blackness(const QImage& image) {
    QImage out(image.size(), QImage::Format_Grayscale8);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            out.scanLine(y)[x] = qAlpha(c) > 127 && qGray(c) < 128 ? 255 : 0;
        }
    return out;
}

double agreement(const QImage& a, const QImage& b) {
    qint64 same = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            same += (qGray(a.pixel(x, y)) > 0) == (qGray(b.pixel(x, y)) > 0);
    return double(same) / (qint64(a.width()) * a.height());
}

// The radius of a disc of the same area as the dark pixels.
double discRadius(const QImage& dark) {
    qint64 count = 0;
    for (int y = 0; y < dark.height(); ++y)
        for (int x = 0; x < dark.width(); ++x)
            count += qGray(dark.pixel(x, y)) > 0;
    return std::sqrt(count / M_PI);
}

QImage renderedSvg(const QString& path, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QSvgRenderer renderer(path);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

} // namespace

class VectorOutputsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { dir_ = std::make_unique<QTemporaryDir>(); }

    void tracedMatchesTheFill_data();
    void tracedMatchesTheFill();
    void dxfExtentsAreTheSubjects();
    void offsetDiscIsALargerDisc_data();
    void offsetDiscIsALargerDisc();
    void outlineAtOffsetAsPixels();
    void shrinkingAwayIsAFailure();
    void printAndCut();
    void smoothnessZeroGivesPolygons();

private:
    QString path(const QString& name) const { return dir_->filePath(name); }
    ProcessRun batch(const QStringList& arguments) const { return runBatch(arguments, dir_->path()); }
    void writeShapes(const QString& name) const {
        saveAsBitmap(Bitmap(shapes(name)), path(QStringLiteral("in.bmp")));
    }
    std::unique_ptr<QTemporaryDir> dir_;
};

void VectorOutputsTest::tracedMatchesTheFill_data() {
    QTest::addColumn<QString>("shape");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("output");
    QTest::newRow("PDF, holed") << "holed" << QStringList{"--fill", "black"} << "out.pdf";
    QTest::newRow("PDF, bars, typed") << "bars" << QStringList{"--type", "pdf"} << "out.pdf";
    QTest::newRow("PDF, holed at 192 dpi") << "holed" << QStringList{"--dpi", "192"} << "out.pdf";
    QTest::newRow("SVG, holed") << "holed" << QStringList{"--fill", "black"} << "out.svg";
    QTest::newRow("SVG, holed, --solid") << "holed" << QStringList{"--solid", "--fill", "black"} << "out.svg";
    QTest::newRow("SVG, bars") << "bars" << QStringList() << "out.svg";
}

// Rendered back at the page's own resolution, the traced subject covers
// what the filled bitmap does but for the curves' small departures; a PDF's
// page is the picture's size on paper. --solid fills the hole.
void VectorOutputsTest::tracedMatchesTheFill() {
    QFETCH(QString, shape);
    QFETCH(QStringList, options);
    QFETCH(QString, output);
    writeShapes(shape);
    QCOMPARE(batch(options + QStringList{"-o", output, "in.bmp"}).err, QString());
    QImage expected = shapes(shape);
    if (options.contains(QStringLiteral("--solid")))
        QPainter(&expected).fillRect(60, 45, 40, 30, Qt::black);
    QImage page;
    if (output.endsWith(QLatin1String(".svg"))) {
        page = renderedSvg(path(output), QSize(160, 120));
    } else {
        const bool dpi192 = options.contains(QStringLiteral("192"));
        const ProcessRun info = runProcess(QStringLiteral("pdfinfo"), {output}, dir_->path());
        const QRegularExpressionMatch size = QRegularExpression(QStringLiteral("Page size: +([0-9.]+) x ([0-9.]+) pts"))
                                                 .match(QString::fromLatin1(info.out));
        QVERIFY2(size.hasMatch(), info.out.constData());
        const double mmPerPixel = kMmPerPixelAt96 / (dpi192 ? 2 : 1);
        QVERIFY(std::abs(size.captured(1).toDouble() * 25.4 / 72 - 160 * mmPerPixel) < 0.1);
        QVERIFY(std::abs(size.captured(2).toDouble() * 25.4 / 72 - 120 * mmPerPixel) < 0.1);
        const ProcessRun render = runProcess(QStringLiteral("pdftoppm"),
                                             {"-r", dpi192 ? "192" : "96", "-png", "-singlefile", output, "page"},
                                             dir_->path());
        QCOMPARE(render.status, 0);
        page = QImage(path(QStringLiteral("page.png")));
    }
    QCOMPARE(page.size(), QSize(160, 120));
    const double agree = agreement(blackness(page), blackness(expected));
    QVERIFY2(agree >= 0.98, qPrintable(QString::number(agree)));
}

// ezdxf finds closed polylines on one layer whose extents, in millimetres
// with y upwards, are the bars' (the tracer keeps straight edges on the
// pixel edges).
void VectorOutputsTest::dxfExtentsAreTheSubjects() {
    writeShapes(QStringLiteral("bars"));
    QCOMPARE(batch({"-o", "out.dxf", "in.bmp"}).err, QString());
    const QString script = QStringLiteral(
        "import sys, ezdxf\n"
        "from ezdxf import bbox\n"
        "doc = ezdxf.readfile(sys.argv[1])\n"
        "shapes = list(doc.modelspace())\n"
        "box = bbox.extents(shapes)\n"
        "print(len(shapes), all(s.dxftype() == 'LWPOLYLINE' and s.closed for s in shapes),\n"
        "      len({s.dxf.layer for s in shapes}), doc.header.get('$INSUNITS'),\n"
        "      box.extmin.x, box.extmin.y, box.extmax.x, box.extmax.y)\n");
    const ProcessRun read = runProcess(QStringLiteral(PELMORA_PYTHON), {"-c", script, "out.dxf"}, dir_->path());
    QVERIFY2(read.status == 0, qPrintable(read.err));
    const QStringList facts = QString::fromLatin1(read.out).simplified().split(QLatin1Char(' '));
    QCOMPARE(facts.mid(0, 4), (QStringList{"2", "True", "1", "4"}));
    // Bars from x 20 to 140, y 10 to 90 of 120 rows.
    const double expected[] = {20, 120 - 90, 140, 120 - 10};
    for (int i = 0; i < 4; ++i)
        QVERIFY2(std::abs(facts[4 + i].toDouble() - expected[i] * kMmPerPixelAt96) < 0.06, qPrintable(facts.join(' ')));
}

void VectorOutputsTest::offsetDiscIsALargerDisc_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<double>("radius");   // of the result, in pixels of the picture
    QTest::addColumn<QSize>("size");
    QTest::newRow("grown 8") << QStringList{"--offset", "8"} << 28.0 << QSize(176, 136);
    QTest::newRow("grown 8px") << QStringList{"--offset", "8px"} << 28.0 << QSize(176, 136);
    QTest::newRow("grown 2.116402mm at the BMP's 3780 per metre") << QStringList{"--offset", "2.116402mm"} << 28.0
                                                                << QSize(176, 136);
    QTest::newRow("grown 0.8mm at --dpi 254") << QStringList{"--offset", "0.8mm", "--dpi", "254"} << 28.0
                                              << QSize(176, 136);
    QTest::newRow("shrunk 7.5") << QStringList{"--offset", "-7.5"} << 12.5 << QSize(160, 120);
}

// A disc of radius 20 grown by d is a disc of radius 20 + d, within half a
// pixel, on a canvas grown by d on every side: as a bitmap, and traced and
// rendered back.
void VectorOutputsTest::offsetDiscIsALargerDisc() {
    QFETCH(QStringList, options);
    QFETCH(double, radius);
    QFETCH(QSize, size);
    writeShapes(QStringLiteral("disc"));
    QCOMPARE(batch(options + QStringList{"--fill", "black", "-o", "out.png", "in.bmp"}).err, QString());
    QCOMPARE(batch(options + QStringList{"-o", "out.svg", "in.bmp"}).err, QString());
    const QImage bitmap(path(QStringLiteral("out.png")));
    QCOMPARE(bitmap.size(), size);
    const QImage dark = blackness(bitmap);
    QVERIFY2(std::abs(discRadius(dark) - radius) < 0.5, qPrintable(QString::number(discRadius(dark))));
    const QPointF centre(80 + (size.width() - 160) / 2, 60 + (size.height() - 120) / 2);
    for (int y = 0; y < dark.height(); ++y)
        for (int x = 0; x < dark.width(); ++x) {
            const double r = std::hypot(x - centre.x(), y - centre.y());
            if (std::abs(r - radius) > 1)
                QCOMPARE(qGray(dark.pixel(x, y)) > 0, r < radius);
        }
    const QImage traced = blackness(renderedSvg(path(QStringLiteral("out.svg")), size));
    QVERIFY2(std::abs(discRadius(traced) - radius) < 0.5, qPrintable(QString::number(discRadius(traced))));
}

// As pixels, the line runs just outside the disc grown by 4, the picture
// inside it as it was and the ground between them transparent.
void VectorOutputsTest::outlineAtOffsetAsPixels() {
    writeShapes(QStringLiteral("disc"));
    QCOMPARE(batch({"--outline", "blue", "--offset", "4", "-o", "out.png", "in.bmp"}).err, QString());
    const QImage result(path(QStringLiteral("out.png")));
    QCOMPARE(result.size(), QSize(168, 128));
    for (int y = 0; y < result.height(); ++y)
        for (int x = 0; x < result.width(); ++x) {
            const double r = std::hypot(x - 84, y - 64);
            const QRgb got = result.pixel(x, y);
            if (r <= 20)
                QCOMPARE(got, qRgb(0, 0, 0));
            else if (r > 20.5 && r < 23.5)
                QCOMPARE(qAlpha(got), 0);
            else if (r > 26.5)
                QCOMPARE(qAlpha(got), 0);
        }
    for (const QPoint& onLine : {QPoint(84 + 25, 64), QPoint(84 - 25, 64), QPoint(84, 64 + 25), QPoint(84, 64 - 25)})
        QCOMPARE(result.pixel(onLine), qRgb(0, 0, 255));
}

// Shrinking by more than the disc's radius leaves nothing, and says so.
void VectorOutputsTest::shrinkingAwayIsAFailure() {
    writeShapes(QStringLiteral("disc"));
    for (const char* output : {"out.png", "out.svg"}) {
        const ProcessRun run = batch({"--offset", "-21", "-o", output, "in.bmp"});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains(QStringLiteral("the offset leaves nothing of the subject")), qPrintable(run.err));
        QVERIFY(!QFile::exists(path(QString::fromLatin1(output))));
    }
}

// The picture at its true size under a cut line at the offset, in SVG the
// line named CutContour: rendered back, the picture shows inside and the
// line around it, 3 mm out.
void VectorOutputsTest::printAndCut() {
    QImage picture = shapes(QStringLiteral("disc"));
    picture.setPixel(80, 60, qRgb(255, 0, 0));
    saveAsBitmap(Bitmap(picture), path(QStringLiteral("in.bmp")));
    QCOMPARE(batch({"--with-picture", "--outline", "blue", "--offset", "3mm", "-o", "out.svg", "in.bmp"}).err,
             QString());
    const QByteArray svg = fileBytes(path(QStringLiteral("out.svg")));
    QVERIFY(svg.contains("<path id=\"CutContour\" fill=\"none\" stroke=\"#0000ff\""));
    // 3 mm at 96 dots per inch: 11.34 pixels, the canvas 12 wider each side.
    QVERIFY2(svg.contains("viewBox=\"0 0 184 144\""), svg.left(400).constData());
    const QImage page = renderedSvg(path(QStringLiteral("out.svg")), QSize(184, 144));
    QCOMPARE(page.pixel(92, 72), qRgb(255, 0, 0));
    QCOMPARE(page.pixel(92 + 10, 72), qRgb(0, 0, 0));
    const int lineAt = 92 + 20 + 11;
    QVERIFY(qBlue(page.pixel(lineAt, 72)) > 128 && qRed(page.pixel(lineAt, 72)) < 128);
    QCOMPARE(batch({"--with-picture", "-o", "out.png", "in.bmp"}).status, 1);

    // The PDF's picture is kept exactly, not recompressed as JPEG.
    QCOMPARE(batch({"--with-picture", "--outline", "blue", "--offset", "3mm", "-o", "out.pdf", "in.bmp"}).err,
             QString());
    QCOMPARE(runProcess(QStringLiteral("pdftoppm"), {"-r", "96", "-png", "-singlefile", "out.pdf", "page"}, dir_->path())
                 .status,
             0);
    const QImage printed(path(QStringLiteral("page.png")));
    QCOMPARE(printed.size(), QSize(184, 144));
    QCOMPARE(printed.pixel(92, 72), qRgb(255, 0, 0));
    QCOMPARE(printed.pixel(92 + 10, 72), qRgb(0, 0, 0));
    QVERIFY(qBlue(printed.pixel(lineAt, 72)) > 128 && qRed(printed.pixel(lineAt, 72)) < 128);
}

void VectorOutputsTest::smoothnessZeroGivesPolygons() {
    writeShapes(QStringLiteral("holed"));
    QCOMPARE(batch({"--smoothness", "0", "-o", "corners.svg", "in.bmp"}).err, QString());
    QCOMPARE(batch({"-o", "curves.svg", "in.bmp"}).err, QString());
    QVERIFY(!fileBytes(path(QStringLiteral("corners.svg"))).contains('C'));
    QVERIFY(fileBytes(path(QStringLiteral("curves.svg"))).contains('C'));
    QCOMPARE(batch({"--smoothness", "1.5", "-o", "x.svg", "in.bmp"}).status, 2);
}

PELMORA_TEST_MAIN(VectorOutputsTest)
#include "vector_outputs_test.moc"
