// SPDX-License-Identifier: GPL-2.0-or-later
// Qt
#include <QBuffer>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// Local
#include "emfplus_builders.h"
#include "import_picture.h"
#include "metafile.h"
#include "pelmora_error.h"
#include "metafile_builders.h"
#include "test_main.h"

// Std
#include <bit>

namespace pelmora {

using namespace test;

namespace {

using Records = QList<QList<qint32>>;   // EMF records: type, then words

// The text a metafile is refused with; empty when it plays.
QString refusal(const QByteArray& bytes) {
    try {
        importMetafile(bytes);
    } catch (const PelmoraError& e) {
        return e.text();
    }
    return QString();
}

// EMR_EXTTEXTOUTW body drawing "HH" at a reference point.
QByteArray textHH(QPoint reference) {
    return textOut(reference, 2, QByteArray("H\0H\0", 4));
}

// An EMR_POLYGON16 body: points zigzagging between the top and the
// bottom of a box, sweeping across it again and again.
QByteArray spikes(int points, qint16 width, qint16 height) {
    QByteArray body;
    for (qint32 w : {0, 0, qint32(width), qint32(height), points})
        test::put32(body, quint32(w));
    for (int i = 0; i < points; ++i) {
        test::put16(body, quint16(i * 7 % width));
        test::put16(body, quint16(i % 2 ? height - 1 : 0));
    }
    return body;
}

// A 100 x 100 pixel picture of red spikes.
QByteArray spikePicture(int points) {
    EmfBuilder b = emf100();
    return b.solidBrush(red).rawRecord(emrPolygon16, spikes(points, 100, 100)).bytes();
}

// A 100 x 100 pixel picture with a hole cut from its clip for each pixel of
// a checkerboard's first squares, then filled.
QByteArray excludedEmf(int holes) {
    EmfBuilder b = emf100();
    for (int i = 0; i < holes; ++i)
        b.record(emrExcludeClipRect, {i % 50 * 2, i / 50 * 2, i % 50 * 2 + 1, i / 50 * 2 + 1});
    return b.solidBrush(red).record(emrRectangle, {0, 0, 101, 101}).bytes();
}

QByteArray excludedWmf(int holes) {
    WmfBuilder b(0, 0, 100, 100, 96);
    for (int i = 0; i < holes; ++i) {
        const auto x = qint16(i % 50 * 2);
        const auto y = qint16(i / 50 * 2);
        b.record(wmfExcludeClipRect, {qint16(y + 1), qint16(x + 1), y, x});
    }
    return b.record(wmfCreateBrush, {0, qint16(red & 0xFFFF), 0, 0})
        .record(wmfSelectObject, {0})
        .record(wmfRectangle, {100, 100, 0, 0})
        .bytes();
}

// A 100 x 100 pixel picture drawing a side x side one-bit pattern brush
// into small squares, as many as asked.
QByteArray patternFills(int side, int fills) {
    const int stride = (side + 31) / 32 * 4;
    QList<qint32> words{1, 2, 32, 40, 72, stride * side, 40, side, side, 0x00010001, 0, stride * side, 0, 0, 0, 0};
    words.append(QList<qint32>(stride * side / 4, 0x55555555));
    EmfBuilder b = emf100();
    b.record(emrCreateMonoBrush, words).record(emrSelectObject, {1});
    for (int i = 0; i < fills; ++i)
        b.record(emrRectangle, {10, 10, 14, 14});
    return b.bytes();
}

// A 100 x 100 pixel picture of a side x side PNG stretched over it, as
// many times as asked.
QByteArray pngDibs(int side, int times) {
    QImage image(side, side, QImage::Format_Mono);
    image.fill(0);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    // BI_PNG, the stream's size in the header.
    const QByteArray info = withWord(infoHeader(side, side, 0, 5, {}), 20, quint32(png.size()));
    EmfBuilder b = emf100();
    for (int i = 0; i < times; ++i)
        b.rawRecord(emrStretchDiBits, stretchDiBits(QRect(0, 0, 100, 100), side, side, info, png, 0xCC0020));
    return b.bytes();
}

// A 100 x 100 pixel EMF+ picture of an antialiased triangle whose corners
// lie reach pixels beyond the picture's.
QByteArray antialiasedTriangle(float reach) {
    test::EmfPlusRecords plus;
    plus.record(0x1E, 1).record(0x0C, 0x8000,
                                test::words({0xFF0000FF, 3})
                                    + test::floats({-reach, -reach, 50, 100 + reach, 100 + reach, -reach}));
    return EmfBuilder(0, 0, 1000, 1000).rawRecord(emrComment, plus.comment()).bytes();
}

// A 100 x 100 pixel EMF+ picture drawing a metafile of spikes: upright over
// the picture, as often as asked, or turned and far larger than the picture.
QByteArray nestedSpikes(int points, int draws, bool turned) {
    constexpr quint32 objectVersion = 0xDBC01002;
    const QByteArray metafile = spikePicture(points);
    test::EmfPlusRecords plus;
    plus.record(0x08, 0x500 | 5, test::words({objectVersion, 2, 3, quint32(metafile.size())}) + metafile);
    const QByteArray source = test::words({0xFFFFFFFF, 2}) + test::floats({0, 0, 10, 10});
    for (int i = 0; i < draws; ++i) {
        if (turned)
            plus.record(0x1B, 5, source + test::words({3}) + test::floats({0, 0, 9000, 900, -900, 9000}));
        else
            plus.record(0x1A, 5, source + test::floats({0, 0, 100, 100}));
    }
    return EmfBuilder(0, 0, 1000, 1000).rawRecord(emrComment, plus.comment()).bytes();
}

} // namespace

class MetafileTest : public QObject {
    Q_OBJECT

private slots:
    void decision_data();
    void decision();
    void emfUnderWmfName();
    void size_data();
    void size();
    void fill_data();
    void fill();
    void wmfMapping_data();
    void wmfMapping();
    void pathFillRule_data();
    void pathFillRule();
    void blitRop_data();
    void blitRop();
    void dibDepth_data();
    void dibDepth();
    void dibRowsBottomUp();
    void penDashes_data();
    void penDashes();
    void wmfObjectSlots();
    void monochromePatternBrush();
    void textInBox();
    void textMovesPosition_data();
    void textMovesPosition();
    void turnedText_data();
    void turnedText();
    void recordedWidths_data();
    void recordedWidths();
    void tooLarge_data();
    void tooLarge();
    void hostileWork_data();
    void hostileWork();
    void corpus_data();
    void corpus();
};

void MetafileTest::decision_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("refused");

    const QByteArray emf = emf100().bytes();
    const QByteArray wmf = WmfBuilder(0, 0, 96, 48, 96).bytes();
    QTest::newRow("EMF") << emf << false;
    QTest::newRow("placeable WMF") << wmf << false;
    QTest::newRow("WMF with bytes after its end record") << wmf + QByteArray(10, 'x') << false;
    QTest::newRow("empty") << QByteArray() << true;
    QTest::newRow("text") << QByteArray("not a metafile at all, just words") << true;
    QTest::newRow("WMF without the placeable header") << wmf.mid(22) << true;
    QByteArray badSum = wmf;
    badSum[20] = char(badSum[20] ^ 1);
    QTest::newRow("placeable checksum wrong") << badSum << true;
    QTest::newRow("placeable key wrong") << withWord(wmf, 0, 0x9AC6CDD6) << true;
    QTest::newRow("WMF record longer than the file") << withWord(wmf, 40, 1000) << true;
    QTest::newRow("WMF record of no size") << withWord(wmf, 40, 0) << true;
    QTest::newRow("WMF cut short") << wmf.left(wmf.size() - 4) + QByteArray(2, '\0') << true;
    QTest::newRow("EMF zero-width frame") << EmfBuilder(500, 0, 500, 1000).bytes() << true;
    QTest::newRow("EMF zero-height frame") << EmfBuilder(0, 0, 1000, 0).bytes() << true;
    QTest::newRow("EMF negative frame") << EmfBuilder(1000, 0, 0, 1000).bytes() << true;
    QTest::newRow("EMF device of no millimetres") << EmfBuilder(0, 0, 1000, 1000, 1000, 0).bytes() << true;
    QTest::newRow("EMF header cut short") << emf.left(60) << true;
    const QByteArray polygon = emf100().record(emrPolygon, {0, 0, 10, 10, 3, 0, 0, 5, 5, 9, 0}).bytes();
    QTest::newRow("EMF polygon that fits") << polygon << false;
    QTest::newRow("EMF polygon count beyond its record") << withWord(polygon, 88 + 24, 0x20000000) << true;
    QTest::newRow("EMF record longer than the file") << withWord(polygon, 88 + 4, 4000) << true;
    QTest::newRow("EMF record size not a multiple of 4") << withWord(polygon, 88 + 4, 50) << true;
    // Extreme values where arithmetic could overflow: a font of the most
    // negative height, escapement and a huge width, text drawn with it;
    // a clipping region with edges at the ends of the int range.
    QList<qint32> extreme{1, qint32(0x80000000u), 0x12000000, qint32(0x80000000u), 0, 400, 0, 0};
    extreme.append(QList<qint32>(16, 0));
    QTest::newRow("EMF font of extreme sizes")
        << emf100().record(emrCreateFont, extreme).record(emrSelectObject, {1})
               .rawRecord(emrExtTextOutW, textOut(QPoint(20, 20), 1, QByteArray("H\0", 2))).bytes()
        << false;
    QTest::newRow("EMF region at the ends of int")
        << emf100().record(emrExtSelectClipRgn, {48, 5, 32, 1, 1, 16, 0, 0, 0, 0, qint32(0x80000000u),
                                                 qint32(0x80000000u), 0x7FFFFFFF, 0x7FFFFFFF}).bytes() << false;
    QTest::newRow("EMF without its end record") << polygon.left(polygon.size() - 20) + QByteArray(3, '\0') << true;
}

// Sound files that only ask for too large a picture say so, not that they are broken.
void MetafileTest::tooLarge_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("EMF beyond 30000 pixels a side") << EmfBuilder(0, 0, 301000, 100).bytes();
    // 15000 x 15000 pixels: each side allowed, but 225 million in all.
    QTest::newRow("EMF of 225 megapixels") << EmfBuilder(0, 0, 150000, 150000).bytes();
    QTest::newRow("WMF beyond 30000 pixels a side") << WmfBuilder(-16000, 0, 16000, 10, 96).bytes();
}

void MetafileTest::tooLarge() {
    QFETCH(QByteArray, bytes);
    QCOMPARE(refusal(bytes), QStringLiteral("メモリが足りません"));
}

void MetafileTest::decision() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, refused);
    QCOMPARE(refusal(bytes), refused ? QStringLiteral("メタファイルが不正です") : QString());
    if (!refused)
        QVERIFY(!importMetafile(bytes).isEmpty());
}

void MetafileTest::emfUnderWmfName() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("clip.wmf"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(EmfBuilder(0, 0, 2000, 1000, 1024, 320).bytes());
    file.close();
    const Bitmap picture = importPicture(path, PictureKind::Wmf);
    QCOMPARE(picture.width(), 64);
    QCOMPARE(picture.height(), 32);
}

void MetafileTest::size_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("size");

    // 2000 x 1000 hundredths of a mm at 1024 px / 320 mm: 64 x 32.
    QTest::newRow("EMF frame at the device's pixels per mm") << EmfBuilder(0, 0, 2000, 1000, 1024, 320).bytes() << QSize(64, 32);
    QTest::newRow("EMF frame away from the origin") << EmfBuilder(-700, 300, 1300, 1300, 1024, 320).bytes() << QSize(64, 32);
    // 1464 * 1024 / 27000 = 55.5 -> 56; 1005 * 1024 / 27000 = 38.1 -> 38.
    QTest::newRow("EMF rounded to whole pixels") << EmfBuilder(0, 0, 1464, 1005, 1024, 270).bytes() << QSize(56, 38);
    QTest::newRow("WMF at 1440 units per inch") << WmfBuilder(0, 0, 1440, 720, 1440).bytes() << QSize(96, 48);
    QTest::newRow("WMF with 0 units per inch counts 96") << WmfBuilder(0, 0, 50, 30, 0).bytes() << QSize(50, 30);
    // 200 * 96 / 1000 = 19.2 -> 19; 100 * 96 / 1000 = 9.6 -> 10.
    QTest::newRow("WMF box around the origin") << WmfBuilder(-100, -50, 100, 50, 1000).bytes() << QSize(19, 10);
    // A side of no pixels opens as an empty picture, like an empty bitmap file.
    QTest::newRow("WMF of no width") << WmfBuilder(10, 0, 10, 50, 96).bytes() << QSize(0, 50);
    QTest::newRow("WMF of no height") << WmfBuilder(0, 7, 40, 7, 96).bytes() << QSize(40, 0);
    // A fifteenth of a pixel wide.
    QTest::newRow("WMF narrower than half a pixel") << WmfBuilder(0, 0, 1, 1440, 1440).bytes() << QSize(0, 96);
}

void MetafileTest::size() {
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, size);
    const Bitmap picture = importMetafile(bytes);
    QCOMPARE(QSize(picture.width(), picture.height()), size);
    QCOMPARE(picture.isEmpty(), size.isEmpty());
    if (size.isEmpty())
        return;
    QCOMPARE(picture.pixel(0, 0), white);
    QCOMPARE(picture.pixel(picture.width() - 1, picture.height() - 1), white);
}

void MetafileTest::fill_data() {
    QTest::addColumn<Records>("records");   // type, then words, played after a red brush is selected
    QTest::addColumn<QRect>("rect");        // the rectangle drawn last: logical left, top, right, bottom
    QTest::addColumn<QRect>("box");         // pixels, inclusive
    QTest::addColumn<Colour>("inside");
    QTest::addColumn<Colour>("outside");
    auto mapping = [](qint32 mode, qint32 windowX, qint32 windowY, qint32 viewportX = 100, qint32 viewportY = 100) {
        return Records{{emrSetMapMode, mode}, {emrSetWindowExt, windowX, windowY}, {emrSetViewportExt, viewportX, viewportY}};
    };
    const QRect tenths(QPoint(200, 300), QPoint(600, 700));
    const QRect filled(QPoint(20, 30), QPoint(58, 68));
    // Without a pen GDI fills up to two pixels short of right and bottom.
    QTest::newRow("MM_TEXT") << mapping(1, 1, 1, 1, 1) << QRect(QPoint(20, 30), QPoint(60, 70)) << filled << red << white;
    QTest::newRow("MM_ANISOTROPIC 1/10") << mapping(8, 1000, 1000) << tenths << filled << red << white;
    QTest::newRow("MM_ANISOTROPIC 1/10 by 1/5") << mapping(8, 1000, 500) << tenths << QRect(QPoint(20, 60), QPoint(58, 99))
                                                << red << white;
    QTest::newRow("MM_ISOTROPIC keeps the smaller scale") << mapping(7, 1000, 500) << tenths << filled << red << white;
    // 0.1 mm a unit at 10 px per mm, y upwards.
    QTest::newRow("MM_LOMETRIC") << mapping(2, 1, 1, 1, 1) << QRect(QPoint(20, -30), QPoint(60, -70)) << filled << red
                                 << white;
    QTest::newRow("MM_HIMETRIC") << mapping(3, 1, 1, 1, 1) << QRect(QPoint(200, -300), QPoint(600, -700)) << filled
                                 << red << white;
    // x' = 2x + 10, y' = 2y: (5, 5)-(15, 15) becomes (20, 10)-(40, 30).
    QTest::newRow("world transform")
        << Records{{emrSetWorldTransform, std::bit_cast<qint32>(2.0f), 0, 0, std::bit_cast<qint32>(2.0f),
                    std::bit_cast<qint32>(10.0f), 0}}
        << QRect(QPoint(5, 5), QPoint(15, 15)) << QRect(QPoint(20, 10), QPoint(38, 28)) << red << white;

    const QRect page(QPoint(0, 0), QPoint(101, 101));
    const QRect clip(QPoint(20, 20), QPoint(39, 39));
    QTest::newRow("clip: intersect") << Records{{emrIntersectClipRect, 20, 20, 40, 40}} << page << clip << red << white;
    QTest::newRow("clip: exclude") << Records{{emrExcludeClipRect, 20, 20, 40, 40}} << page << clip << white << red;
    QTest::newRow("clip: two intersections")
        << Records{{emrIntersectClipRect, 20, 20, 40, 40}, {emrIntersectClipRect, 30, 0, 100, 35}} << page
        << QRect(QPoint(30, 20), QPoint(39, 34)) << red << white;
    QTest::newRow("clip: empty region copy resets")
        << Records{{emrIntersectClipRect, 20, 20, 40, 40}, {emrExtSelectClipRgn, 0, 5}} << page << QRect(0, 0, 100, 100)
        << red << white;
    // The box's four quarters, in no order a region keeps.
    QTest::newRow("clip: region of scattered rectangles")
        << Records{{emrExtSelectClipRgn, 96, 5, 32, 1, 4, 64, 20, 20, 40, 40, 30, 30, 40, 40, 20, 20, 30, 30, 20, 30, 30,
                    40, 30, 20, 40, 30}}
        << page << clip << red << white;

    const QRect small(QPoint(10, 10), QPoint(51, 31));
    const QRect smallBox(QPoint(10, 10), QPoint(49, 29));
    // Red selected, saved (level 1); black, saved (level 2); then green.
    auto restored = [](qint32 level) {
        return Records{{emrSaveDc}, {emrSelectObject, blackBrush}, {emrSaveDc}, {emrCreateBrush, 2, 0, 0x00FF00, 0},
                       {emrSelectObject, 2}, {emrRestoreDc, level}};
    };
    QTest::newRow("restore -1, back one") << restored(-1) << small << smallBox << black << white;
    QTest::newRow("restore -2, back two") << restored(-2) << small << smallBox << red << white;
    QTest::newRow("restore 1, absolute") << restored(1) << small << smallBox << red << white;
    QTest::newRow("restore 2, absolute") << restored(2) << small << smallBox << black << white;
    QTest::newRow("restore 5, no such level") << restored(5) << small << smallBox << green << white;
    QTest::newRow("restore -5, no such level") << restored(-5) << small << smallBox << green << white;
    Records deep(20000, {emrSaveDc});
    deep += Records{{emrRestoreDc, -100000}, {emrRestoreDc, 1}};
    QTest::newRow("20000 saves") << deep << small << smallBox << red << white;
    // Selecting or deleting what is not there changes nothing.
    QTest::newRow("objects that are not there")
        << Records{{emrSelectObject, 9999}, {emrSelectObject, qint32(0x80000063u)}, {emrDeleteObject, 70000},
                   {emrSelectObject, 5}}
        << small << smallBox << red << white;

    // Green drawn over red.
    auto rop2 = [](qint32 mode) {
        return Records{{emrRectangle, 0, 0, 101, 101}, {emrCreateBrush, 2, 0, 0x00FF00, 0}, {emrSelectObject, 2},
                       {emrSetRop2, mode}};
    };
    QTest::newRow("R2_COPYPEN") << rop2(13) << small << smallBox << green << red;
    QTest::newRow("R2_XORPEN") << rop2(7) << small << smallBox << Colour(0x00FFFF) << red;
    QTest::newRow("R2_MASKPEN") << rop2(9) << small << smallBox << black << red;
    QTest::newRow("R2_MERGEPEN") << rop2(15) << small << smallBox << Colour(0x00FFFF) << red;
    QTest::newRow("R2_NOT") << rop2(6) << small << smallBox << Colour(0xFFFF00) << red;
    QTest::newRow("R2_NOP") << rop2(11) << small << smallBox << red << red;
    QTest::newRow("R2_BLACK") << rop2(1) << small << smallBox << black << red;
    QTest::newRow("R2_WHITE") << rop2(16) << small << smallBox << white << red;
}

// One filled rectangle and where it lands.
void MetafileTest::fill() {
    QFETCH(Records, records);
    QFETCH(QRect, rect);
    QFETCH(QRect, box);
    QFETCH(Colour, inside);
    QFETCH(Colour, outside);
    EmfBuilder b = emf100();
    b.solidBrush(red);
    for (const QList<qint32>& r : records)
        b.record(quint32(r.first()), r.mid(1));
    b.record(emrRectangle, {rect.left(), rect.top(), rect.right(), rect.bottom()});
    expectBox(importMetafile(b.bytes()), box, inside, outside);
}

void MetafileTest::wmfMapping_data() {
    QTest::addColumn<QList<QList<qint16>>>("records");   // function, then words
    QTest::addColumn<QRect>("filled");
    // 1000 x 500 units at 480 per inch: 200 x 100 pixels, a fifth of a pixel
    // a unit. The rectangle is (100, 100)-(300, 200).
    QTest::newRow("window flipped") << QList<QList<qint16>>{{wmfSetWindowOrg, 500, 0}, {wmfSetWindowExt, -500, 1000}}
                                    << QRect(QPoint(20, 60), QPoint(58, 78));
    // Viewport values are device units; the first viewport extent spans the picture.
    QTest::newRow("viewport of 100 x 50 device units")
        << QList<QList<qint16>>{{wmfSetViewportExt, 50, 100}, {wmfOffsetViewportOrg, 5, 10}}
        << QRect(QPoint(40, 30), QPoint(78, 48));
    QTest::newRow("viewport flipped") << QList<QList<qint16>>{{wmfSetViewportExt, -500, 1000}, {wmfSetViewportOrg, 500, 0}}
                                      << QRect(QPoint(20, 60), QPoint(58, 78));
    // Scale words: y denominator, y numerator, x denominator, x numerator.
    QTest::newRow("viewport scaled by 1/2 across") << QList<QList<qint16>>{{wmfScaleViewportExt, 1, 1, 2, 1}}
                                                   << QRect(QPoint(10, 20), QPoint(28, 38));
    QTest::newRow("window scaled by 2 down") << QList<QList<qint16>>{{wmfScaleWindowExt, 1, 2, 1, 1}}
                                             << QRect(QPoint(20, 10), QPoint(58, 18));
    // A square window on the 2:1 picture: anisotropic stretches it,
    // isotropic keeps the smaller scale on both axes.
    QTest::newRow("anisotropic, unequal aspects") << QList<QList<qint16>>{{wmfSetMapMode, 8}, {wmfSetWindowExt, 1000, 1000}}
                                                  << QRect(QPoint(20, 10), QPoint(58, 18));
    QTest::newRow("isotropic, unequal aspects") << QList<QList<qint16>>{{wmfSetMapMode, 7}, {wmfSetWindowExt, 1000, 1000}}
                                                << QRect(QPoint(10, 10), QPoint(28, 18));
    // A region's header, no scans, bounds (0, 0)-(200, 150).
    QTest::newRow("region selected as clip")
        << QList<QList<qint16>>{{wmfCreateRegion, 0, 6, 0, 20, 0, 0, 0, 0, 200, 150}, {wmfSelectClipRegion, 2}}
        << QRect(QPoint(20, 20), QPoint(39, 29));
    // Too short to hold a region: selecting it selects no clip.
    QTest::newRow("short region record clears the clip")
        << QList<QList<qint16>>{{wmfIntersectClipRect, 150, 200, 0, 0}, {wmfCreateRegion, 150, 200, 0, 0},
                                {wmfSelectClipRegion, 2}}
        << QRect(QPoint(20, 20), QPoint(58, 38));
}

void MetafileTest::wmfMapping() {
    QFETCH(QList<QList<qint16>>, records);
    QFETCH(QRect, filled);
    WmfBuilder b(0, 0, 1000, 500, 480);
    b.record(wmfCreateBrush, {0, 0x00FF, 0, 0})
        .record(wmfCreatePen, {5, 0, 0, 0, 0})
        .record(wmfSelectObject, {0})
        .record(wmfSelectObject, {1});
    for (const QList<qint16>& r : records)
        b.record(quint16(r.first()), r.mid(1));
    b.record(wmfRectangle, {200, 300, 100, 100});   // bottom, right, top, left
    expectBox(importMetafile(b.bytes()), filled, red);
}

void MetafileTest::pathFillRule_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<Colour>("overlap");
    QTest::newRow("alternate leaves the overlap") << 1 << white;
    QTest::newRow("winding fills the overlap") << 2 << red;
}

void MetafileTest::pathFillRule() {
    QFETCH(int, mode);
    QFETCH(Colour, overlap);
    EmfBuilder b = emf100();
    b.solidBrush(red)
        .record(emrSetPolyFillMode, {mode})
        .record(emrBeginPath, {})
        .record(emrPolygon, {0, 0, 0, 0, 4, 10, 10, 50, 10, 50, 50, 10, 50})
        .record(emrPolygon, {0, 0, 0, 0, 4, 30, 30, 70, 30, 70, 70, 30, 70})
        .record(emrEndPath, {})
        .record(emrFillPath, {0, 0, 100, 100});
    const Bitmap picture = importMetafile(b.bytes());
    QCOMPARE(picture.pixel(20, 20), red);
    QCOMPARE(picture.pixel(60, 60), red);
    QCOMPARE(picture.pixel(40, 40), overlap);
    QCOMPARE(picture.pixel(35, 45), overlap);
    QCOMPARE(picture.pixel(5, 5), white);
    QCOMPARE(picture.pixel(75, 75), white);
}

void MetafileTest::blitRop_data() {
    QTest::addColumn<quint32>("rop");
    QTest::addColumn<Colour>("result");
    // Destination red 0x0000FF, source 0x00FF80 (a 1 x 1 24-bit DIB), brush
    // blue 0xFF0000; results worked out bit by bit.
    QTest::newRow("SRCCOPY") << 0xCC0020u << Colour(0x00FF80);
    QTest::newRow("SRCPAINT") << 0xEE0086u << Colour(0x00FFFF);
    QTest::newRow("SRCAND") << 0x8800C6u << Colour(0x000080);
    QTest::newRow("SRCINVERT") << 0x660046u << Colour(0x00FF7F);
    QTest::newRow("SRCERASE") << 0x440328u << green;
    QTest::newRow("NOTSRCCOPY") << 0x330008u << Colour(0xFF007F);
    QTest::newRow("NOTSRCERASE") << 0x1100A6u << blue;
    QTest::newRow("MERGEPAINT") << 0xBB0226u << Colour(0xFF00FF);
    QTest::newRow("PATCOPY") << 0xF00021u << blue;
    QTest::newRow("PATINVERT") << 0x5A0049u << Colour(0xFF00FF);
    QTest::newRow("DSTINVERT") << 0x550009u << Colour(0xFFFF00);
    QTest::newRow("BLACKNESS") << 0x000042u << black;
    QTest::newRow("WHITENESS") << 0xFF0062u << white;
}

void MetafileTest::blitRop() {
    QFETCH(quint32, rop);
    QFETCH(Colour, result);
    EmfBuilder b = emf100();
    b.solidBrush(red)
        .record(emrRectangle, {0, 0, 101, 101})
        .record(emrCreateBrush, {2, 0, 0xFF0000, 0})
        .record(emrSelectObject, {2})
        .rawRecord(emrStretchDiBits, stretchDiBits(QRect(10, 10, 40, 20), 1, 1, infoHeader(1, 1, 24, 0, {}),
                                                   QByteArray::fromHex("00FF8000"), rop));
    expectBox(importMetafile(b.bytes()), QRect(10, 10, 40, 20), result, red);
}

void MetafileTest::dibDepth_data() {
    QTest::addColumn<int>("bitCount");
    QTest::addColumn<quint32>("compression");
    QTest::addColumn<QList<quint32>>("table");
    QTest::addColumn<QByteArray>("bits");      // one row of two pixels
    QTest::addColumn<Colour>("left");
    QTest::addColumn<Colour>("right");
    const QList<quint32> twoColours{0x00FF0000, 0x000000FF};   // red, blue as stored
    QTest::newRow("1-bit") << 1 << 0u << twoColours << QByteArray::fromHex("40000000") << red << blue;
    QTest::newRow("4-bit") << 4 << 0u << twoColours << QByteArray::fromHex("10000000") << blue << red;
    QTest::newRow("8-bit") << 8 << 0u << twoColours << QByteArray::fromHex("00010000") << red << blue;
    // 5-5-5: 0x03E0 full green, 0x001F full blue.
    QTest::newRow("16-bit") << 16 << 0u << QList<quint32>{} << QByteArray::fromHex("E0031F00") << green
                            << blue;
    QTest::newRow("24-bit") << 24 << 0u << QList<quint32>{} << QByteArray::fromHex("0000FF00FF000000") << red
                            << green;
    QTest::newRow("32-bit") << 32 << 0u << QList<quint32>{} << QByteArray::fromHex("FF00000000FF0000")
                            << blue << green;
    // 5-6-5 fields: 0xF800 full red, 0x07E0 full green.
    QTest::newRow("16-bit bit fields") << 16 << 3u << QList<quint32>{0xF800, 0x07E0, 0x001F}
                                       << QByteArray::fromHex("00F8E007") << red << green;
}

void MetafileTest::dibDepth() {
    QFETCH(int, bitCount);
    QFETCH(quint32, compression);
    QFETCH(QList<quint32>, table);
    QFETCH(QByteArray, bits);
    QFETCH(Colour, left);
    QFETCH(Colour, right);
    const QByteArray info = infoHeader(2, 1, bitCount, compression, table);
    EmfBuilder b = emf100();
    b.rawRecord(emrStretchDiBits, stretchDiBits(QRect(10, 10, 40, 20), 2, 1, info, bits));
    const Bitmap picture = importMetafile(b.bytes());
    QCOMPARE(picture.pixel(10, 10), left);
    QCOMPARE(picture.pixel(29, 29), left);
    QCOMPARE(picture.pixel(30, 10), right);
    QCOMPARE(picture.pixel(49, 29), right);
    QCOMPARE(picture.pixel(50, 10), white);
}

void MetafileTest::dibRowsBottomUp() {
    // Two rows, stored bottom first unless the height is negative.
    const QByteArray bits = QByteArray::fromHex("0000FF00FF000000");   // red row, then blue row
    for (int height : {2, -2}) {
        EmfBuilder b = emf100();
        b.rawRecord(emrStretchDiBits, stretchDiBits(QRect(0, 0, 10, 20), 1, 2, infoHeader(1, height, 24, 0, {}),
                                                    bits));
        const Bitmap picture = importMetafile(b.bytes());
        QCOMPARE(picture.pixel(5, 5), height > 0 ? blue : red);
        QCOMPARE(picture.pixel(5, 15), height > 0 ? red : blue);
    }
}

void MetafileTest::penDashes_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("dashed");
    // Ten logical units a pixel. A dashed pen stays dashed up to one logical
    // unit wide, however thin it is on the device.
    QTest::newRow("width 0") << 0 << true;
    QTest::newRow("width 1") << 1 << true;
    QTest::newRow("width 5, half a pixel") << 5 << false;
    QTest::newRow("width 30") << 30 << false;
}

void MetafileTest::penDashes() {
    QFETCH(int, width);
    QFETCH(bool, dashed);
    EmfBuilder b = emf100();
    b.record(emrSetMapMode, {8})
        .record(emrSetWindowExt, {1000, 1000})
        .record(emrSetViewportExt, {100, 100})
        .record(emrCreatePen, {1, 1, width, 0, 0})
        .record(emrSelectObject, {1})
        .record(emrPolyline, {0, 0, 0, 0, 2, 0, 500, 990, 500});
    const Bitmap picture = importMetafile(b.bytes());
    int gaps = 0;
    for (int x = 0; x < 99; ++x)
        gaps += picture.pixel(x, 50) == white ? 1 : 0;
    QCOMPARE(gaps > 0, dashed);
}

void MetafileTest::wmfObjectSlots() {
    // Objects take the lowest free slot: the pen made after deleting slot 0
    // is object 0, the green brush stays object 1.
    WmfBuilder b(0, 0, 100, 100, 96, 2);
    b.record(wmfCreateBrush, {0, 0x00FF, 0, 0})
        .record(wmfCreateBrush, {0, qint16(0xFF00), 0, 0})
        .record(wmfDeleteObject, {0})
        .record(wmfCreatePen, {5, 0, 0, 0, 0})
        .record(wmfCreateBrush, {0, 0, 0xFF, 0})   // no free slot: not made
        .record(wmfSelectObject, {0})
        .record(wmfSelectObject, {1})
        .record(wmfSelectObject, {2})
        .record(wmfRectangle, {31, 51, 10, 10});
    expectBox(importMetafile(b.bytes()), QRect(QPoint(10, 10), QPoint(49, 29)), green);
}

void MetafileTest::monochromePatternBrush() {
    // An 8 x 8 one-bit pattern without a colour table (DIB_PAL_INDICES),
    // stored bottom row first, rows alternately 0 and 1 bits: 0 bits take
    // the text colour, 1 bits the background colour.
    QList<qint32> brush{1, 2, 32, 40, 72, 32, 40, 8, 8, 0x00010001, 0, 32, 0, 0, 0, 0};
    for (int row = 0; row < 8; ++row)
        brush.append(row % 2 == 0 ? 0 : 0xFF);
    EmfBuilder b = emf100();
    b.record(emrCreateMonoBrush, brush)
        .record(emrSelectObject, {1})
        .record(emrSelectObject, {nullPen})
        .record(emrSetTextColor, {red})
        .record(emrSetBkColor, {green})
        .record(emrRectangle, {0, 0, 101, 101});
    const Bitmap picture = importMetafile(b.bytes());
    for (int y = 0; y < 100; y += 7)
        for (int x = 0; x < 100; x += 13)
            QCOMPARE(picture.pixel(x, y), y % 2 == 1 ? red : green);
}

void MetafileTest::textInBox() {
    // A shape drawn first in the default opaque mode must not leave the
    // transparent text a background box (green would show it).
    EmfBuilder b = emf100();
    b.solidBrush(red)
        .record(emrSetBkColor, {0x00FF00})
        .record(emrRectangle, {80, 80, 96, 96})
        .record(emrCreateFont, font(QStringLiteral("Arial"), -20))
        .record(emrSelectObject, {2})
        .record(emrSetTextColor, {0})
        .record(emrSetBkMode, {1})
        .rawRecord(emrExtTextOutW, textHH(QPoint(20, 20)));
    const Bitmap picture = importMetafile(b.bytes());
    int inked = 0;
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) != white) {
                QCOMPARE(picture.pixel(x, y), black);
                ++inked;
                QVERIFY2(x >= 20 && x <= 50 && y >= 20 && y <= 42, qPrintable(QStringLiteral("ink at %1, %2").arg(x).arg(y)));
            }
    QVERIFY(inked > 40);
}

void MetafileTest::textMovesPosition_data() {
    QTest::addColumn<QList<qint32>>("mapping");   // map mode, window ext, viewport ext
    QTest::addColumn<int>("unitsDown");           // logical y units a pixel down the device
    QTest::newRow("y axis flipped") << QList<qint32>{2, 1, 1, 1, 1} << -1;
    QTest::newRow("y halved") << QList<qint32>{8, 100, 200, 100, 100} << 2;
}

void MetafileTest::textMovesPosition() {
    // Text 20 pixels high running up from (50, 80) with TA_UPDATECP, then a
    // red line to (95, 20): the line starts where the text ends. The
    // escapement is the logical angle: 270 degrees runs up where y does.
    QFETCH(QList<qint32>, mapping);
    QFETCH(int, unitsDown);
    EmfBuilder b = emf100();
    b.record(emrSetMapMode, {mapping[0]})
        .record(emrSetWindowExt, {mapping[1], mapping[2]})
        .record(emrSetViewportExt, {mapping[3], mapping[4]})
        .record(emrCreatePen, {1, 0, 1, 0, red})
        .record(emrSelectObject, {1})
        .record(emrCreateFont, font(QStringLiteral("Arial"), -20 * std::abs(unitsDown), 0, unitsDown < 0 ? 2700 : 900))
        .record(emrSelectObject, {2})
        .record(emrSetBkMode, {1})
        .record(emrSetTextAlign, {1 | 24})
        .record(emrMoveToEx, {50, 80 * unitsDown})
        .rawRecord(emrExtTextOutW, textHH(QPoint(0, 0)))
        .record(emrLineTo, {95, 20 * unitsDown});
    const Bitmap picture = importMetafile(b.bytes());
    int inkTop = 100;
    QPoint lineStart(100, 0);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) {
            inkTop = picture.pixel(x, y) == black ? std::min(inkTop, y) : inkTop;
            lineStart = picture.pixel(x, y) == red && x < lineStart.x() ? QPoint(x, y) : lineStart;
        }
    QVERIFY(inkTop < 60);
    QVERIFY2(std::abs(lineStart.x() - 50) <= 2 && std::abs(lineStart.y() - inkTop) <= 4,
             qPrintable(QStringLiteral("line from %1, %2; ink top %3").arg(lineStart.x()).arg(lineStart.y()).arg(inkTop)));
}

void MetafileTest::turnedText_data() {
    QTest::addColumn<QList<qint32>>("mapping");   // map mode, window ext, viewport ext
    QTest::addColumn<QList<qint32>>("world");     // float bits; none: identity
    QTest::addColumn<bool>("advanced");           // GM_ADVANCED, else GM_COMPATIBLE
    QTest::addColumn<int>("escapement");          // tenths of a degree
    QTest::addColumn<QPoint>("baseline");         // the way the text runs on the picture
    QTest::addColumn<QPoint>("tops");             // the side the characters' tops face
    const QList<qint32> yDown{1, 1, 1, 1, 1}, yUp{8, 100, -100, 100, 100}, metric{2, 1, 1, 1, 1};
    const QList<qint32> none, upsideDown{std::bit_cast<qint32>(1.0f), 0, 0, std::bit_cast<qint32>(-1.0f), 0, 0};
    const QPoint right(1, 0), left(-1, 0), up(0, -1), down(0, 1);
    // Compatible mode: upright and left to right on the device, the angle
    // turned with a mapping that mirrors (a y-up chart's 270 reads upwards).
    QTest::newRow("compatible, 90") << yDown << none << false << 900 << up << left;
    QTest::newRow("compatible, y up, 270") << yUp << none << false << 2700 << up << left;
    QTest::newRow("compatible, metric, 0") << metric << none << false << 0 << right << up;
    QTest::newRow("compatible, x flipped, 0") << QList<qint32>{8, -100, 100, 100, 100} << none << false << 0 << right << up;
    QTest::newRow("compatible, x flipped, 90") << QList<qint32>{8, -100, 100, 100, 100} << none << false << 900 << down << right;
    QTest::newRow("compatible, both flipped, 0") << QList<qint32>{8, -100, -100, 100, 100} << none << false << 0 << right << up;
    // Advanced mode: the text follows the whole transform, mirrors included.
    QTest::newRow("advanced, metric, 0") << metric << none << true << 0 << right << down;
    QTest::newRow("advanced, world upside down, 90") << yDown << upsideDown << true << 900 << down << left;
    QTest::newRow("advanced, x flipped, 0") << QList<qint32>{8, -100, 100, 100, 100} << none << true << 0 << left << up;
}

// "HHH" from the middle of the picture at its baseline: the ink's centre
// lies along the baseline from there, and off it towards the tops.
void MetafileTest::turnedText() {
    QFETCH(QList<qint32>, mapping);
    QFETCH(QList<qint32>, world);
    QFETCH(bool, advanced);
    QFETCH(int, escapement);
    QFETCH(QPoint, baseline);
    QFETCH(QPoint, tops);
    EmfBuilder b = emf100();
    b.record(emrSetMapMode, {mapping[0]})
        .record(emrSetWindowExt, {mapping[1], mapping[2]})
        .record(emrSetViewportExt, {mapping[3], mapping[4]})
        .record(emrSetViewportOrg, {50, 50});
    if (!world.isEmpty())
        b.record(emrSetWorldTransform, QList<qint32>(world.begin(), world.end()));
    b.record(emrCreateFont, font(QStringLiteral("Arial"), -16, 0, escapement))
        .record(emrSelectObject, {2})
        .record(emrSetBkMode, {1})
        .record(emrSetTextAlign, {24})
        .rawRecord(emrExtTextOutW, withWord(textOut(QPoint(0, 0), 3, QByteArray("H\0H\0H\0", 6)), 16, advanced ? 2 : 1));
    const Bitmap picture = importMetafile(b.bytes());
    QPointF sum;
    int inked = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) != white) {
                sum += QPointF(x - 50, y - 50);
                ++inked;
            }
    QVERIFY(inked > 30);
    const QPointF centre = sum / inked;
    const bool across = std::abs(centre.x()) > std::abs(centre.y());
    const QPoint runs = across ? QPoint(centre.x() > 0 ? 1 : -1, 0) : QPoint(0, centre.y() > 0 ? 1 : -1);
    const QPoint faces = across ? QPoint(0, centre.y() > 0 ? 1 : -1) : QPoint(centre.x() > 0 ? 1 : -1, 0);
    QCOMPARE(runs, baseline);
    QCOMPARE(faces, tops);
}

void MetafileTest::recordedWidths_data() {
    QTest::addColumn<QString>("face");
    QTest::addColumn<int>("advance");   // the face's "H" in thousandths of its em
    QTest::newRow("Arial") << QStringLiteral("Arial") << 722;
    QTest::newRow("Times New Roman") << QStringLiteral("Times New Roman") << 722;
}

// Ten H's in the face named, once unspaced and once spaced at the face's
// own widths, an em a thousand logical units: both lines end together
// when the face drawn has the widths of the one recorded.
void MetafileTest::recordedWidths() {
    QFETCH(QString, face);
    QFETCH(int, advance);
    const QByteArray tenH = QByteArray("H\0", 2).repeated(10);
    QByteArray spaced = withWord(textOut(QPoint(500, 4500), 10, tenH), 64, 96);
    for (int i = 0; i < 10; ++i)
        spaced += words({advance});
    EmfBuilder b(0, 0, 3000, 1000);   // 300 x 100 pixels, 50 logical units each
    b.record(emrSetMapMode, {8})
        .record(emrSetWindowExt, {15000, 5000})
        .record(emrSetViewportExt, {300, 100})
        .record(emrCreateFont, font(face, -1000))
        .record(emrSelectObject, {2})
        .record(emrSetBkMode, {1})
        .record(emrSetTextAlign, {24})
        .rawRecord(emrExtTextOutW, textOut(QPoint(500, 2000), 10, tenH))
        .rawRecord(emrExtTextOutW, spaced);
    const Bitmap picture = importMetafile(b.bytes());
    int ends[2] = {0, 0};   // the last inked column of each line
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) != white)
                ends[y >= 60] = std::max(ends[y >= 60], x);
    QVERIFY(ends[1] > 100);
    QVERIFY2(std::abs(ends[0] - ends[1]) <= 1, qPrintable(QStringLiteral("unspaced to %1, spaced to %2").arg(ends[0]).arg(ends[1])));
}

void MetafileTest::hostileWork_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("spent");
    // Each edge crosses every row of the picture: the rasteriser's work
    // grows with the square of the points, however small the box.
    QTest::newRow("polygon of 10 spikes") << spikePicture(10) << false;
    QTest::newRow("polygon of 20000 spikes") << spikePicture(20000) << true;
    // Every hole splits the clip further, and every record walks all of it.
    QTest::newRow("EMF, 20 clip holes") << excludedEmf(20) << false;
    QTest::newRow("EMF, 2500 clip holes") << excludedEmf(2500) << true;
    QTest::newRow("WMF, 20 clip holes") << excludedWmf(20) << false;
    QTest::newRow("WMF, 2500 clip holes") << excludedWmf(2500) << true;
    // A metafile drawn as an image plays on the outer file's budget, each time.
    QTest::newRow("metafile of 200 spikes drawn once") << nestedSpikes(200, 1, false) << false;
    QTest::newRow("metafile of 200 spikes drawn 40 times") << nestedSpikes(200, 40, false) << true;
    // Turned, it would be drawn onto pictures of its own 4096 pixels a side.
    QTest::newRow("metafile of 2000 spikes drawn turned") << nestedSpikes(2000, 1, true) << true;
    // Antialiased, every band of rows steps every slanted edge end to end.
    QTest::newRow("antialiased triangle") << antialiasedTriangle(0) << false;
    QTest::newRow("antialiased triangle reaching far off") << antialiasedTriangle(4e6f) << true;
    // A small PNG can unpack to a huge picture, once for each record.
    QTest::newRow("DIB of a 20-pixel PNG, 20 times") << pngDibs(20, 20) << false;
    QTest::newRow("DIB of a 4000-pixel PNG") << pngDibs(4000, 1) << true;
    // A pattern is turned into a brush for every shape painted with it.
    QTest::newRow("8-pixel pattern filled 1000 times") << patternFills(8, 1000) << false;
    QTest::newRow("1000-pixel pattern filled 1000 times") << patternFills(1000, 1000) << true;
}

// A file asking for more than its budget is cut short, whatever it holds;
// one within it is drawn whole.
void MetafileTest::hostileWork() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, spent);
    PlayedWork work;
    importMetafile(bytes, work);
    QVERIFY(work.allowed > 0);
    QCOMPARE(work.charged >= work.allowed, spent);
}

void MetafileTest::corpus_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("facts");
    const QString root = QStringLiteral(PELMORA_CORPUS_DIR);
    if (root.isEmpty())
        QSKIP("no corpus");
    QHash<QString, QString> notes;
    QFile facts(root + QStringLiteral("/FACTS.tsv"));
    if (facts.open(QIODevice::ReadOnly))
        for (const QByteArray& line : facts.readAll().split('\n')) {
            const QList<QByteArray> cells = line.split('\t');
            if (cells.size() >= 7)
                notes.insert(QString::fromUtf8(cells[0]), QString::fromUtf8(cells[6]));
        }
    for (const char* kind : {"wmf", "emf"}) {
        QDirIterator it(root + QLatin1Char('/') + QLatin1String(kind), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString name = path.mid(root.size() + 1);
            QTest::newRow(qPrintable(name)) << path << notes.value(name);
        }
    }
}

void MetafileTest::corpus() {
    QFETCH(QString, path);
    QFETCH(QString, facts);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    Bitmap picture;
    bool refused = false;
    try {
        picture = importMetafile(bytes);
    } catch (const PelmoraError&) {
        refused = true;
    }
    if (path.contains(QStringLiteral("corrupted")))
        return;   // drawn or refused, without harm, is all that is asked
    QCOMPARE(refused, facts.contains(QStringLiteral("NON-PLACEABLE")));
    if (refused)
        return;
    // The size the facts give: WMF at 96 dpi, EMF frame at device pixels.
    static const QRegularExpression wmfSize(QStringLiteral("~(\\d+)x(\\d+) px@96dpi"));
    static const QRegularExpression emfSize(QStringLiteral("frame->device ~(\\d+)x(\\d+)"));
    const auto match = (path.endsWith(QStringLiteral(".wmf")) ? wmfSize : emfSize).match(facts);
    QVERIFY(match.hasMatch());
    QVERIFY(std::abs(picture.width() - match.captured(1).toInt()) <= 1);
    QVERIFY(std::abs(picture.height() - match.captured(2).toInt()) <= 1);
}

} // namespace pelmora

PELMORA_TEST_MAIN(pelmora::MetafileTest)
#include "metafile_test.moc"
