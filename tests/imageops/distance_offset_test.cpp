// SPDX-License-Identifier: GPL-2.0-or-later
// Grown and shrunk masks against distances measured pair by pair.

// Qt
#include <QRandomGenerator>
#include <QTest>

// Local
#include "distance_offset.h"
#include "test_main.h"

// Std
#include <cmath>
#include <limits>

using namespace pelmora;

namespace {

// Blobs and specks: a few discs and rectangles and scattered pixels.
QImage randomMask(int width, int height, quint32 seed) {
    QRandomGenerator random(seed);
    QImage mask(width, height, QImage::Format_Grayscale8);
    mask.fill(0);
    for (int i = 0; i < 4; ++i) {
        const int cx = random.bounded(width), cy = random.bounded(height), r = random.bounded(1, 6);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r || random.bounded(60) == 0)
                    mask.scanLine(y)[x] = 1;
    }
    return mask;
}

// The squared distance from (x, y) to the nearest pixel that is inside (or,
// for `outside`, outside, counting the cells beyond the border).
double nearestSquared(const QImage& mask, int x, int y, bool outside) {
    double best = std::numeric_limits<double>::infinity();
    if (outside) {
        const int toBorder = std::min({x + 1, y + 1, mask.width() - x, mask.height() - y});
        best = double(toBorder) * toBorder;
    }
    for (int v = 0; v < mask.height(); ++v)
        for (int u = 0; u < mask.width(); ++u)
            if ((mask.constScanLine(v)[u] != 0) != outside)
                best = std::min(best, double(u - x) * (u - x) + double(v - y) * (v - y));
    return best;
}

} // namespace

class DistanceOffsetTest : public QObject {
    Q_OBJECT

private slots:
    void matchesPairwiseDistances_data();
    void matchesPairwiseDistances();
    void emptyAndFullMasks();
};

void DistanceOffsetTest::matchesPairwiseDistances_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<double>("distance");
    int seed = 1;
    for (const double distance : {0.0, 1.0, 1.5, std::sqrt(5.0), 2.9, 5.0, 12.0, 40.0})
        for (const QSize size : {QSize(23, 17), QSize(1, 9), QSize(31, 2)})
            QTest::addRow("%dx%d by %g #%d", size.width(), size.height(), distance, seed++)
                << size.width() << size.height() << distance;
}

// A pixel is in the grown mask when some inside pixel is at most the
// distance away, and in the shrunk one when every outside pixel is farther.
void DistanceOffsetTest::matchesPairwiseDistances() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(double, distance);
    const QImage mask = randomMask(width, height, quint32(width * 1000 + height + int(distance * 10)));
    const QImage grown = grownMask(mask, distance);
    const QImage shrunk = shrunkMask(mask, distance);
    QCOMPARE(grown.size(), mask.size());
    QCOMPARE(shrunk.size(), mask.size());
    const double limit = distance * distance;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool inside = mask.constScanLine(y)[x] != 0;
            QCOMPARE(grown.constScanLine(y)[x] != 0, nearestSquared(mask, x, y, false) <= limit);
            QCOMPARE(shrunk.constScanLine(y)[x] != 0, inside && nearestSquared(mask, x, y, true) > limit);
        }
}

void DistanceOffsetTest::emptyAndFullMasks() {
    QImage mask(12, 7, QImage::Format_Grayscale8);
    mask.fill(0);
    QCOMPARE(grownMask(mask, 3).pixelColor(5, 3).value(), 0);
    mask.fill(1);
    // Everything beyond the border is outside: a 7-row band keeps its middle row at 3.
    const QImage shrunk = shrunkMask(mask, 3);
    for (int y = 0; y < 7; ++y)
        QCOMPARE(shrunk.constScanLine(y)[5] != 0, y == 3);
    QVERIFY(grownMask(QImage(), 2).isNull());
}

PELMORA_TEST_MAIN(DistanceOffsetTest)
#include "distance_offset_test.moc"
