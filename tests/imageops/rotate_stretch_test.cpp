// Qt
#include <QRandomGenerator>
#include <QTest>

// Local
#include "imageops/rotate_mirror.h"
#include "imageops/stretch_copy.h"
#include "test_pictures.h"

// Std
#include <stdexcept>

using namespace pelmora;
using namespace pelmora::test;

namespace {

Bitmap randomPicture(int width, int height, quint32 seed) {
    QRandomGenerator random(seed);
    Grid g{width, height, {}};
    for (int i = 0; i < width * height; ++i)
        g.cells.push_back(Colour(random.bounded(0x1000000)));
    return inFormat(g, QImage::Format_RGB32);
}

} // namespace

class RotateStretchTest : public QObject {
    Q_OBJECT

private slots:
    void followsThePlacementTable_data();
    void followsThePlacementTable();
    void identities_data();
    void identities();
    void cornersOfANonSquarePicture_data();
    void cornersOfANonSquarePicture();
    void unknownCodeIsRefused();
    void thinBlackLineSurvivesHalving_data();
    void thinBlackLineSurvivesHalving();
    void enlargingRepeatsPixels();
    void matchesPlainStepping_data();
    void matchesPlainStepping();
    void emptyPictures();
};

void RotateStretchTest::followsThePlacementTable_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    for (int code : {kTurn90, kTurn180, kTurn270, kMirrorLeftRight, kMirrorTopBottom}) {
        // Across tile and block edges, and below one block.
        QTest::addRow("%d, 131 x 70", code) << code << 131 << 70;
        QTest::addRow("%d, 5 x 3", code) << code << 5 << 3;
        QTest::addRow("%d, 9 x 1030", code) << code << 9 << 1030;
    }
}

// Source (x, y) goes to the position the code names.
void RotateStretchTest::followsThePlacementTable() {
    QFETCH(int, code);
    QFETCH(int, width);
    QFETCH(int, height);
    const Bitmap source = randomPicture(width, height, quint32(code * 1000 + width));
    const Bitmap result = rotateOrFlipPicture(source, code);
    const bool quarter = code == kTurn90 || code == kTurn270;
    QCOMPARE(result.width(), quarter ? height : width);
    QCOMPARE(result.height(), quarter ? width : height);
    QCOMPARE(result.format(), QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int tx = x;
            int ty = y;
            switch (code) {
            case kTurn90: tx = height - 1 - y; ty = x; break;
            case kTurn180: tx = width - 1 - x; ty = height - 1 - y; break;
            case kTurn270: tx = y; ty = width - 1 - x; break;
            case kMirrorLeftRight: tx = width - 1 - x; break;
            case kMirrorTopBottom: ty = height - 1 - y; break;
            }
            if (result.pixel(tx, ty) != source.pixel(x, y))
                QFAIL(qPrintable(QStringLiteral("source (%1, %2) is not at (%3, %4)").arg(x).arg(y).arg(tx).arg(ty)));
        }
}

void RotateStretchTest::identities_data() {
    QTest::addColumn<QList<int>>("first");
    QTest::addColumn<QList<int>>("second");
    QTest::newRow("four quarter turns") << QList<int>{90, 90, 90, 90} << QList<int>{};
    QTest::newRow("two quarter turns are a half") << QList<int>{90, 90} << QList<int>{180};
    QTest::newRow("90 then 270") << QList<int>{90, 270} << QList<int>{};
    QTest::newRow("three clockwise are one back") << QList<int>{90, 90, 90} << QList<int>{270};
    QTest::newRow("mirror twice left-right") << QList<int>{99, 99} << QList<int>{};
    QTest::newRow("mirror twice top-bottom") << QList<int>{188, 188} << QList<int>{};
    QTest::newRow("both mirrors are a half turn") << QList<int>{99, 188} << QList<int>{180};
}

void RotateStretchTest::identities() {
    QFETCH(QList<int>, first);
    QFETCH(QList<int>, second);
    const Bitmap source = randomPicture(67, 29, 7);
    Bitmap a = source;
    for (int code : first)
        a = rotateOrFlipPicture(a, code);
    Bitmap b = source;
    for (int code : second)
        b = rotateOrFlipPicture(b, code);
    QVERIFY(a == b);
}

void RotateStretchTest::cornersOfANonSquarePicture_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QStringList>("expected");
    // The source: red top left, green top right, blue bottom left, black
    // bottom right, 3 x 2.
    QTest::newRow("90") << kTurn90 << QStringList{"br", "..", "#g"};
    QTest::newRow("180") << kTurn180 << QStringList{"#.b", "g.r"};
    QTest::newRow("270") << kTurn270 << QStringList{"g#", "..", "rb"};
    QTest::newRow("99") << kMirrorLeftRight << QStringList{"g.r", "#.b"};
    QTest::newRow("188") << kMirrorTopBottom << QStringList{"b.#", "r.g"};
}

void RotateStretchTest::cornersOfANonSquarePicture() {
    QFETCH(int, code);
    QFETCH(QStringList, expected);
    QCOMPARE(rowsOfPicture(rotateOrFlipPicture(pictureFromRows({"r.g", "b.#"}), code)), expected);
}

void RotateStretchTest::unknownCodeIsRefused() {
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, rotateOrFlipPicture(Bitmap::white(2, 2), 45));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, rotateOrFlipPicture(Bitmap(), 0));
}

void RotateStretchTest::thinBlackLineSurvivesHalving_data() {
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<int>("at");
    QTest::addColumn<int>("size");
    for (int size : {40, 41})
        for (int at : {0, 7, size - 1}) {
            QTest::addRow("vertical line at %d of %d", at, size) << true << at << size;
            QTest::addRow("horizontal line at %d of %d", at, size) << false << at << size;
        }
}

void RotateStretchTest::thinBlackLineSurvivesHalving() {
    QFETCH(bool, vertical);
    QFETCH(int, at);
    QFETCH(int, size);
    Bitmap source = Bitmap::white(size, size);
    for (int i = 0; i < size; ++i)
        source.setPixel(vertical ? at : i, vertical ? i : at, kBlack);
    const Bitmap half = stretched(source, size / 2, size / 2);
    QCOMPARE(half.width(), size / 2);
    int blackLines = 0;
    for (int j = 0; j < size / 2; ++j) {
        int black = 0;
        for (int i = 0; i < size / 2; ++i)
            black += half.pixel(vertical ? j : i, vertical ? i : j) == kBlack;
        if (black == size / 2)
            ++blackLines;
        else
            QCOMPARE(black, 0);
    }
    QCOMPARE(blackLines, 1);
}

void RotateStretchTest::enlargingRepeatsPixels() {
    const Bitmap source = pictureFromRows({"r#", "bg"});
    QCOMPARE(rowsOfPicture(stretched(source, 4, 3)), (QStringList{"rr##", "rr##", "bbgg"}));
}

void RotateStretchTest::matchesPlainStepping_data() {
    QTest::addColumn<int>("fromWidth");
    QTest::addColumn<int>("fromHeight");
    QTest::addColumn<int>("toWidth");
    QTest::addColumn<int>("toHeight");
    QTest::newRow("halve") << 50 << 40 << 25 << 20;
    QTest::newRow("double") << 25 << 20 << 50 << 40;
    QTest::newRow("odd reduction") << 97 << 53 << 30 << 17;
    QTest::newRow("odd enlargement") << 13 << 7 << 41 << 30;
    QTest::newRow("to one pixel") << 9 << 11 << 1 << 1;
    QTest::newRow("wider, lower") << 10 << 30 << 33 << 8;
    QTest::newRow("same size") << 12 << 5 << 12 << 5;
}

// Enlarging, target i shows source i * from / to; reducing, source j falls
// onto target j * to / from, and what falls together is ANDed.
void RotateStretchTest::matchesPlainStepping() {
    QFETCH(int, fromWidth);
    QFETCH(int, fromHeight);
    QFETCH(int, toWidth);
    QFETCH(int, toHeight);
    const Bitmap source = randomPicture(fromWidth, fromHeight, 99);
    std::vector<Colour> want(size_t(toWidth) * size_t(toHeight), kWhite);
    const auto onto = [](int j, int from, int to) { return int(qint64(j) * to / from); };
    for (int ty = 0; ty < toHeight; ++ty)
        for (int tx = 0; tx < toWidth; ++tx)
            for (int y = 0; y < fromHeight; ++y)
                for (int x = 0; x < fromWidth; ++x) {
                    const bool rowHits = toHeight >= fromHeight ? y == int(qint64(ty) * fromHeight / toHeight)
                                                                : onto(y, fromHeight, toHeight) == ty;
                    const bool columnHits = toWidth >= fromWidth ? x == int(qint64(tx) * fromWidth / toWidth)
                                                                 : onto(x, fromWidth, toWidth) == tx;
                    if (rowHits && columnHits)
                        want[size_t(ty) * size_t(toWidth) + size_t(tx)] &= source.pixel(x, y);
                }
    QCOMPARE(gridOf(stretched(source, toWidth, toHeight)).cells, want);
}

// A width or height of 0 is no error, and a negative one counts as 0.
void RotateStretchTest::emptyPictures() {
    Bitmap empty;
    empty.setWidth(4);
    const Bitmap turned = rotateOrFlipPicture(empty, kTurn270);
    QVERIFY(turned.width() == 0 && turned.height() == 4);
    QCOMPARE(rowsOfPicture(stretched(empty, 2, 2)), (QStringList{"..", ".."}));
    const Bitmap picture = randomPicture(6, 6, 1);
    const Bitmap narrow = stretched(picture, 0, 5);
    QVERIFY(narrow.width() == 0 && narrow.height() == 5);
    const Bitmap flat = stretched(picture, 7, 0);
    QVERIFY(flat.width() == 7 && flat.height() == 0);
    const Bitmap negative = stretched(picture, -3, 4);
    QVERIFY(negative.width() == 0 && negative.height() == 4);
}

int runRotateStretchTests(int argc, char** argv) {
    RotateStretchTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "rotate_stretch_test.moc"
