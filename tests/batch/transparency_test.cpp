// SPDX-License-Identifier: GPL-2.0-or-later
// pelmora-batch's background by transparency, by colour with a tolerance,
// soft edges and empty results, run as a user runs it.

// Qt
#include <QDirIterator>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

// Local
#include "batch_process.h"
#include "connected_background.h"
#include "fill.h"
#include "import_picture.h"
#include "outline.h"
#include "icon_file.h"
#include "png_output.h"
#include "shadow_rows.h"
#include "save_picture.h"
#include "test_main.h"

using namespace pelmora;
using namespace pelmora::batch;

namespace {

bool writePng(const QImage& image, const QString& path) {
    QImageWriter writer(path, "png");
    return writer.write(image);
}

// A PNG's pixels; the test's own PNGs differ from the program's in their
// resolution, which comes from the screen.
QImage pixelsOf(const QByteArray& png) {
    return QImage::fromData(png, "png").convertToFormat(QImage::Format_ARGB32);
}

// The subject of a mask: a disc and a bar, drawn without smoothing.
QImage subjectMask(QSize size) {
    QImage mask(size, QImage::Format_Grayscale8);
    mask.fill(0);
    QPainter painter(&mask);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(size.width() * 0.1, size.height() * 0.15, size.width() * 0.5, size.height() * 0.6));
    painter.drawRect(QRectF(size.width() * 0.5, size.height() * 0.55, size.width() * 0.4, size.height() * 0.25));
    return mask;
}

// Intersection over union of the mask's subject and the pixels at least
// half opaque.
double overlap(const QImage& mask, const QImage& result) {
    qint64 both = 0;
    qint64 either = 0;
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x) {
            const bool a = mask.pixelColor(x, y).value() > 127;
            const bool b = qAlpha(result.pixel(x, y)) >= 128;
            both += a && b;
            either += a || b;
        }
    return either ? double(both) / double(either) : 1;
}

} // namespace

class TransparencyTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    QString path(const QString& name) const { return dir_->filePath(name); }
    ProcessRun run(const QStringList& arguments) const { return runBatch(arguments, dir_->path()); }

private slots:
    void init() { dir_ = std::make_unique<QTemporaryDir>(); }

    // One row of pixels, each with its own alpha and colour; the result's
    // alpha where the fill is at least half opaque.
    void backgroundByTransparency_data() {
        QTest::addColumn<QList<QRgb>>("pixels");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("subject");   // 'x' subject, '.' background
        const QRgb clear = qRgba(255, 255, 255, 0);
        const QRgb white = qRgb(255, 255, 255);
        QTest::newRow("49, 50 and 51 %% of full")
            << QList<QRgb>{clear, qRgba(0, 0, 0, 125), qRgba(0, 0, 0, 127), qRgba(0, 0, 0, 128), qRgba(0, 0, 0, 130)}
            << QStringList{} << "...xx";
        QTest::newRow("threshold of 10 %") << QList<QRgb>{clear, qRgba(0, 0, 0, 25), qRgba(0, 0, 0, 26), clear}
                                           << QStringList{"--alpha-threshold", "10%", "--hard"} << "..x.";
        QTest::newRow("a white subject on transparency")
            << QList<QRgb>{clear, white, white, clear} << QStringList{} << ".xx.";
        QTest::newRow("an opaque corner that is subject")
            << QList<QRgb>{qRgb(200, 0, 0), clear, qRgb(200, 0, 0), qRgb(10, 10, 10)} << QStringList{} << "x.xx";
        QTest::newRow("faint glow is background")
            << QList<QRgb>{qRgba(0, 0, 0, 2), qRgb(0, 0, 0), qRgba(0, 0, 0, 2)} << QStringList{} << ".x.";
        QTest::newRow("background corner: white on white")
            << QList<QRgb>{clear, white, qRgb(0, 0, 0), clear} << QStringList{"--background", "corner"} << "..x.";
        QTest::newRow("a chosen colour over transparency")
            << QList<QRgb>{clear, qRgb(0, 0, 255), qRgb(0, 0, 0)} << QStringList{"--background", "blue"} << "x.x";
    }
    void backgroundByTransparency() {
        QFETCH(QList<QRgb>, pixels);
        QFETCH(QStringList, options);
        QFETCH(QString, subject);
        QImage image(int(pixels.size()), 3, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, 1, pixels[x]);
        QVERIFY(writePng(image, path("in.png")));
        const ProcessRun result = run(options + QStringList{"--fill", "#00ff00", "-o", "out.png", "in.png"});
        QCOMPARE(result.status, 0);
        const QImage out(path("out.png"));
        QString got;
        for (int x = 0; x < out.width(); ++x)
            got += qAlpha(out.pixel(x, 1)) >= 128 && (out.pixel(x, 1) & 0xFFFFFF) == 0x00FF00 ? 'x' : '.';
        QCOMPARE(got, subject);
    }

    // The edge keeps the input's alpha, the inside is opaque; --hard makes
    // the edge opaque; --solid fills a transparent hole.
    void edgeAlphaReadBack_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("edge");
        QTest::addColumn<int>("inside");
        QTest::addColumn<int>("hole");
        QTest::addColumn<int>("besideHole");
        QTest::newRow("soft") << QStringList{} << 200 << 255 << 0 << 180;
        QTest::newRow("hard") << QStringList{"--hard"} << 255 << 255 << 0 << 255;
        QTest::newRow("solid") << QStringList{"--solid"} << 200 << 255 << 255 << 255;
        QTest::newRow("turned") << QStringList{"--rotate", "180"} << 200 << 255 << 0 << 180;
    }
    void edgeAlphaReadBack() {
        QFETCH(QStringList, options);
        QFETCH(int, edge);
        QFETCH(int, inside);
        QFETCH(int, hole);
        QFETCH(int, besideHole);
        // A 9 x 9 square: an edge of alpha 200, alpha 180 within, a hole.
        QImage image(11, 11, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        for (int y = 1; y < 10; ++y)
            for (int x = 1; x < 10; ++x)
                image.setPixel(x, y, qRgba(20, 30, 40, x == 1 || y == 1 || x == 9 || y == 9 ? 200 : 180));
        image.setPixel(5, 5, qRgba(0, 0, 0, 0));
        QVERIFY(writePng(image, path("in.png")));
        QCOMPARE(run(options + QStringList{"--fill", "black", "-o", "out.png", "in.png"}).status, 0);
        const QImage out(path("out.png"));
        QCOMPARE(qAlpha(out.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(out.pixel(1, 5)), edge);
        QCOMPARE(qAlpha(out.pixel(3, 3)), inside);
        QCOMPARE(qAlpha(out.pixel(5, 5)), hole);
        QCOMPARE(qAlpha(out.pixel(4, 5)), besideHole);
    }

    // --smooth draws the traced curve back: a pixelated disc gets an
    // antialiased edge of about the disc's own area.
    void smoothEdgeFromTheCurves() {
        QImage image(64, 64, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawEllipse(QPointF(32, 32), 20, 20);
        painter.end();
        QVERIFY(writePng(image, path("disc.png")));
        int disc = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                disc += image.pixel(x, y) == qRgb(0, 0, 0);
        QCOMPARE(run({"--smooth", "--fill", "black", "-o", "out.png", "disc.png"}).status, 0);
        const QImage out(path("out.png"));
        int partial = 0;
        double cover = 0;
        for (int y = 0; y < out.height(); ++y)
            for (int x = 0; x < out.width(); ++x) {
                const int a = qAlpha(out.pixel(x, y));
                partial += a > 0 && a < 255;
                cover += a / 255.0;
                if (a > 0)
                    QCOMPARE(out.pixel(x, y) & 0xFFFFFF, 0u);
            }
        QVERIFY2(partial > 40, qPrintable(QString::number(partial)));
        QVERIFY2(std::abs(cover - disc) < disc * 0.03, qPrintable(QStringLiteral("%1 of %2").arg(cover).arg(disc)));
    }

    // A photo of a known subject on white, through JPEG.
    void photoWithTolerance_data() {
        QTest::addColumn<QColor>("subject");
        QTest::newRow("dark") << QColor(40, 60, 90);
        QTest::newRow("pale") << QColor(200, 170, 150);
    }
    void photoWithTolerance() {
        QFETCH(QColor, subject);
        const QImage mask = subjectMask(QSize(240, 180));
        QImage photo(mask.size(), QImage::Format_RGB32);
        photo.fill(Qt::white);
        QPainter painter(&photo);
        QLinearGradient shade(0, 0, 240, 180);
        shade.setColorAt(0, subject);
        shade.setColorAt(1, subject.darker(150));
        for (int y = 0; y < mask.height(); ++y)
            for (int x = 0; x < mask.width(); ++x)
                if (mask.pixelColor(x, y).value() > 127)
                    painter.fillRect(x, y, 1, 1, shade);
        painter.end();
        saveAsJpeg(Bitmap(photo), path("photo.jpg"));
        QCOMPARE(run({"--solid", "--fuzz", "10", "--despeckle", "20", "--fill", "black", "-o", "out.png", "photo.jpg"})
                     .status,
                 0);
        const double got = overlap(mask, QImage(path("out.png")));
        QVERIFY2(got >= 0.97, qPrintable(QString::number(got)));
    }

    void emptyResultIsWrittenAndSaid_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("input");
        QTest::newRow("all transparent") << QStringList{"--fill", "black", "-o", "out.png"} << "clear.png";
        QTest::newRow("one colour, svg") << QStringList{"--solid", "-o", "out.svg"} << "plain.png";
        QTest::newRow("all within the tolerance") << QStringList{"--fuzz", "50", "--fill", "red", "-o", "out.bmp"}
                                                  << "plain.png";
    }
    void emptyResultIsWrittenAndSaid() {
        QFETCH(QStringList, options);
        QFETCH(QString, input);
        QImage clear(5, 4, QImage::Format_ARGB32);
        clear.fill(qRgba(255, 255, 255, 0));
        QVERIFY(writePng(clear, path("clear.png")));
        QImage plain(5, 4, QImage::Format_RGB32);
        plain.fill(qRgb(90, 90, 90));
        QVERIFY(writePng(plain, path("plain.png")));
        const ProcessRun result = run(options + QStringList{input});
        QCOMPARE(result.status, 0);
        QCOMPARE(result.err, input + ": nothing but background: the result is empty\n");
        QVERIFY(QFile::exists(path(options.last())));
    }

    // --background corner keeps the rule of the top-left colour, with
    // transparency drawn on white: the result of the plain operations.
    void backgroundCornerIsTodaysRule_data() {
        QTest::addColumn<QString>("input");
        const QDir corpus(QStringLiteral(PELMORA_CORPUS_DIR "/ico"));
        if (!corpus.exists())
            QSKIP("no picture corpus");
        QDirIterator files(corpus.path(), {"*.ico"}, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString file = files.next();
            QTest::newRow(qPrintable(corpus.relativeFilePath(file))) << file;
        }
    }
    void backgroundCornerIsTodaysRule() {
        QFETCH(QString, input);
        Bitmap picture;
        try {
            picture = decodeIcon(fileBytes(input), IconPick::Largest);
        } catch (const std::exception&) {
            QSKIP("not a readable icon");
        }
        const QStringList corner{"--background", "corner", input};
        QCOMPARE(run(QStringList{"--solid", "--fill", "red", "-o", "a.png"} + corner).status, 0);
        const Background solid{picture.pixel(0, 0), true};
        QCOMPARE(pixelsOf(fileBytes(path("a.png"))), pixelsOf(encodePng(transparentRows(solidFilled(picture, 0x0000FF), picture, solid))));
        QCOMPARE(run(QStringList{"--outline", "navy", "-o", "b.png"} + corner).status, 0);
        const Background open{picture.pixel(0, 0), false};
        QCOMPARE(pixelsOf(fileBytes(path("b.png"))), pixelsOf(encodePng(transparentRows(outlined(picture, 0x800000), picture, open))));
        QCOMPARE(run(QStringList{"--fill", "red", "-o", "c.bmp"} + corner).status, 0);
        saveAsBitmap(filled(picture, 0x0000FF), path("d.bmp"));
        QCOMPARE(fileBytes(path("c.bmp")), fileBytes(path("d.bmp")));
    }
};

PELMORA_TEST_MAIN(TransparencyTest)
#include "transparency_test.moc"
