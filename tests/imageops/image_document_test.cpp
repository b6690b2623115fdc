// SPDX-License-Identifier: GPL-2.0-or-later
// Qt
#include <QTest>

// Local
#include "fill.h"
#include "image_document.h"
#include "outline.h"
#include "imageops_test.h"
#include "test_pictures.h"

// Std
#include <limits>

using namespace pelmora;
using namespace pelmora::test;

namespace {

// S, O or F for the document's source, outline or fill bitmap, '-' for none.
QChar letterOf(const ImageDocument& d, const Bitmap* shown) {
    return shown == &d.SourceImage ? 'S' : shown == &d.OutlineImage ? 'O' : shown == &d.FillImage ? 'F' : '-';
}

} // namespace

void ImageOpsTest::displayCycle_data() {
    QTest::addColumn<QStringList>("operations");
    // What each operation shows, then for each press: counter/index/shown.
    QTest::addColumn<QString>("cycle");
    QTest::newRow("outline only") << QStringList{"outline"} << "O 2/0/S 3/1/O 4/0/S 5/1/O 6/0/S";
    QTest::newRow("fill only") << QStringList{"fill"} << "F 4/0/S 6/2/F 8/0/S 10/2/F 12/0/S";
    QTest::newRow("both, outline last") << QStringList{"fill", "outline"} << "F O 3/0/S 4/1/O 5/2/F 6/0/S 7/1/O";
    QTest::newRow("both, fill last") << QStringList{"outline", "fill"} << "O F 3/0/S 4/1/O 5/2/F 6/0/S 7/1/O";
}

void ImageOpsTest::displayCycle() {
    QFETCH(QStringList, operations);
    ImageDocument d;
    d.SourceImage = pictureFromRows("..|.#");
    QCOMPARE(&resetAfterOpen(d, QStringLiteral("/pictures/a.bmp")), &d.SourceImage);
    QStringList cycle;
    for (const QString& operation : operations)
        cycle << letterOf(d, operation == QLatin1String("outline") ? &makeOutline(d, kRed) : &makeFill(d, kBlue));
    for (int press = 0; press < 5; ++press) {
        const QChar shown = letterOf(d, stepView(d));
        cycle << QStringLiteral("%1/%2/%3").arg(d.ViewCounter).arg(d.ViewIndex).arg(shown);
    }
    QTEST(cycle.join(' '), "cycle");
    // Each operation starts again from the source.
    QCOMPARE(rowsOfPicture(d.SourceImage), QStringLiteral("..|.#"));
    QCOMPARE(rowsOfPicture(d.OutlineImage), operations.contains("outline") ? QStringLiteral(".r|r#") : QString());
    QCOMPARE(rowsOfPicture(d.FillImage), operations.contains("fill") ? QStringLiteral("..|.b") : QString());
    // New empties the pictures and keeps the rest; the next open clears the flags.
    startOver(d);
    for (const Bitmap* b : {&d.SourceImage, &d.OutlineImage, &d.FillImage})
        QCOMPARE(QSize(b->width(), b->height()), QSize(0, 0));
    QVERIFY(d.OutlineDone == operations.contains("outline") && d.FillDone == operations.contains("fill") &&
            d.CurrentFileName == QLatin1String("/pictures/a.bmp"));
    resetAfterOpen(d, QStringLiteral("C:\\pics\\b.bmp"));
    QVERIFY(!d.OutlineDone && !d.FillDone && d.CurrentFileName == QLatin1String("C:\\pics\\b.bmp"));
}

void ImageOpsTest::longCycleKeepsItsOrderWithoutOverflow() {
    ImageDocument d;
    QCOMPARE(stepView(d), nullptr);
    makeFill(d, kBlue);
    d.ViewCounter = std::numeric_limits<qint32>::max() - 1;   // index 2 of 4
    for (const QChar expected : QStringLiteral("SFS"))
        QCOMPARE(letterOf(d, stepView(d)), expected);
}
