// SPDX-License-Identifier: GPL-2.0-or-later
// Qt
#include <QTest>

// Local
#include "connected_background.h"
#include "fill.h"
#include "outline.h"
#include "rotate_mirror.h"
#include "stretch_copy.h"
#include "imageops_test.h"
#include "test_pictures.h"

using namespace pelmora;
using namespace pelmora::test;

namespace {

// The paints these tests use: plain colours and the window text colour.
Colour paintRgb(Colour paint) {
    return paint == clWindowText ? paletteColour(QPalette::Text) : paint;
}

// The scans as the program has always run them: column by column, pixel by
// pixel, painting in place.
Bitmap referenceOutline(Bitmap g, Colour outlineColour) {
    const Colour outline = paintRgb(outlineColour);
    const Colour background = g.pixel(0, 0);
    for (int x = 0; x < g.width(); ++x)
        for (int y = 0; y < g.height(); ++y) {
            if (g.pixel(x, y) == background || g.pixel(x, y) == outline)
                continue;
            for (const QPoint n : {QPoint(x - 1, y), QPoint(x + 1, y), QPoint(x, y - 1), QPoint(x, y + 1)})
                if (QRect(0, 0, g.width(), g.height()).contains(n) && g.pixel(n.x(), n.y()) == background)
                    g.setPixel(n.x(), n.y(), outline);
        }
    return g;
}

Bitmap referenceFill(Bitmap g, Colour fillColour) {
    for (int x = 0; x < g.width(); ++x)
        for (int y = 0; y < g.height(); ++y)
            if (g.pixel(x, y) != g.pixel(0, 0))
                g.setPixel(x, y, paintRgb(fillColour));
    return g;
}

// "90", "180", "270", "lr" or "tb".
TurnOrMirror turnNamed(const QString& word) {
    const QStringList names = {"90", "180", "270", "lr", "tb"};
    return TurnOrMirror(names.indexOf(word));
}

// Operations in turn: "outline", "fill", "solid-outline" or "solid-fill"
// followed by the paint's glyph, a turn or mirror (see turnNamed), or a
// stretch to "WxH".
Bitmap applied(Bitmap picture, const QString& operations) {
    const QStringList words = operations.split(' ');
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QStringList size = words[i].split('x');
        const auto paint = [&] { return kGlyphColours[kGlyphs.indexOf(words[++i])]; };
        if (words[i] == QLatin1String("outline"))
            picture = outlined(picture, paint());
        else if (words[i] == QLatin1String("fill"))
            picture = filled(picture, paint());
        else if (words[i] == QLatin1String("solid-outline"))
            picture = solidOutlined(picture, paint());
        else if (words[i] == QLatin1String("solid-fill"))
            picture = solidFilled(picture, paint());
        else if (size.size() == 2)
            picture = stretched(picture, size[0].toInt(), size[1].toInt());
        else
            picture = rotateOrFlipPicture(picture, turnNamed(words[i]));
    }
    return picture;
}

} // namespace

void ImageOpsTest::namedPictures_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("operations");
    QTest::addColumn<QString>("expected");
    QTest::newRow("outline: edges, not corners") << "...|.#.|..." << "outline g" << ".g.|g#g|.g.";
    QTest::newRow("outline: colour is the background") << "....|.##.|...." << "outline ." << "....|.##.|....";
    QTest::newRow("outline: subject in the outline colour") << "......|.g#...|......" << "outline g"
                                                            << "..g...|.g#g..|..g...";
    QTest::newRow("outline: hole gets a rim") << ".....|.###.|.#.#.|.###.|....." << "outline r"
                                              << ".rrr.|r###r|r#r#r|r###r|.rrr.";
    QTest::newRow("outline: separate background area") << ".#....|.#....|.#...." << "outline r"
                                                       << "r#r...|r#r...|r#r...";
    const QString every = QStringLiteral("outline g fill b solid-outline g solid-fill b");
    QTest::newRow("every operation: 1 x 1") << "#" << every << "#";
    QTest::newRow("every operation: one colour") << "rr|rr" << every << "rr|rr";
    QTest::newRow("every operation: 0 x 0") << "" << every << "";
    QTest::newRow("fill: hole stays") << ".....|.#r#.|.#.#.|.###." << "fill b" << ".....|.bbb.|.b.b.|.bbb.";
    QTest::newRow("fill: colour is the background") << "..|#r" << "fill ." << "..|..";
    QTest::newRow("fill: pixels already in the fill colour") << "#b|b." << "fill b" << "#b|bb";
    QTest::newRow("four quarter turns") << "r.g|b.#" << "90 90 90 90" << "r.g|b.#";
    QTest::newRow("both mirrors") << "r.g|b.#" << "lr tb" << "#.b|g.r";
    QTest::newRow("halving keeps thin lines") << "...#..|######|...#..|...#.." << "3x2" << "###|.#.";
    // Solid: enclosed background belongs to the subject.
    const QString ring = ".......|.#####.|.#...#.|.#...#.|.#...#.|.#####.|.......";
    QTest::newRow("solid: ring: filled whole")
        << ring << "solid-fill r" << ".......|.rrrrr.|.rrrrr.|.rrrrr.|.rrrrr.|.rrrrr.|.......";
    QTest::newRow("solid: ring: outlined outside only")
        << ring << "solid-outline g" << ".ggggg.|g#####g|g#...#g|g#...#g|g#...#g|g#####g|.ggggg.";
    QTest::newRow("solid: ring around a dot: no rim for the dot")
        << ".......|.#####.|.#...#.|.#.r.#.|.#...#.|.#####.|......." << "solid-outline g"
        << ".ggggg.|g#####g|g#...#g|g#.r.#g|g#...#g|g#####g|.ggggg.";
    const QString nested = ".........|.#######.|.#.....#.|.#.###.#.|.#.#.#.#.|.#.###.#.|.#.....#.|.#######.|.........";
    QTest::newRow("solid: nested rings: filled whole")
        << nested << "solid-fill b"
        << ".........|.bbbbbbb.|.bbbbbbb.|.bbbbbbb.|.bbbbbbb.|.bbbbbbb.|.bbbbbbb.|.bbbbbbb.|.........";
    QTest::newRow("solid: nested rings: outlined outside only")
        << nested << "solid-outline g"
        << ".ggggggg.|g#######g|g#.....#g|g#.###.#g|g#.#.#.#g|g#.###.#g|g#.....#g|g#######g|.ggggggg.";
    const QString gap = ".......|.##.##.|.#...#.|.#...#.|.#####.|.......";
    QTest::newRow("solid: hole open to the border through one pixel: stays a hole")
        << gap << "solid-fill r" << ".......|.rr.rr.|.r...r.|.r...r.|.rrrrr.|.......";
    QTest::newRow("solid: hole open to the border through one pixel: rim inside")
        << gap << "solid-outline g" << ".gg.gg.|g##g##g|g#g.g#g|g#ggg#g|g#####g|.ggggg.";
    QTest::newRow("solid: hole touching the outside at a corner only: filled")
        << ".....|.###.|.#.#.|.##..|....." << "solid-fill r" << ".....|.rrr.|.rrr.|.rr..|.....";
    QTest::newRow("solid: island of the corner's colour: filled")
        << "#...#|#.#.#|#...#" << "solid-fill r" << "#rrr#|#rrr#|#rrr#";
}

void ImageOpsTest::namedPictures() {
    QFETCH(QString, source);
    QFETCH(QString, operations);
    QTEST(rowsOfPicture(applied(pictureFromRows(source), operations)), "expected");
}

void ImageOpsTest::outlineAndFillMatchTheScan_data() {
    QTest::addColumn<QImage::Format>("format");
    QTest::newRow("rgb32") << QImage::Format_RGB32;
    QTest::newRow("rgb888") << QImage::Format_RGB888;
    QTest::newRow("indexed8") << QImage::Format_Indexed8;
}

void ImageOpsTest::outlineAndFillMatchTheScan() {
    QFETCH(QImage::Format, format);
    QRandomGenerator random(20261206);
    for (int round = 0; round < 300; ++round) {
        const Bitmap picture = randomPicture(random.bounded(1, 40), random.bounded(1, 12), random,
                                             kGlyphColours.first(random.bounded(2, 5)));
        // Now and then the paint is one of the picture's own colours.
        const Colour paint = QList<Colour>{0x123456, clWindowText, kGlyphColours[random.bounded(4)]}[random.bounded(3)];
        const Bitmap source(picture.image().convertToFormat(format));
        QVERIFY2(outlined(source, paint) == referenceOutline(picture, paint), qPrintable(QString::number(round)));
        QVERIFY2(filled(source, paint) == referenceFill(picture, paint), qPrintable(QString::number(round)));
    }
}

void ImageOpsTest::turnsAndMirrorsPlacePixels_data() {
    QTest::addColumn<QString>("turn");
    QTest::addColumn<QSize>("size");
    for (const QString turn : {"90", "180", "270", "lr", "tb"})
        // Across tile and block edges, below one block, and empty.
        for (QSize size : {QSize(131, 70), QSize(5, 3), QSize(9, 1030), QSize(4, 0)})
            QTest::addRow("%s, %d x %d", qPrintable(turn), size.width(), size.height()) << turn << size;
}

// Qt's own transforms are the reference.
void ImageOpsTest::turnsAndMirrorsPlacePixels() {
    QFETCH(QString, turn);
    QFETCH(QSize, size);
    QRandomGenerator random{quint32(qHash(turn))};
    const Bitmap source = randomPicture(size.width(), size.height(), random);
    const Bitmap result = rotateOrFlipPicture(source, turnNamed(turn));
    QCOMPARE(QSize(result.width(), result.height()), turn == "90" || turn == "270" ? size.transposed() : size);
    const QImage& image = source.image();
    if (!source.isEmpty())
        QVERIFY(result == Bitmap(turn == "lr"   ? image.mirrored(true, false)
                                 : turn == "tb" ? image.mirrored(false, true)
                                                : image.transformed(QTransform().rotate(turn.toInt()))));
}

void ImageOpsTest::stretchMatchesPlainStepping_data() {
    QTest::addColumn<QSize>("from");
    QTest::addColumn<QSize>("to");
    QTest::newRow("odd reduction") << QSize(97, 53) << QSize(30, 17);
    QTest::newRow("odd enlargement") << QSize(13, 7) << QSize(41, 30);
    QTest::newRow("to one pixel") << QSize(9, 11) << QSize(1, 1);
    QTest::newRow("wider, lower") << QSize(10, 30) << QSize(33, 8);
    QTest::newRow("same size") << QSize(12, 5) << QSize(12, 5);
    QTest::newRow("to no width") << QSize(6, 6) << QSize(0, 5);
    QTest::newRow("to no height") << QSize(6, 6) << QSize(7, 0);
    QTest::newRow("negative width counts as 0") << QSize(6, 6) << QSize(-3, 4);
    QTest::newRow("from an empty picture") << QSize(4, 0) << QSize(2, 2);
}

// Enlarging, target t shows source t * from / to; reducing, source s falls
// onto target s * to / from, and what falls together is ANDed.
void ImageOpsTest::stretchMatchesPlainStepping() {
    QFETCH(QSize, from);
    QFETCH(QSize, to);
    QRandomGenerator random(99);
    const Bitmap source = randomPicture(from.width(), from.height(), random);
    const QSize size = to.expandedTo(QSize(0, 0));
    Bitmap want = Bitmap::white(size.width(), size.height());
    const auto hits = [](int s, int t, int from, int to) {
        return to >= from ? s == int(qint64(t) * from / to) : int(qint64(s) * to / from) == t;
    };
    for (int ty = 0; ty < size.height(); ++ty)
        for (int tx = 0; tx < size.width(); ++tx)
            for (int y = 0; y < from.height(); ++y)
                for (int x = 0; x < from.width(); ++x)
                    if (hits(y, ty, from.height(), size.height()) && hits(x, tx, from.width(), size.width()))
                        want.setPixel(tx, ty, want.pixel(tx, ty) & source.pixel(x, y));
    const Bitmap result = stretched(source, to.width(), to.height());
    QCOMPARE(QSize(result.width(), result.height()), size);
    QVERIFY(result == want);
}
