// SPDX-License-Identifier: GPL-2.0-or-later
// Qt
#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTest>
#include <QToolButton>

// Local
#include "pelmora_error.h"
#include "picture_display.h"
#include "modal_dialogs.h"
#include "resize_dialog.h"
#include "spin_arrows.h"
#include "test_main.h"

namespace pelmora {

namespace {

QSize sizeOf(const QString& text) {
    return {text.section('x', 0, 0).toInt(), text.section('x', 1, 1).toInt()};
}

// The main window as the dialog sees it: the picture on display, with the
// dialog open on it.
struct FakeWindow : PictureDisplay {
    explicit FakeWindow(Bitmap start) : picture(std::move(start)) { dialog.show(); }
    const Bitmap& displayedPicture() const override { return picture; }
    void showPicture(const Bitmap& shown) override {
        picture = shown;
        ++shows;
    }

    QLineEdit* edit(int n) { return dialog.findChild<QLineEdit*>("Edit" + QString::number(n)); }
    SpinArrows* arrows(int n) { return dialog.findChild<SpinArrows*>("UpDown" + QString::number(n)); }
    QList<QRadioButton*> items(const char* group) {
        return dialog.findChild<QGroupBox*>(group)->findChildren<QRadioButton*>();
    }
    bool enabled(const char* name) { return dialog.findChild<QWidget*>(name)->isEnabled(); }
    // The texts of fields 2 to 7: width and height in percent, pixels, mm.
    QString sizeTexts() {
        QStringList texts;
        for (int n = 2; n <= 7; ++n)
            texts << edit(n)->text();
        return texts.join(',');
    }
    // The numbers of the fields whose text boxes, then whose arrows, are
    // enabled.
    QString enabledFields() {
        QString boxes, arrowPairs;
        for (int n = 1; n <= 7; ++n) {
            boxes += edit(n)->isEnabled() ? QString::number(n) : QString();
            arrowPairs += arrows(n)->isEnabled() ? QString::number(n) : QString();
        }
        return boxes + '/' + arrowPairs;
    }
    QSize pictureSize() const { return {picture.width(), picture.height()}; }

    Bitmap picture;
    int shows = 0;
    TOKBottomDlg dialog{*this};
};

} // namespace

class ResizeDialogTest : public QObject {
    Q_OBJECT

private slots:
    void fieldRules_data();
    void fieldRules() { play(); }
    void modesAndUnits_data();
    void modesAndUnits() { play(); }
    void applying_data();
    void applying() { play(); }
    void tooLargeTargetChangesNothing();
    void centredEachTimeShown();

private:
    void play();
};

// Each row: the picture on display, and what the user does and sees, in
// commands separated by "; ":
//   mode M, unit U          choose a mode or unit
//   type N TEXT, paste N T  type TEXT key by key into field N, or paste it
//   up N, down N, key N K   click an arrow of field N, or press key K in it
//   bad N TEXT              a text that is no whole number: the report
//   field N TEXT            field N shows TEXT
//   texts A,B,C,D,E,F       fields 2 to 7 show these
//   fields BOXES/ARROWS     the fields whose text boxes and arrows are enabled
//   checked M U             the mode and unit chosen, the labels greyed by mode
//   ok WxH                  OK gives a picture of that size and hides the dialog
//   show, cancel, close     open the dialog, press Cancel, its close box
//   picture WxH             another picture on display (a turn, "New")
//   line, line kept         a black last column; it is still there
//   hidden, size WxH        the dialog is hidden; the picture's size
void ResizeDialogTest::play() {
    QFETCH(QString, picture);
    QFETCH(QString, script);
    FakeWindow w(Bitmap::white(sizeOf(picture).width(), sizeOf(picture).height()));
    for (const QString& command : script.split("; ")) {
        const QStringList words = command.split(' ');
        const QString& word = words[0];
        const int n = words.value(1).toInt();
        const QString text = words.value(2);
        if (word == "mode" || word == "unit") {
            w.items(word == "mode" ? "RadioGroup1" : "RadioGroup2").at(n)->click();
        } else if (word == "type" || word == "paste") {
            w.edit(n)->selectAll();
            word == "type" ? QTest::keyClicks(w.edit(n), text) : w.edit(n)->insert(text);
        } else if (word == "up" || word == "down") {
            (word == "up" ? w.arrows(n)->upButton() : w.arrows(n)->downButton())->click();
        } else if (word == "key") {
            QTest::keyClick(w.edit(n), text == "Up" ? Qt::Key_Up : text == "Down" ? Qt::Key_Down
                                       : text == "Return" ? Qt::Key_Return : Qt::Key_Escape);
        } else if (word == "bad") {
            {
                const QSignalBlocker quiet(w.edit(n));
                w.edit(n)->setText(text);
            }
            // The report travels from the change handler to the application;
            // here it is caught straight from the handler.
            try {
                w.dialog.EditChange(n);
                QFAIL("no error");
            } catch (const PelmoraError& error) {
                QCOMPARE(error.text(), "'" + text + "' は整数ではありません");
            }
        } else if (word == "field") {
            QCOMPARE(w.edit(n)->text(), text);
        } else if (word == "texts") {
            QCOMPARE(w.sizeTexts(), words[1]);
        } else if (word == "fields") {
            QCOMPARE(w.enabledFields(), words[1]);
        } else if (word == "checked") {
            QVERIFY(w.items("RadioGroup1").at(n)->isChecked() && w.items("RadioGroup2").at(text.toInt())->isChecked());
            QVERIFY(w.enabled("RadioGroup1"));
            QCOMPARE(w.enabled("Label1"), n == 0);
            for (const char* name : {"RadioGroup2", "Label2", "Label3", "Bevel2"})
                QCOMPARE(w.enabled(name), n == 1);
        } else if (word == "ok") {
            const int shows = w.shows;
            w.dialog.findChild<QPushButton*>("OKBtn")->click();
            QCOMPARE(w.shows, shows + 1);
            QCOMPARE(w.pictureSize(), sizeOf(words[1]));
            QVERIFY(!w.dialog.isVisible());
        } else if (word == "show") {
            w.dialog.show();
        } else if (word == "cancel") {
            w.dialog.findChild<QPushButton*>("CancelBtn")->click();
        } else if (word == "close") {
            w.dialog.close();
        } else if (word == "picture") {
            w.picture = Bitmap::white(sizeOf(words[1]).width(), sizeOf(words[1]).height());
        } else if (word == "line") {
            for (int y = 0; y < w.picture.height(); ++y) {
                if (words.size() == 1)
                    w.picture.setPixel(w.picture.width() - 1, y, kBlack);
                else
                    QVERIFY(w.picture.pixel(w.picture.width() - 1, y) == kBlack && w.picture.pixel(0, y) == kWhite);
            }
        } else if (word == "hidden") {
            QVERIFY(!w.dialog.isVisible());
        } else if (word == "size") {
            QCOMPARE(w.pictureSize(), sizeOf(words[1]));
        } else {
            QFAIL(qPrintable("unknown command " + command));
        }
        if (QTest::currentTestFailed())
            return;
    }
}

void ResizeDialogTest::fieldRules_data() {
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("script");
    QTest::newRow("scale: 600 clamped to 500") << "64x48" << "type 1 600; field 1 500; ok 320x240";
    QTest::newRow("scale: negative clamped to 0") << "640x480" << "paste 1 -5; field 1 0; ok 0x0";
    QTest::newRow("scale: leading zero dropped") << "640x480" << "paste 1 050; field 1 50; ok 320x240";
    QTest::newRow("scale: empty, nothing reported") << "640x480" << "paste 1; field 1 ; ok 640x480";
    QTest::newRow("scale: letters") << "640x480" << "bad 1 abc; field 1 abc; ok 640x480";
    QTest::newRow("scale: down arrow") << "640x480" << "down 1; field 1 99";
    QTest::newRow("scale: up arrow stops at 500") << "640x480" << "type 1 500; up 1; field 1 500";
    QTest::newRow("scale: Down key stops at 0") << "640x480" << "type 1 0; key 1 Down; field 1 0";
    QTest::newRow("width 50 %") << "640x480" << "mode 1; type 2 50; texts 50,100,320,480,93,140; ok 320x480";
    QTest::newRow("width 300 px") << "640x480" << "mode 1; unit 1; type 4 300; texts 46,100,300,480,88,140; ok 294x480";
    QTest::newRow("width 100 mm") << "640x480"
                                  << "mode 1; unit 2; type 6 100; texts 53,100,340,480,100,140; ok 339x480";
    QTest::newRow("width 600 %") << "640x480" << "mode 1; type 2 600; texts 500,100,3000,480,881,140; ok 3200x480";
    QTest::newRow("width 3500 px") << "640x480"
                                   << "mode 1; unit 1; type 4 3500; texts 468,100,3000,480,881,140; ok 2995x480";
    QTest::newRow("width 1200 mm") << "640x480"
                                   << "mode 1; unit 2; type 6 1200; texts 468,100,3000,480,1000,140; ok 2995x480";
    QTest::newRow("width 12.5 px") << "640x480" << "mode 1; unit 1; bad 4 12.5; texts 100,100,12.5,480,187,140";
    QTest::newRow("height 300 px") << "640x480"
                                   << "mode 1; unit 1; type 5 300; texts 100,62,640,300,187,88; ok 640x297";
    QTest::newRow("height 0 mm") << "640x480" << "mode 1; unit 2; type 7 0; texts 100,0,640,0,187,0; ok 640x0";
    QTest::newRow("height beyond 32 bits")
        << "640x480" << "mode 1; bad 3 4294967296; texts 100,4294967296,640,480,187,140; ok 640x480";
    QTest::newRow("height mm empty") << "640x480" << "mode 1; unit 2; paste 7; texts 100,100,640,480,187,; ok 640x480";
    QTest::newRow("width % up arrow") << "640x480" << "mode 1; up 2; texts 101,100,646,480,189,140";
    QTest::newRow("width % stops at 500") << "640x480" << "mode 1; type 2 500; up 2; texts 500,100,3000,480,881,140";
    QTest::newRow("height % Down key") << "640x480" << "mode 1; key 3 Down; texts 100,99,640,475,187,139";
}

void ResizeDialogTest::modesAndUnits_data() {
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("script");
    QTest::newRow("opened") << "640x480" << "checked 0 0; texts 0,0,0,0,0,0; fields 1/1; ok 640x480";
    QTest::newRow("percent") << "640x480" << "mode 1; checked 1 0; texts 100,100,640,480,187,140; fields 23/23";
    QTest::newRow("pixels") << "640x480" << "mode 1; unit 1; checked 1 1; texts 100,100,640,480,187,140; fields 45/";
    QTest::newRow("millimetres") << "640x480" << "mode 1; unit 2; checked 1 2; fields 67/; ok 640x480";
    QTest::newRow("back in percent after mm")
        << "640x480" << "mode 1; unit 2; mode 0; mode 1; checked 1 0; texts 100,100,640,480,187,140; fields 23/23";
    QTest::newRow("postcard") << "640x480"
                              << "mode 2; checked 2 0; texts 100,100,341,504,100,148; fields /; ok 341x504";
    QTest::newRow("postcard after pixels") << "640x480" << "mode 1; unit 1; mode 0; mode 2; checked 2 1; ok 341x504";
    QTest::newRow("icon after mm") << "640x480"
                                   << "mode 1; unit 2; mode 0; mode 3; checked 3 2; texts 100,100,32,32,9,9; ok 32x32";
    QTest::newRow("opened again after mode 1")
        << "640x480" << "mode 1; unit 1; type 4 300; show; checked 1 1; cancel; show; checked 0 0; field 1 100; "
                        "texts 46,100,300,480,88,140; fields 1/1; ok 640x480";
    // Sides over 3000 px show 3000, and the millimetres of 3000.
    QTest::newRow("picture wider than the pixel range")
        << "4000x3200" << "mode 1; texts 100,100,3000,3000,881,881; unit 2; type 6 100; texts 8,100,340,3000,100,881";
    QTest::newRow("turn while open") << "640x480"
                                     << "mode 1; picture 480x640; texts 100,100,640,480,187,140; type 2 50; "
                                        "texts 50,100,240,480,70,140; ok 240x640";
    // Nothing to divide by: 0 % rather than a failure.
    QTest::newRow("empty picture") << "0x480"
                                   << "mode 1; unit 1; type 4 300; type 5 300; texts 0,62,300,300,88,88; ok 0x297; "
                                      "show; mode 1; texts 100,100,0,297,0,87; mode 2; ok 341x504";
}

void ResizeDialogTest::applying_data() {
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("script");
    QTest::newRow("halving keeps a line, resizes compound, after New")
        << "641x479" << "line; type 1 50; ok 320x239; line kept; show; type 1 200; ok 640x478; line kept; "
                        "show; type 1 50; picture 100x60; ok 50x30";
    QTest::newRow("Enter") << "64x48" << "type 1 50; key 1 Return; hidden; size 32x24";
    QTest::newRow("Cancel") << "64x48" << "type 1 50; cancel; hidden; size 64x48";
    QTest::newRow("Esc") << "64x48" << "type 1 50; key 1 Escape; hidden; size 64x48";
    QTest::newRow("close box") << "64x48" << "type 1 50; close; hidden; size 64x48";
}

void ResizeDialogTest::tooLargeTargetChangesNothing() {
    // Five times 14 million pixels is wider than any picture can be.
    QImage line(14'000'000, 1, QImage::Format_Mono);
    line.fill(1);
    FakeWindow w{Bitmap(line)};
    QTest::keyClicks(w.edit(1), "500");
    test::MessageBoxCatcher catcher;
    // Clicked as the user does: the failure is reported at the button, never
    // unwound through Qt's frames.
    w.dialog.findChild<QPushButton*>("OKBtn")->click();
    QCOMPARE(catcher.seen(), QStringList{QStringLiteral("Pelmora: !メモリが足りません.")});
    QCOMPARE(w.shows, 0);
    QCOMPARE(w.picture.width(), 14'000'000);
    QVERIFY(w.dialog.isVisible());
}

// By the outer size, frame included, also after the user has moved it.
void ResizeDialogTest::centredEachTimeShown() {
    FakeWindow w(Bitmap::white(64, 48));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    for (int showing = 0; showing < 2; ++showing) {
        QVERIFY(QTest::qWaitForWindowExposed(&w.dialog));
        const QSize outer = w.dialog.frameGeometry().size();
        QVERIFY(outer != w.dialog.size());
        QTRY_COMPARE(w.dialog.frameGeometry().topLeft(),
                     QPoint((screen.width() - outer.width()) / 2, (screen.height() - outer.height()) / 2));
        w.dialog.move(3, 5);
        w.dialog.hide();
        w.dialog.show();
    }
}

} // namespace pelmora

PELMORA_TEST_MAIN(pelmora::ResizeDialogTest)
#include "resize_dialog_test.moc"
