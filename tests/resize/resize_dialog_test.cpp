// Qt
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
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
    void fixedModes_data();
    void fixedModes();
    void enabledFields_data();
    void enabledFields();
    void arrows_data();
    void arrows();
    void notAWholeNumber_data();
    void notAWholeNumber();
    void emptyPicture_data();
    void emptyPicture();
    void leavingMillimetresComesBackInPercent();
    void reopeningStartsFromScaleButKeepsNumbers();
    void turnWhileOpenChangesLaterConversions();
    void okUsesThePictureOnDisplayThen();
    void resizesCompound();
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
    QFETCH(QString, shown);
    QFETCH(QSize, result);
    FakeDisplay display(Bitmap::white(picture.width(), picture.height()));
    TOKBottomDlg dialog(display);
    dialog.show();
    typed ? type(edit(dialog, 1), entry) : paste(edit(dialog, 1), entry);
    QCOMPARE(edit(dialog, 1)->text(), shown);
    QCOMPARE(pressOk(dialog, display), result);
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
    QFETCH(QString, texts);
    QFETCH(QSize, result);
    FakeDisplay display(Bitmap::white(640, 480));
    TOKBottomDlg dialog(display);
    dialog.show();
    chooseMode(dialog, 1);
    QCOMPARE(sizeTexts(dialog), QString("100 100 640 480 187 140"));
    chooseUnit(dialog, unit);
    type(edit(dialog, field), entry);
    QCOMPARE(sizeTexts(dialog), texts);
    QCOMPARE(pressOk(dialog, display), result);
}

void ResizeDialogTest::fixedModes_data() {
    QTest::addColumn<int>("unitBefore");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("texts");
    QTest::addColumn<QSize>("result");
    // unitBefore -1: straight from opening; otherwise mode 1 in that unit first.
    const QString postcard = "100 100 341 504 100 148";
    const QString icon = "100 100 32 32 9 9";
    QTest::newRow("postcard after opening") << -1 << 2 << postcard << QSize(341, 504);
    QTest::newRow("postcard after percent") << 0 << 2 << postcard << QSize(341, 504);
    QTest::newRow("postcard after pixels") << 1 << 2 << postcard << QSize(341, 504);
    QTest::newRow("postcard after mm") << 2 << 2 << postcard << QSize(341, 504);
    QTest::newRow("icon after opening") << -1 << 3 << icon << QSize(32, 32);
    QTest::newRow("icon after mm") << 2 << 3 << icon << QSize(32, 32);
}

void ResizeDialogTest::fixedModes() {
    QFETCH(int, unitBefore);
    QFETCH(int, mode);
    QFETCH(QString, texts);
    QFETCH(QSize, result);
    FakeDisplay display(Bitmap::white(640, 480));
    TOKBottomDlg dialog(display);
    dialog.show();
    if (unitBefore >= 0) {
        chooseMode(dialog, 1);
        chooseUnit(dialog, unitBefore);
    }
    chooseMode(dialog, mode);
    QCOMPARE(sizeTexts(dialog), texts);
    QCOMPARE(enabledNumbers(dialog, false), QString());
    QCOMPARE(enabledNumbers(dialog, true), QString());
    for (const char* name : {"RadioGroup2", "Label1", "Label2", "Label3", "Bevel2"})
        QVERIFY2(!dialog.findChild<QWidget*>(name)->isEnabled(), name);
    QVERIFY(dialog.findChild<QWidget*>("RadioGroup1")->isEnabled());
    QCOMPARE(pressOk(dialog, display), result);
}

void ResizeDialogTest::enabledFields_data() {
    QTest::addColumn<int>("unit");
    QTest::addColumn<QString>("boxes");
    QTest::addColumn<QString>("withArrows");
    QTest::newRow("opened") << -1 << "1" << "1";
    QTest::newRow("percent") << 0 << "23" << "23";
    QTest::newRow("pixels") << 1 << "45" << "";
    QTest::newRow("millimetres") << 2 << "67" << "";
}

void ResizeDialogTest::enabledFields() {
    QFETCH(int, unit);
    QFETCH(QString, boxes);
    QFETCH(QString, withArrows);
    FakeDisplay display(Bitmap::white(640, 480));
    TOKBottomDlg dialog(display);
    dialog.show();
    if (unit >= 0) {
        chooseMode(dialog, 1);
        chooseUnit(dialog, unit);
    }
    QCOMPARE(enabledNumbers(dialog, false), boxes);
    QCOMPARE(enabledNumbers(dialog, true), withArrows);
    const bool separate = unit >= 0;
    QCOMPARE(dialog.findChild<QWidget*>("RadioGroup2")->isEnabled(), separate);
    QCOMPARE(dialog.findChild<QWidget*>("Label2")->isEnabled(), separate);
    QCOMPARE(dialog.findChild<QWidget*>("Label1")->isEnabled(), !separate);
}

void ResizeDialogTest::arrows_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("texts");
    // key: Up or Down pressed in the text box, 0 for the up arrow, 1 for the down arrow.
    const QString untouched = "100 100 640 480 187 140";
    QTest::newRow("scale down") << 1 << "100" << 1 << "99" << untouched;
    QTest::newRow("scale stops at 500") << 1 << "500" << 0 << "500" << untouched;
    QTest::newRow("scale stops at 0") << 1 << "0" << 1 << "0" << untouched;
    QTest::newRow("scale up key") << 1 << "7" << int(Qt::Key_Up) << "8" << untouched;
    QTest::newRow("width percent up") << 2 << "100" << 0 << "101" << "101 100 646 480 189 140";
    QTest::newRow("height percent down key") << 3 << "100" << int(Qt::Key_Down) << "99"
                                             << "100 99 640 475 187 139";
    QTest::newRow("width percent stops at 500") << 2 << "500" << 0 << "500" << "500 100 3000 480 881 140";
}

void ResizeDialogTest::arrows() {
    QFETCH(int, field);
    QFETCH(QString, start);
    QFETCH(int, key);
    QFETCH(QString, shown);
    QFETCH(QString, texts);
    FakeDisplay display(Bitmap::white(640, 480));
    TOKBottomDlg dialog(display);
    dialog.show();
    if (field > 1)
        chooseMode(dialog, 1);
    type(edit(dialog, field), start);
    if (key == 0 || key == 1)
        (key == 0 ? arrowsOf(dialog, field)->upButton() : arrowsOf(dialog, field)->downButton())->click();
    else
        QTest::keyClick(edit(dialog, field), Qt::Key(key));
    QCOMPARE(edit(dialog, field)->text(), shown);
    if (field > 1)
        QCOMPARE(sizeTexts(dialog), texts);
}

void ResizeDialogTest::notAWholeNumber_data() {
    QTest::addColumn<int>("unit");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("reported");
    QTest::newRow("letters as scale") << -1 << 1 << "abc" << true;
    QTest::newRow("fraction as width px") << 1 << 4 << "12.5" << true;
    QTest::newRow("beyond 32 bits") << 0 << 3 << "4294967296" << true;
    QTest::newRow("empty scale") << -1 << 1 << "" << false;
    QTest::newRow("empty height mm") << 2 << 7 << "" << false;
}

void ResizeDialogTest::notAWholeNumber() {
    QFETCH(int, unit);
    QFETCH(int, field);
    QFETCH(QString, entry);
    QFETCH(bool, reported);
    FakeDisplay display(Bitmap::white(640, 480));
    TOKBottomDlg dialog(display);
    dialog.show();
    if (unit >= 0) {
        chooseMode(dialog, 1);
        chooseUnit(dialog, unit);
    }
    const QString before = sizeTexts(dialog);
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
    if (field > 1) {
        QStringList parts = before.split(' ');
        parts[field - 2] = entry;
        QCOMPARE(sizeTexts(dialog), parts.join(' '));
    }
    QCOMPARE(pressOk(dialog, display), QSize(640, 480));
}

void ResizeDialogTest::emptyPicture_data() {
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QString>("texts");
    // 300 px typed as width and as height; no side to divide by gives 0 %.
    QTest::newRow("0 x 0") << QSize(0, 0) << "0 0 300 300 88 88";
    QTest::newRow("0 x 480") << QSize(0, 480) << "0 62 300 300 88 88";
}

void ResizeDialogTest::emptyPicture() {
    QFETCH(QSize, picture);
    QFETCH(QString, texts);
    Bitmap empty;
    empty.setWidth(picture.width());
    empty.setHeight(picture.height());
    FakeDisplay display(empty);
    TOKBottomDlg dialog(display);
    dialog.show();
    chooseMode(dialog, 1);
    chooseUnit(dialog, 1);
    type(edit(dialog, 4), "300");
    type(edit(dialog, 5), "300");
    QCOMPARE(sizeTexts(dialog), texts);
    QCOMPARE(pressOk(dialog, display), QSize(0, picture.height() * 62 / 100));
    dialog.show();
    chooseMode(dialog, 2);
    QCOMPARE(pressOk(dialog, display), QSize(341, 504));
    QCOMPARE(display.picture.pixel(340, 503), kWhite);
}

void ResizeDialogTest::leavingMillimetresComesBackInPercent() {
    FakeDisplay display(Bitmap::white(640, 480));
    TOKBottomDlg dialog(display);
    dialog.show();
    chooseMode(dialog, 1);
    chooseUnit(dialog, 2);
    type(edit(dialog, 6), "100");
    chooseMode(dialog, 0);
    QVERIFY(item(dialog, "RadioGroup2", 2)->isChecked());
    chooseMode(dialog, 1);
    QVERIFY(item(dialog, "RadioGroup2", 0)->isChecked());
    QCOMPARE(sizeTexts(dialog), QString("100 100 640 480 187 140"));
    QCOMPARE(enabledNumbers(dialog, false), QString("23"));
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
    QCOMPARE(display.shows, 0);
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

void ResizeDialogTest::okUsesThePictureOnDisplayThen() {
    FakeDisplay display(Bitmap::white(640, 480));
    TOKBottomDlg dialog(display);
    dialog.show();
    type(edit(dialog, 1), "50");
    display.picture = Bitmap::white(100, 60);
    QCOMPARE(pressOk(dialog, display), QSize(50, 30));
}

void ResizeDialogTest::resizesCompound() {
    FakeDisplay display(Bitmap::white(641, 479));
    TOKBottomDlg dialog(display);
    dialog.show();
    type(edit(dialog, 1), "50");
    QCOMPARE(pressOk(dialog, display), QSize(320, 239));
    dialog.show();
    type(edit(dialog, 1), "200");
    QCOMPARE(pressOk(dialog, display), QSize(640, 478));
}

void ResizeDialogTest::hiding_data() {
    QTest::addColumn<int>("how");
    QTest::addColumn<int>("shows");
    QTest::newRow("Enter") << 0 << 1;
    QTest::newRow("Cancel") << 1 << 0;
    QTest::newRow("Esc") << 2 << 0;
    QTest::newRow("close box") << 3 << 0;
}

void ResizeDialogTest::hiding() {
    QFETCH(int, how);
    QFETCH(int, shows);
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
    QCOMPARE(display.shows, shows);
    QCOMPARE(display.size(), shows ? QSize(32, 24) : QSize(64, 48));
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
