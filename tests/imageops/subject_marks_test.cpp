// SPDX-License-Identifier: GPL-2.0-or-later
// Background by colour within a tolerance, its flood from the border, the
// trimming of its edge and the removal of specks, each against a plain
// reference.

// Qt
#include <QRandomGenerator>
#include <QTest>

// Std
#include <cmath>
#include <deque>

// Local
#include "connected_background.h"
#include "despeckle.h"
#include "subject_marks.h"
#include "test_main.h"

using namespace pelmora;

namespace {

using Classes = QList<QList<bool>>;   // true: background

Classes classesOf(const QImage& marks) {
    Classes out(marks.height(), QList<bool>(marks.width()));
    for (int y = 0; y < marks.height(); ++y)
        for (int x = 0; x < marks.width(); ++x)
            out[y][x] = isBackgroundMark(marks.constScanLine(y)[x], false);
    return out;
}

// The pieces of one class joined through edge neighbours, breadth first:
// each pixel's piece number, and each piece's size and whether it reaches
// the border.
struct Pieces {
    QList<QList<int>> piece;
    QList<qint64> size;
    QList<bool> border;
};

Pieces piecesOf(const Classes& c) {
    const int h = int(c.size());
    const int w = int(c[0].size());
    Pieces p{QList<QList<int>>(h, QList<int>(w, -1)), {}, {}};
    for (int y0 = 0; y0 < h; ++y0)
        for (int x0 = 0; x0 < w; ++x0) {
            if (p.piece[y0][x0] >= 0)
                continue;
            const int id = int(p.size.size());
            p.size.append(0);
            p.border.append(false);
            std::deque<QPoint> queue{QPoint(x0, y0)};
            p.piece[y0][x0] = id;
            while (!queue.empty()) {
                const QPoint at = queue.front();
                queue.pop_front();
                ++p.size[id];
                if (at.x() == 0 || at.y() == 0 || at.x() == w - 1 || at.y() == h - 1)
                    p.border[id] = true;
                for (const QPoint step : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)}) {
                    const QPoint n = at + step;
                    if (QRect(0, 0, w, h).contains(n) && p.piece[n.y()][n.x()] < 0
                        && c[n.y()][n.x()] == c[y0][x0]) {
                        p.piece[n.y()][n.x()] = id;
                        queue.push_back(n);
                    }
                }
            }
        }
    return p;
}

// Noise around a background colour: most pixels a little off it, some far.
QImage noisyPicture(quint32 seed, int width, int height, QRgb background) {
    QRandomGenerator random(seed);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int spread = random.bounded(4) == 0 ? 255 : 40;
            const auto near = [&](int v) { return std::clamp(v + random.bounded(2 * spread + 1) - spread, 0, 255); };
            image.setPixel(x, y, qRgb(near(qRed(background)), near(qGreen(background)), near(qBlue(background))));
        }
    return image;
}

bool within(QRgb a, QRgb b, double percent) {
    const double d = std::hypot(qRed(a) - qRed(b), qGreen(a) - qGreen(b), qBlue(a) - qBlue(b));
    return d <= percent / 100 * std::sqrt(3.0) * 255 + 1e-9;
}

} // namespace

class SubjectMarksTest : public QObject {
    Q_OBJECT

private slots:
    void toleranceAtItsLimit_data() {
        QTest::addColumn<QRgb>("colour");
        QTest::addColumn<double>("fuzz");
        QTest::addColumn<bool>("background");
        // 10 % of black to white squared is 1950.75.
        QTest::newRow("exactly at 10 %") << qRgb(255 - 43, 255 - 10, 255 - 1) << 10.0 << true;
        QTest::newRow("one step past 10 %") << qRgb(255 - 43, 255 - 10, 255 - 2) << 10.0 << false;
        QTest::newRow("0 %: the colour itself") << qRgb(255, 255, 255) << 0.0 << true;
        QTest::newRow("0 %: one step off") << qRgb(255, 255, 254) << 0.0 << false;
        QTest::newRow("100 %: black from white") << qRgb(0, 0, 0) << 100.0 << true;
        QTest::newRow("99 %: black from white") << qRgb(0, 0, 0) << 99.0 << false;
    }
    void toleranceAtItsLimit() {
        QFETCH(QRgb, colour);
        QFETCH(double, fuzz);
        QFETCH(bool, background);
        QImage image(2, 1, QImage::Format_RGB32);
        image.fill(Qt::white);
        image.setPixel(1, 0, colour);
        QCOMPARE(classesOf(marksByColour(Bitmap(image), 0xFFFFFF, fuzz, false))[0][1], background);
    }

    void solidFloodMatchesBreadthFirst_data() {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<double>("fuzz");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("wide") << 11u << 10.0 << 97 << 23;
        QTest::newRow("tall") << 12u << 10.0 << 9 << 80;
        QTest::newRow("tight") << 13u << 4.0 << 50 << 50;
        QTest::newRow("loose") << 14u << 25.0 << 64 << 64;
        QTest::newRow("one row") << 15u << 10.0 << 40 << 1;
    }
    void solidFloodMatchesBreadthFirst() {
        QFETCH(quint32, seed);
        QFETCH(double, fuzz);
        QFETCH(int, width);
        QFETCH(int, height);
        const QRgb key = qRgb(250, 250, 250);
        const QImage image = noisyPicture(seed, width, height, key);
        Classes near(height, QList<bool>(width));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                near[y][x] = within(image.pixel(x, y), key, fuzz);
        const Pieces pieces = piecesOf(near);
        const Classes got = classesOf(marksByColour(Bitmap(image), colourFromRgb(key), fuzz, true));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                QCOMPARE(got[y][x], near[y][x] && pieces.border[pieces.piece[y][x]]);
    }

    // Random dark blocks with soft edges on white: every subject pixel
    // beside background against its subject neighbours, one at a time.
    void trimMatchesThePlainRule_data() {
        QTest::addColumn<quint32>("seed");
        QTest::newRow("a") << 31u;
        QTest::newRow("b") << 32u;
        QTest::newRow("c") << 33u;
    }
    void trimMatchesThePlainRule() {
        QFETCH(quint32, seed);
        QRandomGenerator random(seed);
        QImage image(83, 61, QImage::Format_RGB32);
        image.fill(Qt::white);
        for (int i = 0; i < 12; ++i) {
            const QRect block(random.bounded(70), random.bounded(50), 4 + random.bounded(30), 3 + random.bounded(20));
            const int shade = random.bounded(120);
            for (int y = block.top(); y <= block.bottom() && y < image.height(); ++y)
                for (int x = block.left(); x <= block.right() && x < image.width(); ++x) {
                    const bool edge = y == block.top() || y == block.bottom() || x == block.left() || x == block.right();
                    const int v = edge ? shade + random.bounded(255 - shade) : shade;
                    image.setPixel(x, y, qRgb(v, v, v));
                }
        }
        const auto far = [&](int x, int y) {
            const QRgb c = image.pixel(x, y);
            return (255 - qRed(c)) * (255 - qRed(c)) * 3;
        };
        QImage marks = marksByColour(Bitmap(image), kWhite, 5, false);
        const Classes before = classesOf(marks);
        trimHalfCovered(marks, Bitmap(image), kWhite);
        const Classes got = classesOf(marks);
        int trims = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                bool edge = false;
                int farthest = 0;
                for (const QPoint n : {QPoint(x - 1, y), QPoint(x + 1, y), QPoint(x, y - 1), QPoint(x, y + 1)}) {
                    const bool subject = QRect(0, 0, image.width(), image.height()).contains(n) && !before[n.y()][n.x()];
                    edge = edge || !subject;
                    if (subject)
                        farthest = std::max(farthest, far(n.x(), n.y()));
                }
                const bool trimmed = !before[y][x] && edge && 4 * far(x, y) < farthest;
                QCOMPARE(got[y][x], before[y][x] || trimmed);
                trims += trimmed;
            }
        QVERIFY(trims > 10);
    }

    void despeckleMatchesConnectedPieces_data() {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<int>("area");
        QTest::addColumn<int>("side");
        QTest::newRow("specks of 1") << 21u << 2 << 40;
        QTest::newRow("under 5") << 22u << 5 << 53;
        QTest::newRow("under 30") << 23u << 30 << 61;
        QTest::newRow("under everything") << 24u << 100000 << 31;
    }
    void despeckleMatchesConnectedPieces() {
        QFETCH(quint32, seed);
        QFETCH(int, area);
        QFETCH(int, side);
        QRandomGenerator random(seed);
        QImage marks(side, side, QImage::Format_Grayscale8);
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                marks.scanLine(y)[x] = random.bounded(100) < 45 ? kSubjectPixel : kOpenBackground;
        const Classes before = classesOf(marks);
        const Pieces pieces = piecesOf(before);
        despeckle(marks, area);
        const Classes got = classesOf(marks);
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                const int piece = pieces.piece[y][x];
                const bool goes = pieces.size[piece] < area && !(before[y][x] && pieces.border[piece]);
                QCOMPARE(got[y][x], goes ? !before[y][x] : before[y][x]);
            }
    }
};

PELMORA_TEST_MAIN(SubjectMarksTest)
#include "subject_marks_test.moc"
