// SPDX-License-Identifier: GPL-2.0-or-later
// Qt
#include <QPainter>
#include <QtTest>

// Local
#include "metafile.h"
#include "pelmora_error.h"
#include "metafile_builders.h"
#include "test_main.h"

namespace pelmora {

using namespace test;

namespace {

// Each channel within tolerance of the wanted one.
bool near(Colour got, Colour want, int tolerance = 2) {
    for (int shift : {0, 8, 16})
        if (std::abs(int(got >> shift & 0xFF) - int(want >> shift & 0xFF)) > tolerance)
            return false;
    return true;
}

QString hex(Colour c) { return QStringLiteral("%1").arg(c, 6, 16, QLatin1Char('0')); }

// EMR_ALPHABLEND of a whole DIB onto a destination box.
QByteArray alphaBlend(const QRect& to, int width, int height, const QByteArray& info, const QByteArray& bits,
                      int constantAlpha, bool perPixel) {
    const qint32 blend = constantAlpha << 16 | (perPixel ? 1 << 24 : 0);
    return words({0, 0, 0, 0, to.x(), to.y(), to.width(), to.height(), blend, 0, 0, 0x3F800000, 0, 0, 0x3F800000,
                  0, 0, 0, 0, 108, qint32(info.size()), qint32(108 + info.size()), qint32(bits.size()), width,
                  height})
        + info + bits;
}

// The drawn (non-white) pixels, cropped to their bounding box.
QImage ink(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFFu) != 0xFFFFFFu)
                box |= QRect(x, y, 1, 1);
    QImage mask(box.size(), QImage::Format_Mono);
    mask.fill(0);
    for (int y = 0; y < box.height(); ++y)
        for (int x = 0; x < box.width(); ++x)
            if ((image.pixel(box.x() + x, box.y() + y) & 0xFFFFFFu) != 0xFFFFFFu)
                mask.setPixel(x, y, 1);
    return mask;
}

// One character drawn by Qt in Symbola, the face symbol fonts are drawn with.
QImage reference(const QString& character, int pixelSize) {
    QImage image(200, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont f(QStringLiteral("Symbola"));
    f.setPixelSize(pixelSize);
    f.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(f);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(50, 150), character);
    return ink(image);
}

} // namespace

class GdiRecordsTest : public QObject {
    Q_OBJECT

private slots:
    void alphaBlendPixels_data();
    void alphaBlendPixels();
    void stretchMode_data();
    void stretchMode();
    void floodFill_data();
    void floodFill();
    void paletteColour_data();
    void paletteColour();
    void plgBlt_data();
    void plgBlt();
    void symbolText_data();
    void symbolText();
    void polyTextOut();
    void wmfPatternBrush();
};

void GdiRecordsTest::alphaBlendPixels_data() {
    QTest::addColumn<int>("bitCount");
    QTest::addColumn<QByteArray>("bits");   // one row of two pixels
    QTest::addColumn<int>("constantAlpha");
    QTest::addColumn<bool>("perPixel");
    QTest::addColumn<Colour>("left");
    QTest::addColumn<Colour>("right");
    // Over blue. Red at half constant alpha: half red, half blue.
    QTest::newRow("50 % constant alpha") << 24 << QByteArray::fromHex("0000FF00FF000000") << 128 << false
                                         << Colour(0x7F0080) << Colour(0x7F8000);
    // Premultiplied half red (alpha 0x80), then a fully transparent pixel.
    QTest::newRow("per-pixel alpha") << 32 << QByteArray::fromHex("0000808000000000") << 255 << true
                                     << Colour(0x7F0080) << blue;
    QTest::newRow("per-pixel and constant alpha") << 32 << QByteArray::fromHex("0000808000000000") << 128 << true
                                                  << Colour(0xBF0040) << blue;
    // Without AC_SRC_ALPHA the fourth byte is not alpha.
    QTest::newRow("32-bit without per-pixel alpha") << 32 << QByteArray::fromHex("0000FF0000FF0000") << 255 << false
                                                    << red << green;
    // A 24-bit DIB has no alpha to use.
    QTest::newRow("24-bit asking for per-pixel alpha") << 24 << QByteArray::fromHex("0000FF00FF000000") << 255
                                                       << true << red << green;
    QTest::newRow("no constant alpha draws nothing") << 24 << QByteArray::fromHex("0000FF00FF000000") << 0 << false
                                                     << blue << blue;
}

void GdiRecordsTest::alphaBlendPixels() {
    QFETCH(int, bitCount);
    QFETCH(QByteArray, bits);
    QFETCH(int, constantAlpha);
    QFETCH(bool, perPixel);
    QFETCH(Colour, left);
    QFETCH(Colour, right);
    EmfBuilder b = emf100();
    b.solidBrush(blue).record(emrRectangle, {0, 0, 101, 101}).rawRecord(emrAlphaBlend, alphaBlend(QRect(10, 10, 40, 20), 2, 1, infoHeader(2, 1, bitCount, 0, {}),
                                                       bits, constantAlpha, perPixel));
    const Bitmap picture = importMetafile(b.bytes());
    for (const QPoint& p : {QPoint(10, 10), QPoint(29, 29)})
        QVERIFY2(near(picture.pixel(p.x(), p.y()), left), qPrintable(hex(picture.pixel(p.x(), p.y()))));
    for (const QPoint& p : {QPoint(30, 10), QPoint(49, 29)})
        QVERIFY2(near(picture.pixel(p.x(), p.y()), right), qPrintable(hex(picture.pixel(p.x(), p.y()))));
    QCOMPARE(picture.pixel(50, 10), blue);
    QCOMPARE(picture.pixel(10, 30), blue);
}

void GdiRecordsTest::stretchMode_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("averaged");
    QTest::newRow("HALFTONE averages") << 4 << true;
    QTest::newRow("COLORONCOLOR picks") << 3 << false;
    QTest::newRow("BLACKONWHITE picks") << 1 << false;
}

void GdiRecordsTest::stretchMode() {
    // Twenty columns, black and white in turn, shrunk to ten.
    QFETCH(int, mode);
    QFETCH(bool, averaged);
    QByteArray row;
    for (int x = 0; x < 20; ++x)
        row.append(QByteArray(3, x % 2 ? '\xFF' : '\0'));
    EmfBuilder b = emf100();
    b.record(emrSetStretchBltMode, {mode})
        .rawRecord(emrStretchDiBits, stretchDiBits(QRect(10, 10, 10, 10), 20, 1, infoHeader(20, 1, 24, 0, {}), row));
    const Bitmap picture = importMetafile(b.bytes());
    for (int y = 10; y < 20; ++y)
        for (int x = 10; x < 20; ++x) {
            const Colour c = picture.pixel(x, y);
            if (averaged)
                QVERIFY2(near(c, 0x808080, 3), qPrintable(hex(c)));
            else
                QVERIFY2(c == 0 || c == white, qPrintable(hex(c)));
        }
}

void GdiRecordsTest::floodFill_data() {
    QTest::addColumn<QPoint>("seed");
    QTest::addColumn<Colour>("colour");
    QTest::addColumn<int>("mode");           // 0 border, 1 surface
    QTest::addColumn<Colour>("inside");
    QTest::addColumn<Colour>("outside");
    // A red ring (the outline of (20, 20)-(80, 80)) on white; the brush is blue.
    QTest::newRow("border: the ring's inside") << QPoint(50, 50) << red << 0 << blue << white;
    QTest::newRow("border: the outside") << QPoint(5, 5) << red << 0 << white << blue;
    QTest::newRow("surface: white inside") << QPoint(50, 50) << white << 1 << blue << white;
    QTest::newRow("surface: seed not of the colour") << QPoint(50, 50) << green << 1 << white << white;
    QTest::newRow("border: seed on the border") << QPoint(20, 50) << red << 0 << white << white;
    // Then green over the blue the first fill left.
    QTest::newRow("border, then surface over it") << QPoint(50, 50) << red << 0 << green << white;
}

void GdiRecordsTest::floodFill() {
    QFETCH(QPoint, seed);
    QFETCH(Colour, colour);
    QFETCH(int, mode);
    QFETCH(Colour, inside);
    QFETCH(Colour, outside);
    EmfBuilder b = emf100();
    b.record(emrCreatePen, {1, 0, 1, 0, qint32(red)})
        .record(emrSelectObject, {1})
        .record(emrSelectObject, {nullBrush})
        .record(emrRectangle, {20, 20, 80, 80})
        .record(emrCreateBrush, {2, 0, qint32(blue), 0})
        .record(emrSelectObject, {2})
        .record(emrExtFloodFill, {seed.x(), seed.y(), qint32(colour), mode});
    if (inside == green)   // the row that fills again
        b.record(emrCreateBrush, {3, 0, qint32(green), 0})
            .record(emrSelectObject, {3})
            .record(emrExtFloodFill, {50, 50, qint32(blue), 1});
    const Bitmap picture = importMetafile(b.bytes());
    QCOMPARE(picture.pixel(20, 50), red);
    QCOMPARE(picture.pixel(79, 79), red);
    for (const QPoint& p : {QPoint(21, 21), QPoint(50, 50), QPoint(78, 78)})
        QCOMPARE(picture.pixel(p.x(), p.y()), inside);
    for (const QPoint& p : {QPoint(0, 0), QPoint(19, 50), QPoint(80, 80), QPoint(99, 99)})
        QCOMPARE(picture.pixel(p.x(), p.y()), outside);

    // The WMF record fills up to a border the same way.
    if (mode == 0 && seed == QPoint(50, 50) && inside == blue) {
        WmfBuilder w(0, 0, 100, 100, 96, 4);
        w.record(wmfCreatePen, {0, 1, 0, 0x00FF, 0})
            .record(wmfSelectObject, {0})
            .record(wmfCreateBrush, {1, 0, 0, 0})   // BS_NULL
            .record(wmfSelectObject, {1})
            .record(wmfRectangle, {80, 80, 20, 20})
            .record(wmfCreateBrush, {0, 0, 0xFF, 0})
            .record(wmfSelectObject, {2})
            .record(wmfFloodFill, {0x00FF, 0, 50, 50});
        const Bitmap wmf = importMetafile(w.bytes());
        QCOMPARE(wmf.pixel(50, 50), blue);
        QCOMPARE(wmf.pixel(5, 5), white);
    }
}

void GdiRecordsTest::paletteColour_data() {
    QTest::addColumn<QList<QList<qint32>>>("records");   // type, then words, before the brush
    QTest::addColumn<qint32>("colourRef");
    QTest::addColumn<Colour>("filled");
    // Palette 1 of three entries: red, green, blue (red, green, blue, flags bytes).
    const QList<qint32> palette{emrCreatePalette, 3, 0x00030300, 0x000000FF, 0x0000FF00, 0x00FF0000};
    const QList<qint32> select{emrSelectPalette, 3};
    QTest::newRow("index into the selected palette") << QList<QList<qint32>>{palette, select} << 0x01000001 << green;
    QTest::newRow("index past its end takes the first") << QList<QList<qint32>>{palette, select} << 0x01000007 << red;
    QTest::newRow("palette-relative takes the nearest") << QList<QList<qint32>>{palette, select} << 0x02E01010 << blue;
    QTest::newRow("entry changed after selection")
        << QList<QList<qint32>>{palette, select, {emrSetPaletteEntries, 3, 2, 1, 0x00FFFF00}} << 0x01000002
        << Colour(0xFFFF00);
    // Growing keeps the entries there were and makes the new ones black;
    // shrinking drops those past the new end.
    const QList<qint32> grow{emrResizePalette, 3, 5};
    QTest::newRow("grown: old entry kept") << QList<QList<qint32>>{palette, select, grow} << 0x01000002 << blue;
    QTest::newRow("grown: new entry black") << QList<QList<qint32>>{palette, select, grow} << 0x01000004 << black;
    QTest::newRow("grown, then the new entry set")
        << QList<QList<qint32>>{palette, select, grow, {emrSetPaletteEntries, 3, 4, 1, 0x00FFFF00}} << 0x01000004
        << Colour(0xFFFF00);
    QTest::newRow("shrunk: index past the new end takes the first")
        << QList<QList<qint32>>{palette, select, {emrResizePalette, 3, 2}} << 0x01000002 << red;
    QTest::newRow("created but not selected: the default palette") << QList<QList<qint32>>{palette} << 0x01000001
                                                                    << Colour(0x000080);
    QTest::newRow("default palette, 13th entry") << QList<QList<qint32>>{} << 0x0100000D << Colour(0x0000FF);
    QTest::newRow("stock DEFAULT_PALETTE selected back")
        << QList<QList<qint32>>{palette, select, {emrSelectPalette, qint32(0x8000000Fu)}} << 0x01000002
        << Colour(0x008000);
}

void GdiRecordsTest::paletteColour() {
    QFETCH(QList<QList<qint32>>, records);
    QFETCH(qint32, colourRef);
    QFETCH(Colour, filled);
    EmfBuilder b = emf100();
    for (const QList<qint32>& r : records)
        b.record(quint32(r.first()), r.mid(1));
    b.record(emrCreateBrush, {1, 0, colourRef, 0})
        .record(emrSelectObject, {1})
        .record(emrSelectObject, {nullPen})
        .record(emrRectangle, {10, 10, 31, 31});
    const Bitmap picture = importMetafile(b.bytes());
    QCOMPARE(picture.pixel(20, 20), filled);
    QCOMPARE(picture.pixel(40, 40), white);

    // The same through a WMF palette.
    if (records.size() == 2 && colourRef == 0x01000001) {
        WmfBuilder w(0, 0, 100, 100, 96, 4);
        w.record(wmfCreatePalette, {0x0300, 3, 0x00FF, 0, qint16(0xFF00), 0, 0, 0x00FF})
            .record(wmfSelectPalette, {0})
            .record(wmfCreateBrush, {0, 1, 0x0100, 0})
            .record(wmfSelectObject, {1})
            .record(wmfRectangle, {31, 31, 10, 10});
        QCOMPARE(importMetafile(w.bytes()).pixel(20, 20), green);
    }
}

void GdiRecordsTest::plgBlt_data() {
    QTest::addColumn<QList<qint32>>("corners");   // upper-left, upper-right, lower-left
    QTest::addColumn<QList<QPoint>>("redAt");
    QTest::addColumn<QList<QPoint>>("whiteAt");
    QTest::newRow("upright") << QList<qint32>{10, 10, 50, 10, 10, 30}
                             << QList<QPoint>{{10, 10}, {49, 29}} << QList<QPoint>{{50, 10}, {10, 30}};
    // Sheared: the bottom edge sits 40 pixels left of the top edge.
    QTest::newRow("sheared") << QList<qint32>{50, 10, 90, 10, 10, 50}
                             << QList<QPoint>{{60, 12}, {30, 45}} << QList<QPoint>{{15, 12}, {85, 45}};
    // Turned a quarter: the source's top edge runs down the picture.
    QTest::newRow("turned") << QList<qint32>{50, 10, 50, 50, 30, 10}
                            << QList<QPoint>{{35, 15}, {45, 45}} << QList<QPoint>{{55, 30}, {25, 30}};
}

void GdiRecordsTest::plgBlt() {
    // A red 1 x 1 DIB onto a parallelogram.
    QFETCH(QList<qint32>, corners);
    QFETCH(QList<QPoint>, redAt);
    QFETCH(QList<QPoint>, whiteAt);
    const QByteArray info = infoHeader(1, 1, 24, 0, {});
    const QByteArray bits = QByteArray::fromHex("0000FF00");
    QList<qint32> body{0, 0, 0, 0};
    body += corners;
    body += QList<qint32>{0, 0, 1, 1, 0x3F800000, 0, 0, 0x3F800000, 0, 0, 0, 0, 140, qint32(info.size()),
                          qint32(140 + info.size()), qint32(bits.size()), 0, 0, 0, 0, 0, 0, 0};
    EmfBuilder b = emf100();
    b.rawRecord(emrPlgBlt, words(body) + info + bits);
    const Bitmap picture = importMetafile(b.bytes());
    for (const QPoint& p : redAt)
        QVERIFY2(picture.pixel(p.x(), p.y()) == red, qPrintable(QStringLiteral("%1, %2").arg(p.x()).arg(p.y())));
    for (const QPoint& p : whiteAt)
        QVERIFY2(picture.pixel(p.x(), p.y()) == white, qPrintable(QStringLiteral("%1, %2").arg(p.x()).arg(p.y())));
}

void GdiRecordsTest::symbolText_data() {
    QTest::addColumn<QString>("face");
    QTest::addColumn<int>("charSet");
    QTest::addColumn<bool>("wide");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("latin");
    const QString alpha(QChar(0x03B1));
    QTest::newRow("Symbol a, wide") << QStringLiteral("Symbol") << 2 << true << 0x61 << alpha << QStringLiteral("a");
    QTest::newRow("Symbol a, private-use code") << QStringLiteral("Symbol") << 2 << true << 0xF061 << alpha
                                                << QStringLiteral("a");
    QTest::newRow("Symbol a, 8-bit") << QStringLiteral("Symbol") << 0 << false << 0x61 << alpha << QStringLiteral("a");
    QTest::newRow("another face in the symbol set") << QStringLiteral("Arial") << 2 << false << 0x61 << alpha
                                                    << QStringLiteral("a");
    QTest::newRow("Symbol arrow") << QStringLiteral("Symbol") << 2 << false << 0xAE << QStringLiteral("\u2192")
                                  << QStringLiteral("\u00AE");
    QTest::newRow("Wingdings smile") << QStringLiteral("Wingdings") << 2 << true << 0xF04A << QStringLiteral("\u263A")
                                     << QStringLiteral("J");
    QTest::newRow("Wingdings 2 check mark") << QStringLiteral("Wingdings 2") << 2 << false << 0x50
                                            << QStringLiteral("\U0001F5F8") << QStringLiteral("P");
    QTest::newRow("Webdings spider") << QStringLiteral("Webdings") << 2 << false << 0x21 << QStringLiteral("\U0001F577")
                                     << QStringLiteral("!");
    QTest::newRow("Wingdings 3 triangle") << QStringLiteral("Wingdings 3") << 2 << false << 0x70
                                          << QStringLiteral("\u25B2") << QStringLiteral("p");
}

void GdiRecordsTest::symbolText() {
    QFETCH(QString, face);
    QFETCH(int, charSet);
    QFETCH(bool, wide);
    QFETCH(int, code);
    QFETCH(QString, shown);
    QFETCH(QString, latin);
    QByteArray character;
    if (wide)
        put16(character, quint16(code));
    else
        character.append(char(code));
    EmfBuilder b(0, 0, 2000, 2000);   // 200 x 200 pixels
    b.record(emrCreateFont, font(face, -60, charSet))
        .record(emrSelectObject, {2})
        .record(emrSetBkMode, {1})
        .rawRecord(wide ? emrExtTextOutW : emrExtTextOutA, textOut(QPoint(20, 20), 1, character));
    const QImage drawn = ink(importMetafile(b.bytes()).image());
    QVERIFY(!drawn.isNull());
    QCOMPARE(drawn, reference(shown, 60));
    QVERIFY(drawn != reference(latin, 60));
}

void GdiRecordsTest::polyTextOut() {
    // Two strings in one record, each at its own reference point.
    QByteArray body = words({0, 0, 0, 0, 1, 0, 0, 2});
    for (int i = 0; i < 2; ++i)
        body += words({10 + 60 * i, 20, 1, 120 + 2 * i, 0, 0, 0, -1, -1, 0});
    body += QByteArray("H\0H\0", 4);
    EmfBuilder b = emf100();
    b.record(emrCreateFont, font(QStringLiteral("Arial"), -20))
        .record(emrSelectObject, {2})
        .record(emrSetBkMode, {1})
        .rawRecord(emrPolyTextOutW, body);
    const Bitmap picture = importMetafile(b.bytes());
    int left = 0;
    int right = 0;
    for (int y = 20; y < 45; ++y)
        for (int x = 0; x < 100; ++x)
            if (picture.pixel(x, y) != white)
                ++(x < 50 ? left : right);
    QVERIFY(left > 20);
    QVERIFY(right > 20);
}

void GdiRecordsTest::wmfPatternBrush() {
    // An 8 x 2 monochrome bitmap, its top row set: set bits take the
    // background colour, clear ones the text colour.
    QList<qint16> brush{0, 8, 2, 2, 0x0101, 0, 0};
    brush += QList<qint16>(9, 0);
    brush += QList<qint16>{0x00FF, 0};
    WmfBuilder w(0, 0, 100, 100, 96, 4);
    w.record(wmfSetTextColor, {0x00FF, 0})
        .record(wmfSetBkColor, {qint16(0xFF00), 0})
        .record(wmfCreatePatternBrush, brush)
        .record(wmfSelectObject, {0})
        .record(wmfCreatePen, {5, 0, 0, 0, 0})
        .record(wmfSelectObject, {1})
        .record(wmfRectangle, {41, 41, 10, 10});
    const Bitmap picture = importMetafile(w.bytes());
    for (int y = 10; y < 30; ++y)
        QCOMPARE(picture.pixel(20, y), y % 2 == 0 ? green : red);
}

} // namespace pelmora

PELMORA_TEST_MAIN(pelmora::GdiRecordsTest)
#include "gdi_records_test.moc"
