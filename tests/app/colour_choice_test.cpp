// Colours and saving in the window: the shared colour dialog, the panels'
// text colour, both eyedroppers with their cursors, the back panel, and the
// save command with its dialog, labels and preview file.

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

class ColourSaveTest : public QObject {
    Q_OBJECT

    QTemporaryDir home_;
    QString saveFolder() const { return home_.filePath(QStringLiteral("Desktop/Pelmora")); }
    QString preview() const { return saveFolder() + QStringLiteral("/_.bmp"); }
    QString picture(const QString& name) const { return home_.filePath(name); }

    // Runs the save command choosing the type and typing the path given
    // (type -1: cancel); returns the type and default extension the dialog
    // opened with.
    QString save(TPelmoraForm1& form, int type, const QString& path) {
        QString opened;
        ModalDriver driver([&](QWidget* modal) {
            auto* dialog = qobject_cast<PictureFileDialog*>(modal);
            opened = QString::number(dialog->filterIndex()) + QLatin1Char(' ') + dialog->defaultSuffix();
            QCOMPARE(dialog->directory().absolutePath(), saveFolder());
            QCOMPARE(dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text(), QStringLiteral("_.bmp"));
            QVERIFY(QFileInfo::exists(preview()));
            QVERIFY(!dialog->findChild<QLabel*>(QStringLiteral("previewPane"))->pixmap().isNull());
            if (type >= 0) {
                dialog->selectFilterIndex(type);
                typeFileName(dialog, path);
                static_cast<QDialog*>(dialog)->accept();
            }
            // Still open after a cancel, or after a question answered No.
            if (dialog->isVisible())
                dialog->reject();
        });
        // Queued, as a click runs it, so that a failure reaches the error report.
        QMetaObject::invokeMethod(form.action(CommandId::ActSave), &QAction::trigger, Qt::QueuedConnection);
        const bool shown = QTest::qWaitFor([&] { return driver.acted(); }, 5000);
        QTest::qWait(20);
        return shown ? opened : QStringLiteral("no dialog");
    }

private slots:
    void initTestCase() {
        qputenv("HOME", home_.path().toLocal8Bit());
        qunsetenv("XDG_CONFIG_HOME");
        QVERIFY(QDir().mkpath(home_.filePath(QStringLiteral("Desktop"))));
        QVERIFY(pictureWithBlock({40, 30}, {10, 8, 12, 9}).save(picture("cat.bmp"), "BMP"));
        QVERIFY(pictureWithBlock({40, 30}, {10, 8, 12, 9}).save(picture("photo.jpg"), "JPEG"));
        // Shown turned a quarter: 32 x 32, 32 x 31 and 33 x 32.
        QVERIFY(pictureWithBlock({32, 32}, {8, 8, 16, 16}).save(picture("square.bmp"), "BMP"));
        QVERIFY(pictureWithBlock({31, 32}, {8, 8, 16, 16}).save(picture("short.bmp"), "BMP"));
        QVERIFY(pictureWithBlock({32, 33}, {8, 8, 16, 16}).save(picture("wide.bmp"), "BMP"));
    }

    void cleanup() {
        QDir(saveFolder()).removeRecursively();
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

    void save_data() {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<int>("type");          // -1: cancel
        QTest::addColumn<QString>("name");      // in the save folder
        QTest::addColumn<QString>("usersFile"); // there before the save
        QTest::addColumn<QString>("box");       // as the catcher notes it
        QTest::addColumn<QString>("kindText");  // empty: nothing saved
        const QString refusal = QStringLiteral("Pelmora: Icon ファイルとして保存できるのは\r\n\r\nIconサイズ(32x32)ピクセルの画像だけです");
        QTest::newRow("bitmap") << "cat.bmp" << 0 << "shadow.bmp" << "" << "" << QStringLiteral("保存後 BMP");
        QTest::newRow("jpeg") << "cat.bmp" << 1 << "shadow.jpg" << "" << "" << QStringLiteral("保存後JPEG");
        QTest::newRow("icon") << "square.bmp" << 2 << "shadow.ico" << "" << "" << QStringLiteral("保存後ICON");
        QTest::newRow("icon of 32 x 31") << "short.bmp" << 2 << "icon.ico" << "" << refusal << "";
        QTest::newRow("icon of 33 x 32") << "wide.bmp" << 2 << "icon.ico" << "" << refusal << "";
        QTest::newRow("cancel") << "cat.bmp" << -1 << "_.bmp" << "" << "" << "";
        QTest::newRow("failed write") << "cat.bmp" << 1 << "missing/out.jpg" << ""
                                      << QStringLiteral("Pelmora: !ファイルが見つかりません.") << "";
        QTest::newRow("under the preview's name") << "cat.bmp" << 0 << "_.bmp" << "" << "" << QStringLiteral("保存後 BMP");
        QTest::newRow("user's own _.bmp") << "cat.bmp" << 0 << "other.bmp" << "_.bmp" << "" << QStringLiteral("保存後 BMP");
        QTest::newRow("over a file of the user's") << "cat.bmp" << 0 << "mine.bmp" << "mine.bmp" << "?" << "";
    }

    void save() {
        QFETCH(QString, picture);
        QFETCH(int, type);
        QFETCH(QString, name);
        QFETCH(QString, usersFile);
        QFETCH(QString, kindText);
        const QString target = saveFolder() + QLatin1Char('/') + name;
        const QString users = saveFolder() + QLatin1Char('/') + usersFile;
        QVERIFY(usersFile.isEmpty() || (QDir().mkpath(saveFolder()) && writeFile(users, "the user's own")));
        const auto form = shownWindow({this->picture(picture)});
        form->action(CommandId::Act90)->trigger();  // what is on display is saved
        const QString caption = form->windowTitle();
        MessageBoxCatcher catcher;
        QCOMPARE(save(*form, type, target), QStringLiteral("0 bmp"));
        QTEST(catcher.seen().join(QString()), "box");
        QFile userFile(users);
        QVERIFY(usersFile.isEmpty() || (userFile.open(QIODevice::ReadOnly) && userFile.readAll() == "the user's own"));
        QCOMPARE(QFileInfo::exists(preview()), usersFile == "_.bmp" || (!kindText.isEmpty() && target == preview()));

        const bool saved = !kindText.isEmpty();
        QCOMPARE(form->Label3->text(), saved ? kindText : QStringLiteral("保存画像のサイズ"));
        QCOMPARE(form->Label4->text(), saved ? fileSizeText(QFileInfo(target).size()) : QString());
        QCOMPARE(form->windowTitle(), saved ? kStartCaption + QStringLiteral(" ファイル名 『 ") +
                                                  QFileInfo(target).fileName() + QStringLiteral(" 』")
                                            : caption);
        QCOMPARE(form->document().CurrentFileName, saved ? target : this->picture(picture));
        QCOMPARE(save(*form, -1, QString()),
                 QStringLiteral("%1 %2").arg(std::max(type, 0)).arg(saved ? QFileInfo(target).suffix() : "bmp"));
        QVERIFY(saved || target == users || !QFileInfo::exists(target));
        if (!saved)
            return;
        QCOMPARE(form->OpenPictureDialog1->selectedFiles().value(0), target);
        // The quarter-turned picture, by hand; an icon's top-left colour
        // becomes transparent.
        const bool cat = picture == QLatin1String("cat.bmp");
        const QImage written = QImage(target).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(written.size(), cat ? QSize(30, 40) : QSize(32, 32));
        const QImage expected = pictureWithBlock(written.size(), cat ? QRect(13, 10, 9, 12) : QRect(8, 8, 16, 16),
                                                 type == 2 ? Qt::transparent : Qt::white);
        if (type != 1)
            QCOMPARE(written, expected.convertToFormat(QImage::Format_ARGB32));
    }
};

PELMORA_APP_TEST_MAIN(ColourSaveTest)
#include "colour_save_test.moc"
