// Qt
#include <QTest>

// Local
#include "imageops/fill.h"
#include "imageops/image_document.h"
#include "imageops/outline.h"
#include "test_pictures.h"

// Std
#include <limits>

using namespace pelmora;
using namespace pelmora::test;

namespace {

enum class Shown { Source, Outline, Fill, Nothing };

Shown whichIs(const ImageDocument& d, const Bitmap* shown) {
    if (shown == &d.SourceImage)
        return Shown::Source;
    if (shown == &d.OutlineImage)
        return Shown::Outline;
    if (shown == &d.FillImage)
        return Shown::Fill;
    return Shown::Nothing;
}

struct Press {
    qint32 counter;
    qint32 index;
    Shown shown;
};

} // namespace

Q_DECLARE_METATYPE(Shown)
Q_DECLARE_METATYPE(QList<Press>)

class ImageDocumentTest : public QObject {
    Q_OBJECT

private slots:
    void displayCycle_data();
    void displayCycle();
    void operationsUseTheSourceAndSetTheirFlag();
    void openAndStartOverTouchOnlyTheirFields();
    void unarmedCycleShowsNothing();
    void longCycleKeepsItsOrderWithoutOverflow();
};

void ImageDocumentTest::displayCycle_data() {
    QTest::addColumn<QStringList>("operations");
    QTest::addColumn<Shown>("onDisplay");
    QTest::addColumn<QList<Press>>("presses");
    QTest::newRow("outline only") << QStringList{"outline"} << Shown::Outline
                                  << QList<Press>{{2, 0, Shown::Source}, {3, 1, Shown::Outline},
                                                  {4, 0, Shown::Source}, {5, 1, Shown::Outline},
                                                  {6, 0, Shown::Source}};
    QTest::newRow("fill only") << QStringList{"fill"} << Shown::Fill
                               << QList<Press>{{4, 0, Shown::Source}, {6, 2, Shown::Fill},
                                               {8, 0, Shown::Source}, {10, 2, Shown::Fill},
                                               {12, 0, Shown::Source}};
    const QList<Press> both{{3, 0, Shown::Source}, {4, 1, Shown::Outline}, {5, 2, Shown::Fill},
                            {6, 0, Shown::Source}, {7, 1, Shown::Outline}};
    QTest::newRow("both, outline last") << QStringList{"fill", "outline"} << Shown::Outline << both;
    QTest::newRow("both, fill last") << QStringList{"outline", "fill"} << Shown::Fill << both;
}

void ImageDocumentTest::displayCycle() {
    QFETCH(QStringList, operations);
    QFETCH(Shown, onDisplay);
    QFETCH(QList<Press>, presses);
    ImageDocument d;
    d.SourceImage = pictureFromRows({"..", ".#"});
    resetAfterOpen(d, QStringLiteral("/pictures/a.bmp"));
    const Bitmap* shown = nullptr;
    for (const QString& operation : operations)
        shown = operation == QLatin1String("outline") ? &makeOutline(d, kRed) : &makeFill(d, kBlue);
    QCOMPARE(whichIs(d, shown), onDisplay);
    for (int i = 0; i < presses.size(); ++i) {
        const Shown next = whichIs(d, stepView(d));
        QCOMPARE(d.ViewCounter, presses[i].counter);
        QCOMPARE(d.ViewIndex, presses[i].index);
        QCOMPARE(next, presses[i].shown);
    }
}

void ImageDocumentTest::operationsUseTheSourceAndSetTheirFlag() {
    ImageDocument d;
    d.SourceImage = pictureFromRows({"...", ".#.", "..."});
    resetAfterOpen(d, QStringLiteral("a.bmp"));
    QCOMPARE(rowsOfPicture(makeOutline(d, kRed)), (QStringList{".r.", "r#r", ".r."}));
    QVERIFY(d.OutlineDone);
    QVERIFY(!d.FillDone);
    // The fill starts again from the source: no outline in it.
    QCOMPARE(rowsOfPicture(makeFill(d, kBlue)), (QStringList{"...", ".b.", "..."}));
    QVERIFY(d.FillDone);
    QCOMPARE(rowsOfPicture(d.SourceImage), (QStringList{"...", ".#.", "..."}));
}

void ImageDocumentTest::openAndStartOverTouchOnlyTheirFields() {
    ImageDocument d;
    d.SourceImage = pictureFromRows({".#"});
    resetAfterOpen(d, QStringLiteral("a.bmp"));
    makeOutline(d, kRed);
    makeFill(d, kBlue);
    startOver(d);
    for (const Bitmap* b : {&d.SourceImage, &d.OutlineImage, &d.FillImage})
        QVERIFY(b->width() == 0 && b->height() == 0);
    QVERIFY(d.OutlineDone && d.FillDone);
    QCOMPARE(d.CurrentFileName, QStringLiteral("a.bmp"));
    d.SourceImage = Bitmap::white(3, 2);
    QCOMPARE(&resetAfterOpen(d, QStringLiteral("C:\\pics\\b.bmp")), &d.SourceImage);
    QVERIFY(!d.OutlineDone && !d.FillDone);
    QCOMPARE(d.CurrentFileName, QStringLiteral("C:\\pics\\b.bmp"));
    // The cycle stays armed as it was, for the next operation to re-arm.
    QCOMPARE(d.ViewCounter, 2);
    QCOMPARE(d.ViewStep, 1);
    QCOMPARE(d.ViewModulus, 3);
}

void ImageDocumentTest::unarmedCycleShowsNothing() {
    ImageDocument d;
    QCOMPARE(stepView(d), nullptr);
    QCOMPARE(d.ViewCounter, 0);
}

void ImageDocumentTest::longCycleKeepsItsOrderWithoutOverflow() {
    ImageDocument d;
    d.ViewCounter = std::numeric_limits<qint32>::max() - 1;   // index 2 of 4
    d.ViewStep = 2;
    d.ViewModulus = 4;
    QCOMPARE(whichIs(d, stepView(d)), Shown::Source);
    QCOMPARE(whichIs(d, stepView(d)), Shown::Fill);
    QCOMPARE(whichIs(d, stepView(d)), Shown::Source);
}

int runImageDocumentTests(int argc, char** argv) {
    ImageDocumentTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "image_document_test.moc"
