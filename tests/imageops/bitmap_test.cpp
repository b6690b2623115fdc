// Qt
#include <QGuiApplication>
#include <QTest>

// Local
#include "imageops/bitmap.h"
#include "imageops/pelmora_error.h"

using namespace pelmora;

class BitmapTest : public QObject {
    Q_OBJECT

private slots:
    void growingKeepsPixelsAndAddsWhite_data();
    void growingKeepsPixelsAndAddsWhite();
    void shrinkingToZeroAndBack();
    void copyIsIndependent();
    void largeCopyIsIndependent_data();
    void largeCopyIsIndependent();
    void writeOutsidePaletteWidensExactly_data();
    void writeOutsidePaletteWidensExactly();
    void systemColourIsStoredResolved();
    void alphaIsIgnored();
    void impossibleSizeThrows_data();
    void impossibleSizeThrows();
};

void BitmapTest::growingKeepsPixelsAndAddsWhite_data() {
    QTest::addColumn<QImage::Format>("format");
    QTest::newRow("rgb32") << QImage::Format_RGB32;
    QTest::newRow("rgb888") << QImage::Format_RGB888;
    QTest::newRow("indexed8") << QImage::Format_Indexed8;
    QTest::newRow("mono") << QImage::Format_Mono;
}

void BitmapTest::growingKeepsPixelsAndAddsWhite() {
    QFETCH(QImage::Format, format);
    QImage source(2, 2, format);
    if (source.depth() <= 8) {
        source.setColorTable({qRgb(0, 0, 0), qRgb(10, 20, 30)});
        source.fill(1u);
        source.setPixel(0, 0, 0u);
    } else {
        source.fill(qRgb(10, 20, 30));
        source.setPixel(0, 0, qRgb(0, 0, 0));
    }
    Bitmap b(source);
    b.setWidth(3);
    b.setHeight(3);
    QCOMPARE(b.width(), 3);
    QCOMPARE(b.height(), 3);
    QCOMPARE(b.pixel(0, 0), kBlack);
    QCOMPARE(b.pixel(1, 1), Colour(0x1E140A));
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(b.pixel(2, i), kWhite);
        QCOMPARE(b.pixel(i, 2), kWhite);
    }
}

void BitmapTest::shrinkingToZeroAndBack() {
    Bitmap b;
    QCOMPARE(b.width(), 0);
    QCOMPARE(b.height(), 0);
    b.setWidth(3);
    QCOMPARE(b.width(), 3);
    QCOMPARE(b.height(), 0);
    b.setHeight(2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            QCOMPARE(b.pixel(x, y), kWhite);
    b.setPixel(0, 0, 0x123456);
    b.setWidth(0);
    QVERIFY(b.isEmpty());
    QCOMPARE(b.height(), 2);
    b.setWidth(1);
    QCOMPARE(b.pixel(0, 0), kWhite);
}

void BitmapTest::copyIsIndependent() {
    Bitmap a = Bitmap::white(4, 4);
    Bitmap b = a;
    b.setPixel(1, 1, 0x0000FF);
    QCOMPARE(a.pixel(1, 1), kWhite);
    a.rgb32().setPixel(2, 2, qRgb(0, 255, 0));
    QCOMPARE(b.pixel(2, 2), kWhite);
    QCOMPARE(a.pixel(2, 2), Colour(0x00FF00));
}

void BitmapTest::largeCopyIsIndependent_data() {
    QTest::addColumn<QImage::Format>("format");
    QTest::newRow("rgb32") << QImage::Format_RGB32;
    QTest::newRow("indexed8") << QImage::Format_Indexed8;
}

// Pictures this large live in recycled memory; a copy still owns its pixels
// once written, and the memory of a picture that went away shows nowhere.
void BitmapTest::largeCopyIsIndependent() {
    QFETCH(QImage::Format, format);
    QImage image(1200, 1100, format);
    if (format == QImage::Format_Indexed8) {
        image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 255)});
        image.fill(0u);
    } else {
        image.fill(Qt::white);
    }
    const Bitmap a(image);
    for (int round = 0; round < 3; ++round) {
        Bitmap b = a;
        b.setPixel(5, 7, 0xFF0000);
        QCOMPARE(b.format(), format);
        b.rgb32().setPixel(9, 9, qRgb(1, 2, 3));
        QCOMPARE(b.pixel(5, 7), Colour(0xFF0000));
        QCOMPARE(b.pixel(9, 9), Colour(0x030201));
        QCOMPARE(a.pixel(5, 7), kWhite);
        QCOMPARE(a.pixel(9, 9), kWhite);
        Bitmap c = Bitmap::white(1200, 1100);
        QCOMPARE(c.pixel(5, 7), kWhite);
        QCOMPARE(c.pixel(1199, 1099), kWhite);
    }
}

void BitmapTest::writeOutsidePaletteWidensExactly_data() {
    QTest::addColumn<QImage::Format>("format");
    QTest::newRow("indexed8") << QImage::Format_Indexed8;
    QTest::newRow("mono") << QImage::Format_Mono;
    QTest::newRow("monolsb") << QImage::Format_MonoLSB;
}

void BitmapTest::writeOutsidePaletteWidensExactly() {
    QFETCH(QImage::Format, format);
    QImage source(5, 3, format);
    source.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    source.fill(1u);
    Bitmap b(source);
    b.setPixel(4, 0, kBlack);
    QCOMPARE(b.format(), format);
    b.setPixel(3, 2, 0x010203);
    QCOMPARE(b.pixel(3, 2), Colour(0x010203));
    QCOMPARE(b.pixel(4, 0), kBlack);
    QCOMPARE(b.pixel(0, 0), kWhite);
}

void BitmapTest::systemColourIsStoredResolved() {
    Bitmap b = Bitmap::white(1, 1);
    b.setPixel(0, 0, clWindowText);
    QVERIFY(b.pixel(0, 0) >= 0);
    QCOMPARE(b.pixel(0, 0), resolveColour(clWindowText));
}

void BitmapTest::alphaIsIgnored() {
    QImage source(2, 1, QImage::Format_ARGB32);
    source.setPixel(0, 0, qRgba(10, 20, 30, 0));
    source.setPixel(1, 0, qRgba(10, 20, 30, 255));
    Bitmap b(source);
    QCOMPARE(b.pixel(0, 0), b.pixel(1, 0));
    QCOMPARE(b.pixel(0, 0), Colour(0x1E140A));
}

void BitmapTest::impossibleSizeThrows_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("too wide for a line") << 0x7FFFFFFF << 1;
    QTest::newRow("beyond memory") << 0x7FFFFFF << 0x7FFFFFF;
}

void BitmapTest::impossibleSizeThrows() {
    QFETCH(int, width);
    QFETCH(int, height);
    Bitmap b = Bitmap::white(2, 2);
    QVERIFY_THROWS_EXCEPTION(PelmoraError, {
        b.setWidth(width);
        b.setHeight(height);
    });
    QVERIFY_THROWS_EXCEPTION(PelmoraError, Bitmap::white(width, height));
}

int runBitmapTests(int argc, char** argv) {
    BitmapTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "bitmap_test.moc"
