// Qt
#include <QRandomGenerator>
#include <QTest>

// Local
#include "imageops/fill.h"
#include "imageops/outline.h"
#include "test_pictures.h"

using namespace pelmora;
using namespace pelmora::test;

namespace {

// The scans as the program has always run them: column by column, pixel by
// pixel, painting in place.
Grid referenceOutline(Grid g, Colour outlineColour) {
    if (g.width == 0 || g.height == 0)
        return g;
    const Colour background = g.at(0, 0);
    const Colour outline = resolveColour(outlineColour);
    const int maxX = g.width - 1;
    const int maxY = g.height - 1;
    const auto paintNeighbour = [&](int nx, int ny) {
        if (nx >= 0 && ny >= 0 && nx <= maxX && ny <= maxY && g.at(nx, ny) == background)
            g.at(nx, ny) = outline;
    };
    for (int x = 0; x <= maxX; ++x)
        for (int y = 0; y <= maxY; ++y) {
            const Colour c = g.at(x, y);
            if (c == background || c == outline)
                continue;
            paintNeighbour(x - 1, y);
            paintNeighbour(x + 1, y);
            paintNeighbour(x, y - 1);
            paintNeighbour(x, y + 1);
        }
    return g;
}

Grid referenceFill(Grid g, Colour fillColour) {
    for (int x = 0; x < g.width; ++x)
        for (int y = 0; y < g.height; ++y)
            if (g.at(x, y) != g.at(0, 0))
                g.at(x, y) = resolveColour(fillColour);
    return g;
}

// Small pictures of two to four colours in blotches, so that subjects,
// holes and border contacts all turn up. The outline or fill colour is
// sometimes one of the picture's own.
struct RandomCase {
    Grid grid;
    Colour paint;
};

RandomCase randomCase(QRandomGenerator& random) {
    const Colour palette[] = {kWhite, kBlack, kRed, kGreen, kBlue, 0x808080};
    const int colours = random.bounded(2, 5);
    Grid g{random.bounded(1, 40), random.bounded(1, 12), {}};
    Colour current = palette[0];
    for (int i = 0; i < g.width * g.height; ++i) {
        if (random.bounded(4) == 0)
            current = palette[random.bounded(colours)];
        g.cells.push_back(current);
    }
    const Colour paint = random.bounded(3) == 0 ? palette[random.bounded(colours)] : Colour(0x123456);
    return {g, paint};
}

} // namespace

class OutlineFillTest : public QObject {
    Q_OBJECT

private slots:
    void matchesTheScanOnRandomPictures_data();
    void matchesTheScanOnRandomPictures();
    void outlineNamedCases_data();
    void outlineNamedCases();
    void fillNamedCases_data();
    void fillNamedCases();
    void paletteSourceTakesColoursOutsideItsPalette();
    void systemColourIsPaintedResolved();
    void sourceIsLeftAlone();
};

void OutlineFillTest::matchesTheScanOnRandomPictures_data() {
    QTest::addColumn<QImage::Format>("format");
    QTest::newRow("rgb32") << QImage::Format_RGB32;
    QTest::newRow("rgb888") << QImage::Format_RGB888;
    QTest::newRow("indexed8") << QImage::Format_Indexed8;
}

void OutlineFillTest::matchesTheScanOnRandomPictures() {
    QFETCH(QImage::Format, format);
    QRandomGenerator random(20261206);
    for (int round = 0; round < 300; ++round) {
        const RandomCase c = randomCase(random);
        const Bitmap source = inFormat(c.grid, format);
        const Bitmap outline = outlined(source, c.paint);
        const Bitmap fill = filled(source, c.paint);
        QCOMPARE(outline.format(), QImage::Format_RGB32);
        QCOMPARE(fill.format(), QImage::Format_RGB32);
        const Grid wantOutline = referenceOutline(c.grid, c.paint);
        const Grid wantFill = referenceFill(c.grid, c.paint);
        QCOMPARE(gridOf(outline).cells, wantOutline.cells);
        QCOMPARE(gridOf(fill).cells, wantFill.cells);
    }
}

void OutlineFillTest::outlineNamedCases_data() {
    QTest::addColumn<QStringList>("source");
    QTest::addColumn<Colour>("outline");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("edges only, not corners")
        << QStringList{".....", ".....", "..#..", ".....", "....."} << kGreen
        << QStringList{".....", "..g..", ".g#g.", "..g..", "....."};
    QTest::newRow("outline colour is the background")
        << QStringList{"....", ".##.", "...."} << kWhite << QStringList{"....", ".##.", "...."};
    QTest::newRow("subject already in the outline colour")
        << QStringList{"......", ".g#...", "......"} << kGreen
        << QStringList{"..g...", ".g#g..", "..g..."};
    QTest::newRow("hole gets a rim")
        << QStringList{".....", ".###.", ".#.#.", ".###.", "....."} << kRed
        << QStringList{".rrr.", "r###r", "r#r#r", "r###r", ".rrr."};
    QTest::newRow("separate background area, corner painted")
        << QStringList{".#....", ".#....", ".#...."} << kRed
        << QStringList{"r#r...", "r#r...", "r#r..."};
    QTest::newRow("1 x 1") << QStringList{"#"} << kGreen << QStringList{"#"};
    QTest::newRow("one colour") << QStringList{"rrrr", "rrrr"} << kGreen << QStringList{"rrrr", "rrrr"};
    QTest::newRow("0 x 0") << QStringList{} << kGreen << QStringList{};
}

void OutlineFillTest::outlineNamedCases() {
    QFETCH(QStringList, source);
    QFETCH(Colour, outline);
    QFETCH(QStringList, expected);
    QCOMPARE(rowsOfPicture(outlined(pictureFromRows(source), outline)), expected);
}

void OutlineFillTest::fillNamedCases_data() {
    QTest::addColumn<QStringList>("source");
    QTest::addColumn<Colour>("fill");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("hole stays, everything else fills")
        << QStringList{".....", ".#r#.", ".#.#.", ".###."} << kBlue
        << QStringList{".....", ".bbb.", ".b.b.", ".bbb."};
    QTest::newRow("fill colour is the background")
        << QStringList{"..", "#r"} << kWhite << QStringList{"..", ".."};
    QTest::newRow("pixels already in the fill colour") << QStringList{"#b", "b."} << kBlue
                                                       << QStringList{"#b", "bb"};
    QTest::newRow("1 x 1") << QStringList{"r"} << kBlue << QStringList{"r"};
    QTest::newRow("one colour") << QStringList{"###", "###"} << kBlue << QStringList{"###", "###"};
    QTest::newRow("0 x 0") << QStringList{} << kBlue << QStringList{};
}

void OutlineFillTest::fillNamedCases() {
    QFETCH(QStringList, source);
    QFETCH(Colour, fill);
    QFETCH(QStringList, expected);
    QCOMPARE(rowsOfPicture(filled(pictureFromRows(source), fill)), expected);
}

void OutlineFillTest::paletteSourceTakesColoursOutsideItsPalette() {
    QImage mono(4, 3, QImage::Format_Mono);
    mono.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    mono.fill(0u);
    mono.setPixel(1, 1, 1u);
    const Bitmap source(mono);
    QCOMPARE(rowsOfPicture(outlined(source, kRed)), (QStringList{".r..", "r#r.", ".r.."}));
    QCOMPARE(rowsOfPicture(filled(source, kBlue)), (QStringList{"....", ".b..", "...."}));
    QCOMPARE(outlined(source, 0x010203).pixel(1, 0), Colour(0x010203));
}

void OutlineFillTest::systemColourIsPaintedResolved() {
    const Bitmap source = pictureFromRows({"..", ".r"});
    QCOMPARE(outlined(source, clWindowText).pixel(1, 0), resolveColour(clWindowText));
    QCOMPARE(filled(source, clBtnFace).pixel(1, 1), resolveColour(clBtnFace));
}

// Large enough that results live in recycled memory, which must not show.
void OutlineFillTest::sourceIsLeftAlone() {
    Bitmap source = Bitmap::white(700, 500);
    source.setPixel(350, 250, kBlack);
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(outlined(source, kRed).pixel(349, 250), kRed);
        QCOMPARE(outlined(source, kRed).pixel(0, 499), kWhite);
        QCOMPARE(filled(source, kRed).pixel(350, 250), kRed);
    }
    QCOMPARE(source.pixel(349, 250), kWhite);
    QCOMPARE(source.pixel(350, 250), kBlack);
}

int runOutlineFillTests(int argc, char** argv) {
    OutlineFillTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "outline_fill_test.moc"
