// Qt
#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTest>
#include <QToolButton>

// Local
#include "imageops/pelmora_error.h"
#include "resize/picture_display.h"
#include "resize/resize_dialog.h"
#include "resize/spin_arrows.h"

namespace pelmora {

namespace {

struct FakeDisplay : PictureDisplay {
    explicit FakeDisplay(Bitmap start) : picture(std::move(start)) {}
    const Bitmap& displayedPicture() const override { return picture; }
    void showPicture(const Bitmap& shown) override {
        picture = shown;
        ++shows;
    }
    QSize size() const { return {picture.width(), picture.height()}; }

    Bitmap picture;
    int shows = 0;
};

QLineEdit* edit(QWidget& dialog, int n) { return dialog.findChild<QLineEdit*>("Edit" + QString::number(n)); }
SpinArrows* arrowsOf(QWidget& dialog, int n) { return dialog.findChild<SpinArrows*>("UpDown" + QString::number(n)); }

QRadioButton* item(QWidget& dialog, const char* group, int index) {
    return dialog.findChild<QGroupBox*>(group)->findChildren<QRadioButton*>().at(index);
}
void chooseMode(QWidget& dialog, int mode) { item(dialog, "RadioGroup1", mode)->click(); }
void chooseUnit(QWidget& dialog, int unit) { item(dialog, "RadioGroup2", unit)->click(); }

// Keys one at a time, as the user types them over the selected text.
void type(QLineEdit* box, const QString& text) {
    box->selectAll();
    QTest::keyClicks(box, text);
}
// A whole text at once, as a paste over the selected text.
void paste(QLineEdit* box, const QString& text) {
    box->selectAll();
    box->insert(text);
}

// The texts of fields 2 to 7: width and height in percent, pixels, mm.
QString sizeTexts(QWidget& dialog) {
    QStringList texts;
    for (int n = 2; n <= 7; ++n)
        texts << edit(dialog, n)->text();
    return texts.join(' ');
}

// The numbers of the fields whose text boxes (or arrows) are enabled.
QString enabledNumbers(QWidget& dialog, bool arrowsToo) {
    QString result;
    for (int n = 1; n <= 7; ++n)
        if (arrowsToo ? arrowsOf(dialog, n)->isEnabled() : edit(dialog, n)->isEnabled())
            result += QString::number(n);
    return result;
}

QSize pressOk(QWidget& dialog, const FakeDisplay& display) {
    dialog.findChild<QPushButton*>("OKBtn")->click();
    return display.size();
}

} // namespace

class ResizeDialogTest : public QObject {
    Q_OBJECT

private slots:
    void scale_data();
    void scale();
    void separateEntries_data();
    void separateEntries();
    void modesAndUnits_data();
    void modesAndUnits();
    void arrows_data();
    void arrows();
    void notAWholeNumber_data();
    void notAWholeNumber();
    void emptyPicture();
    void reopeningStartsFromScaleButKeepsNumbers();
    void turnWhileOpenChangesLaterConversions();
    void okStartsFromThePictureOnDisplay();
    void hiding_data();
    void hiding();
    void halvingKeepsABlackLine();
    void tooLargeTargetChangesNothing();
};

void ResizeDialogTest::scale_data() {
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QSize>("result");
    QTest::newRow("OK at once") << QSize(37, 11) << "100" << true << "100" << QSize(37, 11);
    QTest::newRow("half of odd sides") << QSize(641, 479) << "50" << true << "50" << QSize(320, 239);
    QTest::newRow("600 clamped to 500") << QSize(640, 480) << "600" << true << "500" << QSize(3200, 2400);
    QTest::newRow("negative clamped to 0") << QSize(640, 480) << "-5" << false << "0" << QSize(0, 0);
    QTest::newRow("leading zero dropped") << QSize(640, 480) << "050" << false << "50" << QSize(320, 240);
    QTest::newRow("empty box keeps 100") << QSize(640, 480) << "" << false << "" << QSize(640, 480);
}

void ResizeDialogTest::scale() {
    QFETCH(QSize, picture);
    QFETCH(QString, entry);
    QFETCH(bool, typed);
    FakeDisplay display(Bitmap::white(picture.width(), picture.height()));
    TOKBottomDlg dialog(display);
    dialog.show();
    typed ? type(edit(dialog, 1), entry) : paste(edit(dialog, 1), entry);
    QTEST(edit(dialog, 1)->text(), "shown");
    QTEST(pressOk(dialog, display), "result");
    QCOMPARE(display.shows, 1);
    QVERIFY(!dialog.isVisible());
}

void ResizeDialogTest::separateEntries_data() {
    QTest::addColumn<int>("unit");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("texts");
    QTest::addColumn<QSize>("result");
    // 640 x 480 on display; percent, pixels, mm for width then height.
    QTest::newRow("width 50 %") << 0 << 2 << "50" << "50 100 320 480 93 140" << QSize(320, 480);
    QTest::newRow("width 300 px") << 1 << 4 << "300" << "46 100 300 480 88 140" << QSize(294, 480);
    QTest::newRow("width 100 mm") << 2 << 6 << "100" << "53 100 340 480 100 140" << QSize(339, 480);
    QTest::newRow("width 600 %") << 0 << 2 << "600" << "500 100 3000 480 881 140" << QSize(3200, 480);
    QTest::newRow("width 3500 px") << 1 << 4 << "3500" << "468 100 3000 480 881 140" << QSize(2995, 480);
    QTest::newRow("width 1200 mm") << 2 << 6 << "1200" << "468 100 3000 480 1000 140" << QSize(2995, 480);
    QTest::newRow("height 50 %") << 0 << 3 << "50" << "100 50 640 240 187 70" << QSize(640, 240);
    QTest::newRow("height 300 px") << 1 << 5 << "300" << "100 62 640 300 187 88" << QSize(640, 297);
    QTest::newRow("height 0 mm") << 2 << 7 << "0" << "100 0 640 0 187 0" << QSize(640, 0);
}

void ResizeDialogTest::separateEntries() {
    QFETCH(int, unit);
    QFETCH(int, field);
    QFETCH(QString, entry);
    FakeDisplay display(Bitmap::white(640, 480));
    TOKBottomDlg dialog(display);
    dialog.show();
    chooseMode(dialog, 1);
    chooseUnit(dialog, unit);
    type(edit(dialog, field), entry);
    QTEST(sizeTexts(dialog), "texts");
    QTEST(pressOk(dialog, display), "result");
}

void ResizeDialogTest::modesAndUnits_data() {
    QTest::addColumn<int>("unitBefore");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("unit");
    QTest::addColumn<int>("checkedUnit");
    QTest::addColumn<QString>("texts");
    QTest::addColumn<QString>("boxes");
    QTest::addColumn<QString>("withArrows");
    QTest::addColumn<QSize>("result");
    // unitBefore: mode 1 in that unit, then mode 0, first (-1: straight from
    // opening); unit: chosen after the mode (-1: none). The numbers are the
    // fields whose text box, and whose arrows, are enabled.
    const QString separate = "100 100 640 480 187 140";
    const QString postcard = "100 100 341 504 100 148";
    const QString icon = "100 100 32 32 9 9";
    QTest::newRow("opened") << -1 << 0 << -1 << 0 << "0 0 0 0 0 0" << "1" << "1" << QSize(640, 480);
    QTest::newRow("percent") << -1 << 1 << 0 << 0 << separate << "23" << "23" << QSize(640, 480);
    QTest::newRow("pixels") << -1 << 1 << 1 << 1 << separate << "45" << "" << QSize(640, 480);
    QTest::newRow("millimetres") << -1 << 1 << 2 << 2 << separate << "67" << "" << QSize(640, 480);
    QTest::newRow("back in percent after mm") << 2 << 1 << -1 << 0 << separate << "23" << "23" << QSize(640, 480);
    QTest::newRow("postcard after opening") << -1 << 2 << -1 << 0 << postcard << "" << "" << QSize(341, 504);
    QTest::newRow("postcard after pixels") << 1 << 2 << -1 << 1 << postcard << "" << "" << QSize(341, 504);
    QTest::newRow("postcard after mm") << 2 << 2 << -1 << 2 << postcard << "" << "" << QSize(341, 504);
    QTest::newRow("icon after opening") << -1 << 3 << -1 << 0 << icon << "" << "" << QSize(32, 32);
    QTest::newRow("icon after mm") << 2 << 3 << -1 << 2 << icon << "" << "" << QSize(32, 32);
}

void ResizeDialogTest::modesAndUnits() {
    QFETCH(int, unitBefore);
    QFETCH(int, mode);
    QFETCH(int, unit);
    QFETCH(int, checkedUnit);
    FakeDisplay display(Bitmap::white(640, 480));
    TOKBottomDlg dialog(display);
    dialog.show();
    if (unitBefore >= 0) {
        chooseMode(dialog, 1);
        chooseUnit(dialog, unitBefore);
        chooseMode(dialog, 0);
    }
    chooseMode(dialog, mode);
    if (unit >= 0)
        chooseUnit(dialog, unit);
    QVERIFY(item(dialog, "RadioGroup2", checkedUnit)->isChecked());
    QTEST(sizeTexts(dialog), "texts");
    QTEST(enabledNumbers(dialog, false), "boxes");
    QTEST(enabledNumbers(dialog, true), "withArrows");
    QVERIFY(dialog.findChild<QWidget*>("RadioGroup1")->isEnabled());
    QCOMPARE(dialog.findChild<QWidget*>("RadioGroup2")->isEnabled(), mode == 1);
    QCOMPARE(dialog.findChild<QWidget*>("Label1")->isEnabled(), mode == 0);
    for (const char* name : {"Label2", "Label3", "Bevel2"})
        QCOMPARE(dialog.findChild<QWidget*>(name)->isEnabled(), mode == 1);
    QTEST(pressOk(dialog, display), "result");
}

void ResizeDialogTest::arrows_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("texts");
    // key: Up or Down pressed in the text box, or 0 and 1 for a click on the
    // up and the down arrow.
    QTest::newRow("scale down") << 1 << "100" << 1 << "99" << "";
    QTest::newRow("scale stops at 500") << 1 << "500" << 0 << "500" << "";
    QTest::newRow("scale stops at 0") << 1 << "0" << 1 << "0" << "";
    QTest::newRow("scale up key") << 1 << "7" << int(Qt::Key_Up) << "8" << "";
    QTest::newRow("width percent up") << 2 << "100" << 0 << "101" << "101 100 646 480 189 140";
    QTest::newRow("height percent down key") << 3 << "100" << int(Qt::Key_Down) << "99"
                                             << "100 99 640 475 187 139";
    QTest::newRow("width percent stops at 500") << 2 << "500" << 0 << "500" << "500 100 3000 480 881 140";
}

void ResizeDialogTest::arrows() {
    QFETCH(int, field);
    QFETCH(QString, start);
    QFETCH(int, key);
    FakeDisplay display(Bitmap::white(640, 480));
    TOKBottomDlg dialog(display);
    dialog.show();
    chooseMode(dialog, field == 1 ? 0 : 1);
    type(edit(dialog, field), start);
    if (key == 0 || key == 1)
        (key == 0 ? arrowsOf(dialog, field)->upButton() : arrowsOf(dialog, field)->downButton())->click();
    else
        QTest::keyClick(edit(dialog, field), Qt::Key(key));
    QTEST(edit(dialog, field)->text(), "shown");
    if (field > 1)
        QTEST(sizeTexts(dialog), "texts");
}

void ResizeDialogTest::notAWholeNumber_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("unit");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("reported");
    QTest::newRow("letters as scale") << 0 << 0 << 1 << "abc" << true;
    QTest::newRow("fraction as width px") << 1 << 1 << 4 << "12.5" << true;
    QTest::newRow("beyond 32 bits") << 1 << 0 << 3 << "4294967296" << true;
    QTest::newRow("empty scale") << 0 << 0 << 1 << "" << false;
    QTest::newRow("empty height mm") << 1 << 2 << 7 << "" << false;
}

void ResizeDialogTest::notAWholeNumber() {
    QFETCH(int, mode);
    QFETCH(int, unit);
    QFETCH(int, field);
    QFETCH(QString, entry);
    QFETCH(bool, reported);
    FakeDisplay display(Bitmap::white(640, 480));
    TOKBottomDlg dialog(display);
    dialog.show();
    chooseMode(dialog, mode);
    chooseUnit(dialog, unit);
    QStringList texts = sizeTexts(dialog).split(' ');
    if (reported) {
        // The report travels from the change handler to the application;
        // here it is caught straight from the handler.
        {
            const QSignalBlocker quiet(edit(dialog, field));
            edit(dialog, field)->setText(entry);
        }
        try {
            dialog.EditChange(field);
            QFAIL("no error");
        } catch (const PelmoraError& error) {
            QCOMPARE(error.text(), "'" + entry + "' は整数ではありません");
        }
    } else {
        paste(edit(dialog, field), entry);
    }
    QCOMPARE(edit(dialog, field)->text(), entry);
    if (field > 1)
        texts[field - 2] = entry;
    QCOMPARE(sizeTexts(dialog), texts.join(' '));
    QCOMPARE(pressOk(dialog, display), QSize(640, 480));
}

void ResizeDialogTest::emptyPicture() {
    // Nothing to divide by: 0 % rather than a failure.
    Bitmap empty;
    empty.setHeight(480);
    FakeDisplay display(empty);
    TOKBottomDlg dialog(display);
    dialog.show();
    chooseMode(dialog, 1);
    chooseUnit(dialog, 1);
    type(edit(dialog, 4), "300");
    type(edit(dialog, 5), "300");
    QCOMPARE(sizeTexts(dialog), QString("0 62 300 300 88 88"));
    QCOMPARE(pressOk(dialog, display), QSize(0, 297));
    dialog.show();
    chooseMode(dialog, 1);
    QCOMPARE(sizeTexts(dialog), QString("100 100 0 297 0 87"));
    chooseMode(dialog, 2);
    QCOMPARE(pressOk(dialog, display), QSize(341, 504));
    QCOMPARE(display.picture.pixel(340, 503), kWhite);
}

void ResizeDialogTest::reopeningStartsFromScaleButKeepsNumbers() {
    FakeDisplay display(Bitmap::white(640, 480));
    TOKBottomDlg dialog(display);
    dialog.show();
    chooseMode(dialog, 1);
    chooseUnit(dialog, 1);
    type(edit(dialog, 4), "300");
    dialog.show();
    QVERIFY2(item(dialog, "RadioGroup1", 1)->isChecked(), "a show while shown changes nothing");
    dialog.findChild<QPushButton*>("CancelBtn")->click();
    dialog.show();
    QVERIFY(item(dialog, "RadioGroup1", 0)->isChecked());
    QVERIFY(item(dialog, "RadioGroup2", 0)->isChecked());
    QCOMPARE(edit(dialog, 1)->text(), QString("100"));
    QCOMPARE(sizeTexts(dialog), QString("46 100 300 480 88 140"));
    QCOMPARE(enabledNumbers(dialog, false), QString("1"));
    QCOMPARE(enabledNumbers(dialog, true), QString("1"));
    QVERIFY(!dialog.findChild<QWidget*>("Label2")->isEnabled());
    QCOMPARE(pressOk(dialog, display), QSize(640, 480));
}

void ResizeDialogTest::turnWhileOpenChangesLaterConversions() {
    FakeDisplay display(Bitmap::white(640, 480));
    TOKBottomDlg dialog(display);
    dialog.show();
    chooseMode(dialog, 1);
    display.picture = Bitmap::white(480, 640);
    QCOMPARE(sizeTexts(dialog), QString("100 100 640 480 187 140"));
    type(edit(dialog, 2), "50");
    QCOMPARE(sizeTexts(dialog), QString("50 100 240 480 70 140"));
    QCOMPARE(pressOk(dialog, display), QSize(240, 640));
}

void ResizeDialogTest::okStartsFromThePictureOnDisplay() {
    FakeDisplay display(Bitmap::white(641, 479));
    TOKBottomDlg dialog(display);
    dialog.show();
    type(edit(dialog, 1), "50");
    QCOMPARE(pressOk(dialog, display), QSize(320, 239));
    dialog.show();
    type(edit(dialog, 1), "200");
    QCOMPARE(pressOk(dialog, display), QSize(640, 478));
    // A new picture on display while the dialog is open ("New", say).
    dialog.show();
    type(edit(dialog, 1), "50");
    display.picture = Bitmap::white(100, 60);
    QCOMPARE(pressOk(dialog, display), QSize(50, 30));
}

void ResizeDialogTest::hiding_data() {
    QTest::addColumn<int>("how");
    QTest::addColumn<QSize>("result");
    QTest::newRow("Enter") << 0 << QSize(32, 24);
    QTest::newRow("Cancel") << 1 << QSize(64, 48);
    QTest::newRow("Esc") << 2 << QSize(64, 48);
    QTest::newRow("close box") << 3 << QSize(64, 48);
}

void ResizeDialogTest::hiding() {
    QFETCH(int, how);
    FakeDisplay display(Bitmap::white(64, 48));
    TOKBottomDlg dialog(display);
    dialog.show();
    type(edit(dialog, 1), "50");
    switch (how) {
    case 0: QTest::keyClick(edit(dialog, 1), Qt::Key_Return); break;
    case 1: dialog.findChild<QPushButton*>("CancelBtn")->click(); break;
    case 2: QTest::keyClick(edit(dialog, 1), Qt::Key_Escape); break;
    default: dialog.close(); break;
    }
    QVERIFY(!dialog.isVisible());
    QTEST(display.size(), "result");
}

void ResizeDialogTest::halvingKeepsABlackLine() {
    // 6 x 4 white with column 3 and row 1 black; halved, target column 1
    // takes source columns 2-3 and target row 0 source rows 0-1.
    Bitmap picture = Bitmap::white(6, 4);
    for (int y = 0; y < 4; ++y)
        picture.setPixel(3, y, kBlack);
    for (int x = 0; x < 6; ++x)
        picture.setPixel(x, 1, kBlack);
    FakeDisplay display(picture);
    TOKBottomDlg dialog(display);
    dialog.show();
    type(edit(dialog, 1), "50");
    QCOMPARE(pressOk(dialog, display), QSize(3, 2));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            QCOMPARE(display.picture.pixel(x, y), (x == 1 || y == 0) ? kBlack : kWhite);
}

void ResizeDialogTest::tooLargeTargetChangesNothing() {
    // Five times 14 million pixels is wider than any picture can be.
    QImage line(14'000'000, 1, QImage::Format_Mono);
    line.fill(1);
    FakeDisplay display{Bitmap(line)};
    TOKBottomDlg dialog(display);
    dialog.show();
    type(edit(dialog, 1), "500");
    QVERIFY_THROWS_EXCEPTION(PelmoraError, dialog.OKBtnClick());
    QCOMPARE(display.shows, 0);
    QCOMPARE(display.size(), QSize(14'000'000, 1));
    QVERIFY(dialog.isVisible());
}

} // namespace pelmora

QTEST_MAIN(pelmora::ResizeDialogTest)
#include "resize_dialog_test.moc"
