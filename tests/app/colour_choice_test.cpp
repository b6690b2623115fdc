// SPDX-License-Identifier: GPL-2.0-or-later
// Colour choice in the window: the shared colour dialog, the panels' text
// colour, the back panel, and both eyedroppers with their cursors.

// Qt
#include <QColorDialog>
#include <QScrollArea>
#include <QToolButton>

// Local
#include "app_test_support.h"

using namespace pelmora;
using namespace pelmora::test;

namespace {

// Runs the click with the colour dialog answering the colour given (invalid:
// cancel); returns the colour it opened on, invalid when it did not open.
QColor answerColourDialog(const std::function<void()>& click, QColor answer) {
    QColor openedOn;
    ModalDriver driver([&](QWidget* modal) {
        auto* dialog = qobject_cast<QColorDialog*>(modal);
        openedOn = dialog->currentColor();
        if (answer.isValid())
            dialog->setCurrentColor(answer);
        answer.isValid() ? dialog->accept() : dialog->reject();
    });
    click();
    return openedOn;
}

} // namespace

class ColourChoiceTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString picture(const QString& name) const { return dir_.filePath(name); }

private slots:
    void initTestCase() {
        QVERIFY(saveCatAndPhoto(dir_));
    }

    void colourDialogMemoryAndPanelText() {
        const auto form = shownWindow();
        const auto backPanel = [&] { form->action(CommandId::ActBColor)->trigger(); };
        const auto click = [](QWidget* panel) { return [panel] { QTest::mouseClick(panel, Qt::LeftButton); }; };
        // The back panel's colour can be chosen before any picture is open.
        QCOMPARE(answerColourDialog(backPanel, QColor(0, 128, 255)), QColor(Qt::black));
        QCOMPARE(form->ScrollBox1->viewport()->palette().color(QPalette::Window), QColor(0, 128, 255));
        form->OpenPictureFile(picture(QStringLiteral("cat.bmp")));
        QCOMPARE(answerColourDialog(click(form->Panel2), QColor()), QColor(0, 128, 255));
        QCOMPARE(qColorFromColour(form->Panel2->colour()), QColor(Qt::black));
        QCOMPARE(answerColourDialog(click(form->Panel1), QColor(255, 0, 0)), QColor(0, 128, 255));
        QCOMPARE(qColorFromColour(form->Panel1->colour()), QColor(255, 0, 0));
        QCOMPARE(qColorFromColour(form->Panel1->textColour()), QColor(0, 255, 255));
        QCOMPARE(answerColourDialog(backPanel, QColor()), QColor(255, 0, 0));
        // Without outline and fill the panels, though enabled, do nothing.
        form->OpenPictureFile(picture(QStringLiteral("photo.jpg")));
        QVERIFY(!answerColourDialog(click(form->Panel1), QColor(Qt::red)).isValid());
        QVERIFY(!answerColourDialog(click(form->Panel2), QColor(Qt::red)).isValid());
    }

    void eyedroppers_data() {
        QTest::addColumn<QString>("steps");  // F, O: a press of an eyedropper button; else a command
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QColor>("picked");  // the armed eyedropper's panel afterwards
        const QColor red(255, 0, 0), unpicked(Qt::black), white(Qt::white);
        const QPoint background(1, 1);
        QTest::newRow("fill eyedropper") << "F" << 3 << QPoint(12, 10) << red;
        QTest::newRow("outline eyedropper") << "O" << 4 << background << white;
        QTest::newRow("the other one replaces it") << "O F" << 3 << background << white;
        QTest::newRow("pressed again stays down") << "F F" << 3 << background << white;
        QTest::newRow("outline stops its own") << "O ActEdge" << 0 << background << unpicked;
        QTest::newRow("outline keeps the other") << "F ActEdge" << 3 << background << white;
        QTest::newRow("fill stops its own") << "F ActPaint" << 0 << background << unpicked;
        QTest::newRow("fill keeps the other") << "O ActPaint" << 4 << background << white;
        QTest::newRow("new keeps the cursor") << "F ActNew" << 3 << background << unpicked;
        QTest::newRow("the next open arms it") << "O ActEdge ActNew open" << 4 << background << white;
        // Turned, the block covers this point; resized, the picture is blue
        // but for this point.
        QTest::newRow("after a turn") << "O Act90" << 4 << QPoint(15, 19) << red;
        QTest::newRow("after a resize") << "F resize" << 3 << QPoint(70, 50) << red;
    }

    void eyedroppers() {
        QFETCH(QString, steps);
        QFETCH(int, cursor);
        QFETCH(QPoint, at);
        const auto form = shownWindow({picture(QStringLiteral("cat.bmp"))});
        QCOMPARE(form->image1Cursor(), kArrowCursor);
        const QImage resized = pictureWithBlock({80, 60}, {70, 50, 1, 1}, QColor(0, 0, 200));
        QChar armed;
        for (const QString& step : steps.split(QLatin1Char(' '))) {
            if (step == QLatin1String("resize"))
                form->showPicture(Bitmap(resized));
            else if (step == QLatin1String("open"))
                form->OpenPictureFile(picture(QStringLiteral("cat.bmp")));
            else if (step.size() > 1)
                form->findChild<QAction*>(step)->trigger();
            else
                QTest::mouseClick(step == QLatin1String("F") ? form->SpoidButton : form->SpoidButton2, Qt::LeftButton);
            armed = step.size() == 1 ? step.at(0) : armed;
        }
        QCOMPARE(form->image1Cursor(), cursor);
        QCOMPARE(form->Image1->cursor().pixmap().toImage(), form->registeredCursor(cursor).pixmap().toImage());
        QCOMPARE(form->SpoidButton->isChecked(), armed == QLatin1Char('F'));
        QCOMPARE(form->SpoidButton2->isChecked(), armed == QLatin1Char('O'));
        QTest::mouseClick(form->Image1, Qt::LeftButton, {}, at);
        // The right button never picks.
        QTest::mouseClick(form->Image1, Qt::RightButton, {}, QPoint(12, 10));
        QTEST(qColorFromColour((armed == QLatin1Char('F') ? form->Panel1 : form->Panel2)->colour()), "picked");
    }

    // A cursor file in the current folder comes first, its hot spot read
    // from its entry; an unreadable one gives way to the program's own.
    void eyedropperCursors() {
        QTemporaryDir dir;
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        QFile own(QStringLiteral(":/cursors/spoid2.cur"));
        QVERIFY(own.open(QIODevice::ReadOnly));
        QByteArray bytes = own.readAll();
        bytes[10] = 5;
        bytes[12] = 7;
        QVERIFY(writeFile(QStringLiteral("spoid.cur"), bytes));
        QVERIFY(writeFile(QStringLiteral("spoid2.cur"), "not a cursor"));
        const auto form = shownWindow();
        QVERIFY(QDir::setCurrent(previous));
        QCOMPARE(form->registeredCursor(kFillEyedropperCursor).hotSpot(), QPoint(5, 7));
        QCOMPARE(form->registeredCursor(kOutlineEyedropperCursor).hotSpot(), QPoint(1, 30));
        QCOMPARE(form->registeredCursor(kOutlineEyedropperCursor).pixmap().size(), QSize(32, 32));
    }

};

PELMORA_APP_TEST_MAIN(ColourChoiceTest)
#include "colour_choice_test.moc"
