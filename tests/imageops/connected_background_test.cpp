// SPDX-License-Identifier: GPL-2.0-or-later
// Qt
#include <QTest>

// Std
#include <algorithm>
#include <deque>

// Local
#include "connected_background.h"
#include "fill.h"
#include "outline.h"
#include "imageops_test.h"
#include "test_pictures.h"

using namespace pelmora;
using namespace pelmora::test;

namespace {

// Breadth first from every border pixel of the top-left colour, one pixel
// at a time: true for the pixels reached.
QList<QList<bool>> reachedFromBorder(const Bitmap& g) {
    const Colour background = g.pixel(0, 0);
    QList<QList<bool>> reached(g.height(), QList<bool>(g.width(), false));
    std::deque<QPoint> queue;
    const auto visit = [&](QPoint p) {
        if (QRect(0, 0, g.width(), g.height()).contains(p) && !reached[p.y()][p.x()]
            && g.pixel(p.x(), p.y()) == background) {
            reached[p.y()][p.x()] = true;
            queue.push_back(p);
        }
    };
    for (int y = 0; y < g.height(); ++y)
        for (int x = 0; x < g.width(); ++x)
            if (x == 0 || y == 0 || x == g.width() - 1 || y == g.height() - 1)
                visit(QPoint(x, y));
    while (!queue.empty()) {
        const QPoint p = queue.front();
        queue.pop_front();
        for (const QPoint step : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)})
            visit(p + step);
    }
    return reached;
}

} // namespace

void ImageOpsTest::solidMatchesBreadthFirstFlood_data() {
    QTest::addColumn<QImage::Format>("format");
    QTest::addColumn<QSize>("largest");
    QTest::newRow("rgb32, small") << QImage::Format_RGB32 << QSize(40, 12);
    QTest::newRow("rgb32, rows past a word") << QImage::Format_RGB32 << QSize(300, 60);
    QTest::newRow("rgb888") << QImage::Format_RGB888 << QSize(40, 40);
    QTest::newRow("indexed8") << QImage::Format_Indexed8 << QSize(40, 40);
}

// Random pictures near the density where background pockets are most
// varied: many enclosed areas, winding open ones.
void ImageOpsTest::solidMatchesBreadthFirstFlood() {
    QFETCH(QImage::Format, format);
    QFETCH(QSize, largest);
    QRandomGenerator random(20261207);
    for (int round = 0; round < 150; ++round) {
        const QString where = QString::number(round);
        const QList<Colour> colours = round % 3 == 0 ? QList<Colour>{kWhite, kWhite, kBlack}
                                                     : QList<Colour>{kWhite, kWhite, kWhite, kBlack, kRed};
        const Bitmap picture = randomPicture(random.bounded(1, largest.width()), random.bounded(1, largest.height()),
                                             random, colours);
        const Bitmap source(picture.image().convertToFormat(format));
        const Colour background = picture.pixel(0, 0);
        const Colour paint = round % 5 == 0 ? background : kBlue;
        const QList<QList<bool>> open = reachedFromBorder(picture);

        const QImage marks = backgroundMarks(source, background);
        const Bitmap fill = solidFilled(source, paint);
        const Bitmap outline = solidOutlined(source, paint);
        // Nothing enclosed: the results are the plain ones, format included.
        bool enclosed = false;
        for (int y = 0; y < marks.height(); ++y)
            enclosed = enclosed || std::count(marks.constScanLine(y), marks.constScanLine(y) + marks.width(),
                                              uchar(kEnclosedBackground)) > 0;
        if (!enclosed) {
            QCOMPARE(fill.format(), filled(source, paint).format());
            QCOMPARE(outline.format(), outlined(source, paint).format());
        }
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                const Colour c = picture.pixel(x, y);
                const uchar mark = open[y][x] ? kOpenBackground : c == background ? kEnclosedBackground : kSubjectPixel;
                QVERIFY2(marks.constScanLine(y)[x] == mark, qPrintable(where));
                QVERIFY2(fill.pixel(x, y) == (open[y][x] ? c : paint), qPrintable(where));
                bool touches = false;
                for (const QPoint n : {QPoint(x - 1, y), QPoint(x + 1, y), QPoint(x, y - 1), QPoint(x, y + 1)})
                    if (QRect(0, 0, picture.width(), picture.height()).contains(n)) {
                        const Colour nc = picture.pixel(n.x(), n.y());
                        touches = touches || (nc != background && nc != paint);
                    }
                QVERIFY2(outline.pixel(x, y) == (open[y][x] && touches ? paint : c), qPrintable(where));
            }
    }
}
