// SPDX-License-Identifier: GPL-2.0-or-later
// Qt
#include <QTest>

// Local
#include "fill.h"
#include "outline.h"
#include "pelmora_error.h"
#include "imageops_test.h"
#include "test_pictures.h"
#include "test_main.h"

using namespace pelmora;
using namespace pelmora::test;

void ImageOpsTest::bitmapFormats_data() {
    QTest::addColumn<QImage::Format>("format");
    QTest::addColumn<QImage::Format>("held");
    QTest::addColumn<QSize>("size");  // of the copied picture; from a megabyte on, memory is recycled
    QTest::newRow("rgb32") << QImage::Format_RGB32 << QImage::Format_RGB32 << QSize(4, 4);
    QTest::newRow("large rgb32") << QImage::Format_RGB32 << QImage::Format_RGB32 << QSize(1200, 1100);
    QTest::newRow("rgb888") << QImage::Format_RGB888 << QImage::Format_RGB888 << QSize(4, 4);
    QTest::newRow("argb32, alpha ignored") << QImage::Format_ARGB32 << QImage::Format_RGB32 << QSize(4, 4);
    QTest::newRow("indexed8") << QImage::Format_Indexed8 << QImage::Format_Indexed8 << QSize(1200, 1100);
    QTest::newRow("mono") << QImage::Format_Mono << QImage::Format_Mono << QSize(4, 4);
    QTest::newRow("mono lsb") << QImage::Format_MonoLSB << QImage::Format_MonoLSB << QSize(4, 4);
}

// Resizing one dimension at a time, writing colours a palette lacks, and
// copies and results that share no pixels with their source.
void ImageOpsTest::bitmapFormats() {
    QFETCH(QImage::Format, format);
    QFETCH(QSize, size);
    QImage source = pictureFromRows("#b|bb").image().convertToFormat(format, {qRgb(0, 0, 0), qRgb(0, 0, 255)});
    if (format == QImage::Format_ARGB32)
        source.setPixel(1, 1, qRgba(0, 0, 255, 0));
    Bitmap b(source);
    b.setPixel(1, 0, kBlack);
    QTEST(b.format(), "held");
    b.setWidth(3);
    QCOMPARE(b.height(), 2);
    b.setHeight(3);
    QCOMPARE(rowsOfPicture(b), QStringLiteral("##.|bb.|..."));
    b.setPixel(2, 2, 0x010203);
    b.setPixel(2, 1, clWindowText);
    QCOMPARE(b.pixel(2, 2), Colour(0x010203));
    QCOMPARE(b.pixel(2, 1), paletteColour(QPalette::Text));
    QCOMPARE(b.pixel(1, 1), kBlue);
    b.setWidth(0);
    QVERIFY(b.width() == 0 && b.height() == 3);
    b.setWidth(1);
    QCOMPARE(b.pixel(0, 0), kWhite);

    Bitmap picture = Bitmap::white(size.width(), size.height());
    picture.setPixel(1, 1, kBlack);
    const Bitmap a(picture.image().convertToFormat(format));
    const int right = size.width() - 1, bottom = size.height() - 1;
    // A spare's zeroed pages must not show either.
    prepareSpareRgb32(size.width(), size.height());
    {
        Bitmap c = a;
        c.setPixel(0, 1, kBlack);
        c.rgb32().setPixel(right, bottom, qRgb(1, 2, 3));
        QCOMPARE(c.pixel(0, 1), kBlack);
        QCOMPARE(c.pixel(right, bottom), Colour(0x030201));
    }
    // The results may take the copy's memory: none of it shows.
    QCOMPARE(outlined(a, kRed).pixel(1, 0), kRed);
    QCOMPARE(outlined(a, kRed).pixel(right, bottom), kWhite);
    QCOMPARE(filled(a, kRed).pixel(1, 1), kRed);
    QCOMPARE(Bitmap::white(size.width(), size.height()).pixel(right, bottom), kWhite);
    QVERIFY(a == picture);
}

void ImageOpsTest::impossibleSizeThrows() {
    // Too wide for a line, and beyond memory.
    for (const QSize size : {QSize(0x7FFFFFFF, 1), QSize(0x7FFFFFF, 0x7FFFFFF)}) {
        Bitmap b = Bitmap::white(2, 2);
        QVERIFY_THROWS_EXCEPTION(PelmoraError, (b.setWidth(size.width()), b.setHeight(size.height())));
        QVERIFY_THROWS_EXCEPTION(PelmoraError, Bitmap::white(size.width(), size.height()));
    }
}

PELMORA_TEST_MAIN(ImageOpsTest)
