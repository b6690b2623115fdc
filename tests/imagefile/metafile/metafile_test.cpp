// Qt
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// Local
#include "imagefile/metafile/metafile.h"
#include "imagefile/open_picture.h"
#include "imageops/pelmora_error.h"
#include "metafile_builders.h"

namespace pelmora {

using test::EmfBuilder;
using test::WmfBuilder;

namespace {

constexpr Colour white = 0xFFFFFF;
constexpr Colour black = 0x000000;
constexpr Colour red = 0x0000FF;

// EMF record types and WMF functions the tests write.
enum : quint32 {
    emrPolygon = 3, emrSetWindowExt = 9, emrSetViewportExt = 11, emrSetMapMode = 17, emrSetBkMode = 18,
    emrSetPolyFillMode = 19, emrSetTextColor = 24, emrSelectObject = 37, emrCreatePen = 38,
    emrCreateBrush = 39, emrRectangle = 43, emrBeginPath = 59, emrEndPath = 60, emrFillPath = 62,
    emrStretchDiBits = 81, emrCreateFont = 82, emrExtTextOutW = 84, emrSetBkColor = 25, emrCreateMonoBrush = 93,
};
enum : quint16 {
    wmfSetWindowOrg = 0x020B, wmfSetWindowExt = 0x020C, wmfSelectObject = 0x012D,
    wmfCreatePen = 0x02FA, wmfCreateBrush = 0x02FC, wmfRectangle = 0x041B,
};
constexpr qint32 nullPen = qint32(0x80000008u);

// A 100 x 100 pixel picture: 10 mm at 10 pixels per millimetre.
EmfBuilder emf100() { return EmfBuilder(0, 0, 1000, 1000); }

EmfBuilder& redBrushNoPen(EmfBuilder& b) {
    return b.record(emrCreateBrush, {1, 0, red, 0}).record(emrSelectObject, {1}).record(emrSelectObject, {nullPen});
}

bool refuses(const QByteArray& bytes) {
    try {
        importMetafile(bytes);
    } catch (const PelmoraError& e) {
        return e.text() == QStringLiteral("メタファイルが不正です");
    }
    return false;
}

// Every pixel: one colour inside box (inclusive), another outside.
void expectBox(const Bitmap& picture, const QRect& box, Colour inside, Colour outside = white) {
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const Colour want = box.contains(x, y) ? inside : outside;
            if (picture.pixel(x, y) != want)
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) is %3, not %4").arg(x).arg(y)
                                     .arg(picture.pixel(x, y), 6, 16, QLatin1Char('0')).arg(want, 6, 16, QLatin1Char('0'))));
        }
}

QByteArray withWord(QByteArray bytes, int at, quint32 value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char(value >> (8 * i) & 0xFF);
    return bytes;
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
    void rectangle_data();
    void rectangle();
    void wmfFlippedWindow();
    void pathFillRule_data();
    void pathFillRule();
    void srcAndDib();
    void monochromePatternBrush();
    void textInBox();
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
    QTest::newRow("EMF beyond 30000 pixels a side") << EmfBuilder(0, 0, 301000, 100).bytes() << true;
    QTest::newRow("EMF of a gigapixel") << EmfBuilder(0, 0, 250000, 250000).bytes() << true;
    QTest::newRow("WMF beyond 30000 pixels a side") << WmfBuilder(-16000, 0, 16000, 10, 96).bytes() << true;
    QTest::newRow("EMF header cut short") << emf.left(60) << true;
    const QByteArray polygon = emf100().record(emrPolygon, {0, 0, 10, 10, 3, 0, 0, 5, 5, 9, 0}).bytes();
    QTest::newRow("EMF polygon that fits") << polygon << false;
    QTest::newRow("EMF polygon count beyond its record") << withWord(polygon, 88 + 24, 0x20000000) << true;
    QTest::newRow("EMF record longer than the file") << withWord(polygon, 88 + 4, 4000) << true;
    QTest::newRow("EMF record size not a multiple of 4") << withWord(polygon, 88 + 4, 50) << true;
    QTest::newRow("EMF without its end record") << polygon.left(polygon.size() - 20) + QByteArray(3, '\0') << true;
}

void MetafileTest::decision() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, refused);
    if (refused) {
        QVERIFY(refuses(bytes));
    } else {
        try {
            QVERIFY(!importMetafile(bytes).isEmpty());
        } catch (const PelmoraError& e) {
            QFAIL(qPrintable(e.text()));
        }
    }
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
}

void MetafileTest::size() {
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, size);
    const Bitmap picture = importMetafile(bytes);
    QCOMPARE(QSize(picture.width(), picture.height()), size);
    QCOMPARE(picture.pixel(0, 0), white);
    QCOMPARE(picture.pixel(picture.width() - 1, picture.height() - 1), white);
}

void MetafileTest::rectangle_data() {
    QTest::addColumn<QList<qint32>>("mapping");   // map mode, window ext, viewport ext
    QTest::addColumn<QRect>("rect");              // logical left, top, right, bottom
    QTest::addColumn<QRect>("filled");            // pixels, inclusive

    // Without a pen GDI fills up to two pixels short of right and bottom.
    QTest::newRow("MM_TEXT") << QList<qint32>{1, 1, 1, 1, 1} << QRect(QPoint(20, 30), QPoint(60, 70))
                             << QRect(QPoint(20, 30), QPoint(58, 68));
    QTest::newRow("MM_ANISOTROPIC 1/10") << QList<qint32>{8, 1000, 1000, 100, 100}
                                         << QRect(QPoint(200, 300), QPoint(600, 700)) << QRect(QPoint(20, 30), QPoint(58, 68));
    QTest::newRow("MM_ANISOTROPIC 1/10 by 1/5") << QList<qint32>{8, 1000, 500, 100, 100}
                                                << QRect(QPoint(200, 300), QPoint(600, 700)) << QRect(QPoint(20, 60), QPoint(58, 99));
    QTest::newRow("MM_ISOTROPIC keeps the smaller scale") << QList<qint32>{7, 1000, 500, 100, 100}
                                                          << QRect(QPoint(200, 300), QPoint(600, 700)) << QRect(QPoint(20, 30), QPoint(58, 68));
    // 0.1 mm a unit at 10 px per mm, y upwards.
    QTest::newRow("MM_LOMETRIC") << QList<qint32>{2, 1, 1, 1, 1} << QRect(QPoint(20, -30), QPoint(60, -70))
                                 << QRect(QPoint(20, 30), QPoint(58, 68));
    QTest::newRow("MM_HIMETRIC") << QList<qint32>{3, 1, 1, 1, 1} << QRect(QPoint(200, -300), QPoint(600, -700))
                                 << QRect(QPoint(20, 30), QPoint(58, 68));
}

void MetafileTest::rectangle() {
    QFETCH(QList<qint32>, mapping);
    QFETCH(QRect, rect);
    QFETCH(QRect, filled);
    EmfBuilder b = emf100();
    b.record(emrSetMapMode, {mapping[0]})
        .record(emrSetWindowExt, {mapping[1], mapping[2]})
        .record(emrSetViewportExt, {mapping[3], mapping[4]});
    redBrushNoPen(b).record(emrRectangle, {rect.left(), rect.top(), rect.right(), rect.bottom()});
    expectBox(importMetafile(b.bytes()), filled, red);
}

void MetafileTest::wmfFlippedWindow() {
    // 1000 x 500 units at 480 per inch: 200 x 100 pixels, y upwards.
    WmfBuilder b(0, 0, 1000, 500, 480);
    b.record(wmfSetWindowOrg, {500, 0})
        .record(wmfSetWindowExt, {-500, 1000})
        .record(wmfCreateBrush, {0, 0x00FF, 0, 0})
        .record(wmfCreatePen, {5, 0, 0, 0, 0})
        .record(wmfSelectObject, {0})
        .record(wmfSelectObject, {1})
        .record(wmfRectangle, {200, 300, 100, 100});   // bottom, right, top, left
    // x 100..300 -> 20..60; y 100..200 -> 80..60.
    expectBox(importMetafile(b.bytes()), QRect(QPoint(20, 60), QPoint(58, 78)), red);
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
    redBrushNoPen(b)
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

void MetafileTest::srcAndDib() {
    // A 2 x 1 24-bit DIB, green then white, stretched over (10, 10, 40, 20)
    // with SRCAND onto red: red AND green is black, red AND white is red.
    QByteArray body;
    for (qint32 w : {0, 0, 0, 0, 10, 10, 0, 0, 2, 1, 80, 40, 120, 8, 0, 0x8800C6, 40, 20})
        test::put32(body, quint32(w));
    for (qint32 w : {40, 2, 1})
        test::put32(body, quint32(w));
    test::put16(body, 1);
    test::put16(body, 24);
    for (int i = 0; i < 6; ++i)
        test::put32(body, 0);
    body.append(QByteArray::fromHex("00FF00FFFFFF0000"));
    EmfBuilder b = emf100();
    redBrushNoPen(b).record(emrRectangle, {0, 0, 101, 101}).rawRecord(emrStretchDiBits, body);
    const Bitmap picture = importMetafile(b.bytes());
    expectBox(picture, QRect(QPoint(10, 10), QPoint(29, 29)), black, red);
    QCOMPARE(picture.pixel(40, 20), red);
}

void MetafileTest::monochromePatternBrush() {
    // An 8 x 8 one-bit pattern without a colour table (DIB_PAL_INDICES),
    // stored bottom row first, rows alternately 0 and 1 bits: 0 bits take
    // the text colour, 1 bits the background colour.
    constexpr Colour green = 0x00FF00;
    QList<qint32> words{1, 2, 32, 40, 72, 32, 40, 8, 8, 0x00010001, 0, 32, 0, 0, 0, 0};
    for (int row = 0; row < 8; ++row)
        words.append(row % 2 == 0 ? 0 : 0xFF);
    EmfBuilder b = emf100();
    b.record(emrCreateMonoBrush, words)
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
    QList<qint32> font{1, -20, 0, 0, 0, 400, 0, 0};
    const QString face = QStringLiteral("Arial");
    for (int i = 0; i < 16; ++i) {
        const ushort lo = i * 2 < face.size() ? face.at(i * 2).unicode() : 0;
        const ushort hi = i * 2 + 1 < face.size() ? face.at(i * 2 + 1).unicode() : 0;
        font.append(qint32(lo | hi << 16));
    }
    QByteArray text;
    for (qint32 w : {0, 0, 0, 0, 1, 0, 0, 20, 20, 2, 76, 0, 0, 0, -1, -1, 0})
        test::put32(text, quint32(w));
    text.append("H\0H\0", 4);
    EmfBuilder b = emf100();
    b.record(emrCreateFont, font)
        .record(emrSelectObject, {1})
        .record(emrSetTextColor, {0})
        .record(emrSetBkMode, {1})
        .rawRecord(emrExtTextOutW, text);
    const Bitmap picture = importMetafile(b.bytes());
    int inked = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) != white) {
                ++inked;
                QVERIFY2(x >= 20 && x <= 50 && y >= 20 && y <= 42, qPrintable(QStringLiteral("ink at %1, %2").arg(x).arg(y)));
            }
    QVERIFY(inked > 40);
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

QTEST_MAIN(pelmora::MetafileTest)
#include "metafile_test.moc"
