// SPDX-License-Identifier: GPL-2.0-or-later
// Qt
#include <QtTest>

// Std
#include <cmath>
#include <functional>
#include <limits>
#include <numbers>

// Local
#include "emfplus_builders.h"
#include "metafile.h"
#include "metafile_builders.h"
#include "test_main.h"

namespace pelmora {

using namespace test;

namespace {

constexpr quint32 argbRed = 0xFFFF0000;
constexpr quint32 argbBlue = 0xFF0000FF;

// A 100 x 100 pixel picture holding the records, after the GDI records
// given.
QByteArray picture(const EmfPlusRecords& plus, const std::function<void(EmfBuilder&)>& gdi = {}) {
    EmfBuilder emf = emf100();
    emf.rawRecord(emrComment, plus.comment());
    if (gdi)
        gdi(emf);
    return emf.bytes();
}

QByteArray fillRect(const QRectF& r) {
    return words({argbRed, 1}) + floats({float(r.x()), float(r.y()), float(r.width()), float(r.height())});
}

// A closed square path, as an object.
QByteArray squarePath(float from, float to) {
    return words({objectVersion, 4, 0}) + floats({from, from, to, from, to, to, from, to})
        + QByteArray("\x00\x01\x01\x81", 4);
}

// Points as pairs of floats.
QByteArray pointFloats(const QPolygonF& points) {
    QByteArray out;
    for (const QPointF& p : points)
        out += floats({float(p.x()), float(p.y())});
    return out;
}

// A pen object of a width in world units, drawing red: the optional fields
// its flags name come between the width and the brush.
QByteArray redPen(float width, quint32 fields = 0, const QByteArray& values = {}) {
    return words({objectVersion, 0, fields, 0}) + floats({width}) + values + words({objectVersion, 0, argbRed});
}

int redOf(Colour c) { return int(c & 0xFF); }

// The box holding every pixel that is not white.
QRect inkBox(const Bitmap& picture) {
    QRect box;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) != white)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

class EmfPlusTest : public QObject {
    Q_OBJECT

private slots:
    void box_data();
    void box();
    void linearGradient_data();
    void linearGradient();
    void curves_data();
    void curves();
    void drawString_data();
    void drawString();
    void malformed_data();
    void malformed();
};

void EmfPlusTest::box_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QRect>("box");
    QTest::addColumn<Colour>("inside");
    QTest::addColumn<Colour>("outside");
    auto row = [](const char* name, const QByteArray& file, const QRect& box, Colour inside = red, Colour outside = white) {
        QTest::newRow(name) << file << box << inside << outside;
    };

    // A 10 x 10 red square drawn at (20, 30), twice its size, by each way of
    // setting the transform.
    const QByteArray place = floats({2, 0, 0, 2, 20, 30});
    const QRect placed(20, 30, 20, 20);
    auto placedSquare = [&](const char* name, EmfPlusRecords records) {
        row(name, picture(records.record(plusFillRects, directColour, fillRect(QRectF(0, 0, 10, 10)))), placed);
    };
    placedSquare("set", EmfPlusRecords().record(plusSetWorldTransform, 0, place));
    placedSquare("translate, then scale before it",
                 EmfPlusRecords().record(plusTranslateWorld, 0, floats({20, 30})).record(plusScaleWorld, 0, floats({2, 2})));
    placedSquare("scale, then translate after it", EmfPlusRecords()
                                                       .record(plusScaleWorld, 0, floats({2, 2}))
                                                       .record(plusTranslateWorld, postMultiply, floats({20, 30})));
    placedSquare("container",
                 EmfPlusRecords().record(plusBeginContainer, 0, floats({20, 30, 20, 20, 0, 0, 10, 10}) + words({1})));
    placedSquare("restored", EmfPlusRecords()
                                 .record(plusSetWorldTransform, 0, place)
                                 .record(plusSave, 0, words({7}))
                                 .record(plusSetWorldTransform, 0, floats({5, 0, 0, 5, 0, 0}))
                                 .record(plusRestore, 0, words({7})));
    // Millimetres (10 pixels each), a fifth of one to the unit.
    placedSquare("page in millimetres",
                 EmfPlusRecords().record(plusSetPageTransform, 6, floats({0.2f})).record(plusTranslateWorld, 0, floats({10, 15})));

    // The square path (20, 20)-(60, 60) as the clip, combined in each mode,
    // then the picture filled blue.
    auto clipped = [&](const char* name, const QByteArray& clipFirst, quint16 mode, const QRect& box, Colour inside,
                       Colour outside) {
        EmfPlusRecords records;
        records.record(plusObject, objectPath | 1, squarePath(20, 60));
        if (!clipFirst.isEmpty())
            records.record(plusSetClipRect, 0, clipFirst);
        records.record(plusSetClipPath, quint16(1 | mode << 8))
            .record(plusFillRects, directColour, words({argbBlue, 1}) + floats({0, 0, 100, 100}));
        row(name, picture(records), box, inside, outside);
    };
    clipped("clip path replaces", {}, 0, QRect(20, 20, 40, 40), blue, white);
    clipped("clip path excludes", {}, 4, QRect(20, 20, 40, 40), white, blue);
    clipped("clip path intersects a rectangle", floats({0, 0, 40, 100}), 1, QRect(20, 20, 20, 40), blue, white);
    clipped("clip path joins a rectangle", floats({20, 0, 40, 20}), 2, QRect(20, 0, 40, 60), blue, white);

    // A red polygon filling its four corners' rectangle, however its points
    // are stored.
    auto polygon = [&](const char* name, quint16 flags, const QByteArray& points, const QRect& box) {
        row(name, picture(EmfPlusRecords().record(plusFillPolygon, directColour | flags, words({argbRed, 4}) + points)), box);
    };
    const QRect square(20, 20, 60, 60);
    polygon("points as floats", 0, pointFloats({{20, 20}, {80, 20}, {80, 80}, {20, 80}}), square);
    QByteArray small;
    for (qint16 v : {20, 20, 80, 20, 80, 80, 20, 80})
        put16(small, quint16(v));
    polygon("points as 16-bit integers", compressedPoints, small, square);
    // Each point a step from the one before, the first from the origin:
    // one byte holds 7 bits, two bytes (the first with its top bit set)
    // hold 15, both signed.
    const QByteArray oneByte = QByteArray::fromHex("1414" "3C00" "003C" "4400");   // +60 and -60
    polygon("one-byte steps", relativePoints, oneByte, square);
    polygon("steps, with the 16-bit flag as well", quint16(relativePoints | compressedPoints), oneByte, square);
    // (10, 15), +75 across, +70 down, -75 across.
    polygon("two-byte steps", relativePoints, QByteArray::fromHex("0A0F" "804B00" "008046" "FFB500"), QRect(10, 15, 75, 70));
    // (90, 90) in two-byte values, then -70 across, -70 up, +70 across.
    polygon("two-byte start, steps back", relativePoints, QByteArray::fromHex("805A805A" "FFBA00" "00FFBA" "804600"),
            QRect(20, 20, 70, 70));

    // A solid pen 10 wide along y = 50 from x = 10 to 90, flat ended, whatever
    // optional fields come before its brush.
    auto pen = [&](const char* name, quint32 fields, const QByteArray& values) {
        row(name, picture(EmfPlusRecords()
                              .record(plusObject, objectPen | 1, redPen(10, fields, values))
                              .record(plusDrawLines, 1, words({2}) + floats({10, 50, 90, 50}))),
            QRect(10, 45, 80, 10));
    };
    pen("pen without optional fields", 0, {});
    pen("pen join, line style, dashed line cap", 0x68, words({2, 0, 2}));
    pen("pen transform, miter limit, dash offset", 0x91, floats({1, 0, 0, 1, 0, 0}) + floats({4, 0}));
    pen("pen alignment", 0x200, words({0}));

    // A path object cut into parts, each but the last flagged as continued
    // and carrying the whole size first.
    const QByteArray path = squarePath(20, 60);
    for (int parts : {1, 2, 3}) {
        EmfPlusRecords records;
        const int step = (path.size() + parts - 1) / parts / 4 * 4;
        for (int i = 0; i + 1 < parts; ++i)
            records.record(plusObject, objectContinued | objectPath | 1,
                           words({quint32(path.size())}) + path.mid(i * step, step));
        records.record(plusObject, objectPath | 1, path.mid((parts - 1) * step))
            .record(plusFillPath, directColour | 1, words({argbRed}));
        row(qPrintable(QStringLiteral("path object in %1 records").arg(parts)), picture(records), QRect(20, 20, 40, 40));
    }

    // A metafile painting all of itself red fills the destination box and
    // nothing else; turned a quarter about the picture's centre, the box
    // lands at (50, 20).
    auto drawn = [&](const char* name, quint32 kind, const QByteArray& metafile, quint32 size, bool turned) {
        EmfPlusRecords records;
        if (turned)
            records.record(plusSetWorldTransform, 0, floats({0, 1, -1, 0, 100, 0}));
        records.record(plusObject, objectImage | 5, words({objectVersion, 2, kind, size}) + metafile)
            .record(plusDrawImage, 5, words({0xFFFFFFFF, 2}) + floats({0, 0, 10, 10, 20, 30, 20, 20}));
        row(name, picture(records), turned ? QRect(50, 20, 20, 20) : placed);
    };
    const QByteArray wmf = WmfBuilder(0, 0, 10, 10, 96)
                               .record(wmfSetWindowExt, {10, 10})
                               .record(wmfCreateBrush, {0, 0x00FF, 0, 0})
                               .record(wmfSelectObject, {0})
                               .record(wmfCreatePen, {5, 0, 0, 0, 0})   // no pen
                               .record(wmfSelectObject, {1})
                               .record(wmfRectangle, {20, 20, -5, -5})
                               .bytes();
    const QByteArray emf = emf100().solidBrush(red).record(emrRectangle, {-10, -10, 2000, 2000}).bytes();
    drawn("placeable WMF image", 2, wmf, quint32(wmf.size()), false);
    // As writers store it: the header padded to 24 bytes and left out of the size.
    drawn("placeable WMF image, padded header", 2, wmf.left(22) + QByteArray(2, '\0') + wmf.mid(22),
          quint32(wmf.size() - 22), false);
    drawn("EMF image", 3, emf, quint32(emf.size()), false);
    drawn("EMF image turned a quarter", 3, emf, quint32(emf.size()), true);

    // A dual file: GDI draws a green square where EMF+ draws a red one.
    auto dual = [&](const char* name, bool gdiDraws, bool glyphIndices, Colour inside) {
        const EmfPlusRecords plus = EmfPlusRecords(true).record(plusFillRects, directColour, fillRect(QRectF(20, 30, 20, 20)));
        row(name, picture(plus, [&](EmfBuilder& emf) {
                emf.record(emrSetMapMode, {1});   // nothing drawn
                // Without a pen it fills a pixel short.
                if (gdiDraws)
                    emf.solidBrush(green).record(emrRectangle, {20, 30, 41, 51});
                if (glyphIndices)   // ETO_GLYPH_INDEX, off the picture
                    emf.rawRecord(emrExtTextOutW, withWord(textOut(QPoint(-50, -50), 1, QByteArray("\x2B\0", 2)), 44, 0x10));
            }),
            placed, inside);
    };
    dual("dual: GDI records draw", true, false, green);
    dual("dual: GDI records draw nothing", false, false, red);
    // The recording machine's glyph numbers cannot be drawn here; EMF+ holds the text as characters.
    dual("dual: GDI text as glyph indices", true, true, red);

    // The GDI records after GetDC are played, those before it are not.
    EmfBuilder getDc = emf100();
    getDc.rawRecord(emrComment, EmfPlusRecords().comment()).solidBrush(green).record(emrRectangle, {10, 10, 31, 31});
    getDc.rawRecord(emrComment, EmfPlusRecords::more().record(plusGetDc, 0).comment())
        .solidBrush(green)
        .record(emrRectangle, {60, 10, 81, 31});
    row("GDI records after GetDC", getDc.bytes(), QRect(60, 10, 20, 20), green);
}

void EmfPlusTest::box() {
    QFETCH(QByteArray, file);
    QFETCH(QRect, box);
    QFETCH(Colour, inside);
    QFETCH(Colour, outside);
    expectBox(importMetafile(file), box, inside, outside);
}

void EmfPlusTest::linearGradient_data() {
    QTest::addColumn<QByteArray>("transform");
    QTest::addColumn<bool>("down");
    QTest::newRow("across") << QByteArray() << false;
    // The brush turned a quarter: its x runs down the picture.
    QTest::newRow("turned") << floats({0, 1, -1, 0, 100, 0}) << true;
}

// Black to white over the 100 pixels.
void EmfPlusTest::linearGradient() {
    QFETCH(QByteArray, transform);
    QFETCH(bool, down);
    const QByteArray brush = words({objectVersion, 4, transform.isEmpty() ? 0u : 2u, 4}) + floats({0, 0, 100, 100})
        + words({0xFF000000, 0xFFFFFFFF, 0, 0}) + transform;
    const Bitmap result = importMetafile(picture(EmfPlusRecords()
                                                     .record(plusObject, objectBrush | 3, brush)
                                                     .record(plusFillRects, 0, words({3, 1}) + floats({0, 0, 100, 100}))));
    auto at = [&](int along, int across) { return redOf(down ? result.pixel(across, along) : result.pixel(along, across)); };
    QVERIFY(at(2, 50) < 20);
    QVERIFY(at(97, 50) > 235);
    QVERIFY(std::abs(at(50, 50) - 128) < 20);
    for (int i = 1; i < 100; ++i)
        QVERIFY(at(i, 50) >= at(i - 1, 50));
    QCOMPARE(at(30, 5), at(30, 95));
}

void EmfPlusTest::curves_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<QPoint>>("redAt");
    QTest::addColumn<QList<QPoint>>("whiteAt");
    // An arch up from (10, 50) to (50, 50), its middle at (30, 20); then one
    // down to (90, 50), its middle at (70, 80). Inside either arch nothing
    // is drawn, nor where its control points pull it from.
    auto beziers = [](const QPolygonF& points) {
        return picture(EmfPlusRecords()
                           .record(plusObject, objectPen | 1, redPen(4))
                           .record(plusDrawBeziers, 1, words({quint32(points.size())}) + pointFloats(points)));
    };
    const QPolygonF up{{10, 50}, {10, 10}, {50, 10}, {50, 50}};
    const QPolygonF down{{50, 90}, {90, 90}, {90, 50}};
    QTest::newRow("four points, one curve") << beziers(up) << QList<QPoint>{{30, 20}}
                                            << QList<QPoint>{{30, 50}, {30, 11}, {10, 11}, {70, 80}};
    QTest::newRow("seven points, two curves") << beziers(QPolygonF(up + down)) << QList<QPoint>{{30, 20}, {70, 80}}
                                              << QList<QPoint>{{30, 50}, {70, 50}, {70, 89}, {90, 89}};
    // A pie's angles are true angles on its ellipse: on a box twice as wide
    // as high, 0 to 45 degrees takes in the point 35 degrees out from the
    // centre (a parametric angle of 45 would end near 27) and leaves the one
    // at 55.
    auto at = [](double degrees) {
        const double r = degrees * std::numbers::pi / 180;
        return QPoint(int(50 + 20 * std::cos(r)), int(25 + 20 * std::sin(r)));
    };
    QTest::newRow("pie angles") << picture(EmfPlusRecords().record(plusFillPie, directColour,
                                                                   words({argbRed}) + floats({0, 45, 0, 0, 100, 50})))
                                << QList<QPoint>{at(10), at(35)} << QList<QPoint>{at(55), at(-10)};
}

void EmfPlusTest::curves() {
    QFETCH(QByteArray, file);
    QFETCH(QList<QPoint>, redAt);
    QFETCH(QList<QPoint>, whiteAt);
    const Bitmap result = importMetafile(file);
    for (const QPoint& p : redAt)
        QVERIFY2(result.pixel(p.x(), p.y()) == red, qPrintable(QStringLiteral("%1, %2").arg(p.x()).arg(p.y())));
    for (const QPoint& p : whiteAt)
        QVERIFY2(result.pixel(p.x(), p.y()) == white, qPrintable(QStringLiteral("%1, %2").arg(p.x()).arg(p.y())));
}

void EmfPlusTest::drawString_data() {
    QTest::addColumn<quint32>("align");
    QTest::addColumn<QRectF>("box");
    const QRectF box(10, 30, 80, 40);
    QTest::newRow("near") << 0u << box;
    QTest::newRow("centred") << 1u << box;
    QTest::newRow("far") << 2u << box;
    // A box without size: the text hangs from the point, starting there,
    // centred on it or ending there.
    QTest::newRow("near a point") << 0u << QRectF(10, 30, 0, 0);
    QTest::newRow("centred on a point") << 1u << QRectF(50, 30, 0, 0);
    QTest::newRow("far from a point") << 2u << QRectF(90, 30, 0, 0);
}

// "HH" 20 pixels high, placed by the format's alignment across the box.
void EmfPlusTest::drawString() {
    QFETCH(quint32, align);
    QFETCH(QRectF, box);
    const QByteArray font = words({objectVersion}) + floats({20}) + words({2, 0, 0, 5}) + utf16("Arial");
    const QByteArray format = words({objectVersion, 0, 0, align, 0}) + QByteArray(40, '\0');
    const QString text = QStringLiteral("HH");
    const QByteArray layout = floats({float(box.x()), float(box.y()), float(box.width()), float(box.height())});
    const Bitmap result = importMetafile(picture(EmfPlusRecords()
                                                     .record(plusObject, objectFont | 2, font)
                                                     .record(plusObject, objectFormat | 4, format)
                                                     .record(plusDrawString, directColour | 2,
                                                             words({0xFF000000, 4, quint32(text.size())}) + layout
                                                                 + utf16(text))));
    const QRect ink = inkBox(result);
    QVERIFY(!ink.isEmpty());
    QVERIFY(QRect(10, 30, 80, 40).contains(ink));
    QVERIFY(ink.height() >= 10 && ink.height() <= 20);
    const int centre = ink.center().x();
    const int wanted[] = {10 + ink.width() / 2, 50, 90 - ink.width() / 2};
    QVERIFY2(std::abs(centre - wanted[align]) <= 4, qPrintable(QString::number(centre)));
}

void EmfPlusTest::malformed_data() {
    QTest::addColumn<QByteArray>("file");
    const QByteArray huge = words({0x7FFFFFFF});
    auto row = [](const char* name, EmfPlusRecords records) { QTest::newRow(name) << picture(records); };
    row("rectangles past the record", EmfPlusRecords().record(plusFillRects, directColour, words({argbRed}) + huge));
    row("relative points past the record",
        EmfPlusRecords().record(plusFillPolygon, directColour | relativePoints, words({argbRed}) + huge + QByteArray(6, '\x01')));
    row("compressed lines past the record", EmfPlusRecords().record(plusDrawLines, compressedPoints, huge + QByteArray(8, '\0')));
    row("path points past the object", EmfPlusRecords()
                                           .record(plusObject, objectPath | 1, words({objectVersion, 0x7FFFFFFF, 0}))
                                           .record(plusFillPath, 1, words({0})));
    row("path types run short", EmfPlusRecords()
                                    .record(plusObject, objectPath | 1, squarePath(0, 90).left(40))
                                    .record(plusFillPath, directColour | 1, words({argbRed})));
    row("continued object larger than the file",
        EmfPlusRecords()
            .record(plusObject, objectContinued | objectPath | 1, words({0x7FFFFFF0, objectVersion, 4}))
            .record(plusObject, objectPath | 1, words({0}))
            .record(plusFillPath, directColour | 1, words({argbRed})));
    QByteArray deep = words({objectVersion, 100000});
    for (int i = 0; i < 5000; ++i)
        deep += words({1});
    row("region nested past reason",
        EmfPlusRecords().record(plusObject, objectRegion | 1, deep).record(plusSetClipPath, 1));
    row("string past the record", EmfPlusRecords()
                                      .record(plusObject, objectFont | 2,
                                              words({objectVersion}) + floats({20}) + words({2, 0, 0, 0x7FFFFFFF}))
                                      .record(plusDrawString, directColour | 2,
                                              words({0xFF000000, 0xFFFFFFFF, 0x7FFFFFFF}) + floats({0, 0, 50, 50})));
    row("glyphs past the record",
        EmfPlusRecords()
            .record(plusObject, objectFont | 2,
                    words({objectVersion}) + floats({20}) + words({2, 0, 0, 1}) + utf16("A"))
            .record(plusDrawDriverString, directColour | 2, words({0xFF000000, 1, 0, 0x7FFFFFFF, 65})));
    row("transform not finite",
        EmfPlusRecords()
            .record(plusSetWorldTransform, 0, floats({std::numeric_limits<float>::infinity(), 0, 0, 1, 0, 0}))
            .record(plusScaleWorld, 0, floats({0, 0}))
            .record(plusFillRects, directColour, fillRect(QRectF(0, 0, 1e30f, 1e30f))));
    // A record whose size runs past its comment ends the comment's records.
    QByteArray overrun = EmfPlusRecords().comment();
    put16(overrun, 0x4000 | plusFillRects);
    put16(overrun, directColour);
    put32(overrun, 0x7FFFFFF0);
    put32(overrun, 8);
    QTest::newRow("record past its comment") << emf100().rawRecord(emrComment, overrun).bytes();
}

// Nothing drawn, nothing read outside the file.
void EmfPlusTest::malformed() {
    QFETCH(QByteArray, file);
    const Bitmap result = importMetafile(file);
    QCOMPARE(result.width(), 100);
    QVERIFY(inkBox(result).isEmpty());
}

} // namespace pelmora

PELMORA_TEST_MAIN(pelmora::EmfPlusTest)
#include "emfplus_test.moc"
