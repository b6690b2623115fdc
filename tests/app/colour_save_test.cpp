// Colours and saving in the window: the shared colour dialog, the panels'
// text colour, both eyedroppers with their cursors, the back panel, and the
// save command with its dialog, labels and preview file.

// Qt
#include <QAction>
#include <QColorDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

// Local
#include "app/colour_panel.h"
#include "app/main_window.h"
#include "app/picture_file_dialog.h"
#include "app/picture_view.h"
#include "app/program_windows.h"
#include "app_test_support.h"
#include "imagefile/open_picture.h"

using namespace pelmora;
using namespace pelmora::test;

namespace {

const QString kStartCaption = QString::fromUtf16(u"\u3000Pelmora\u3000\u3000Ostrel\u3000");

// A modal colour dialog: notes the colour it opened on, then confirms the
// given colour, or cancels when there is none.
ModalDriver* answerColourDialog(QColor* openedOn, std::optional<QColor> answer) {
    return new ModalDriver([openedOn, answer](QWidget* modal) {
        auto* dialog = qobject_cast<QColorDialog*>(modal);
        if (!dialog)
            qFatal("expected the colour dialog");
        *openedOn = dialog->currentColor();
        if (answer) {
            dialog->setCurrentColor(*answer);
            dialog->accept();
        } else {
            dialog->reject();
        }
    });
}

QColor panelText(const ColourPanel* panel) {
    return qColorFromColour(panel->textColour());
}

QColor panelFace(const ColourPanel* panel) {
    return qColorFromColour(panel->colour());
}

// What the save dialog showed when it opened.
struct SaveDialogView {
    QString folder;
    QString name;
    bool previewFileThere = false;
    bool previewShown = false;
    int type = -1;
    QString defaultSuffix;
};

} // namespace

class ColourSaveTest : public QObject {
    Q_OBJECT

    QTemporaryDir home_;
    QString desktop() const { return home_.filePath(QStringLiteral("Desktop")); }
    QString saveFolder() const { return desktop() + QStringLiteral("/Pelmora"); }
    QString preview() const { return saveFolder() + QStringLiteral("/_.bmp"); }
    QString picture(const QString& name) const { return home_.filePath(name); }

    std::unique_ptr<TPelmoraForm1> shownWindow() {
        auto form = createProgramWindows({});
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()))
            qFatal("window not shown");
        return form;
    }

    std::unique_ptr<TPelmoraForm1> windowWith(const QString& file) {
        auto form = shownWindow();
        form->OpenPictureFile(picture(file));
        return form;
    }

    // Runs the save command; the dialog is shown the type and name given
    // (type -1: cancel). Returns what the dialog showed when it opened.
    SaveDialogView save(TPelmoraForm1& form, int type, const QString& name) {
        SaveDialogView view;
        ModalDriver driver([&view, &name, type, this](QWidget* modal) {
            auto* dialog = qobject_cast<PictureFileDialog*>(modal);
            if (!dialog)
                qFatal("expected the save dialog");
            view.folder = dialog->directory().absolutePath();
            view.name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
            view.previewFileThere = QFileInfo::exists(preview());
            const auto* pane = dialog->findChild<QLabel*>(QStringLiteral("previewPane"));
            view.previewShown = pane && !pane->pixmap().isNull();
            view.type = dialog->filterIndex();
            view.defaultSuffix = dialog->defaultSuffix();
            if (type < 0) {
                dialog->reject();
                return;
            }
            dialog->selectFilterIndex(type);
            if (!name.isEmpty())
                typeFileName(dialog, name);
            static_cast<QDialog*>(dialog)->accept();
        });
        // Through the event loop, as a click would run it, so that a failure
        // reaches the error report.
        QMetaObject::invokeMethod(form.action(CommandId::ActSave), &QAction::trigger, Qt::QueuedConnection);
        for (int wait = 0; wait < 500 && !driver.acted(); ++wait)
            QTest::qWait(10);
        QTest::qWait(20);
        return view;
    }

private slots:
    void initTestCase() {
        QVERIFY(home_.isValid());
        qputenv("HOME", home_.path().toLocal8Bit());
        qunsetenv("XDG_CONFIG_HOME");
        QVERIFY(QDir().mkpath(desktop()));
        writePicture(pictureWithBlock(40, 30, QRect(10, 8, 12, 9)), picture(QStringLiteral("cat.bmp")));
        writePicture(pictureWithBlock(40, 30, QRect(10, 8, 12, 9)), picture(QStringLiteral("photo.jpg")), "JPEG");
        writePicture(pictureWithBlock(32, 32, QRect(8, 8, 16, 16)), picture(QStringLiteral("square.bmp")));
        writePicture(pictureWithBlock(32, 31, QRect(8, 8, 16, 16)), picture(QStringLiteral("short.bmp")));
        writePicture(pictureWithBlock(33, 32, QRect(8, 8, 16, 16)), picture(QStringLiteral("wide.bmp")));
    }

    void cleanup() {
        QDir(saveFolder()).removeRecursively();
    }

    void dialogRemembersTheLastConfirmedColour() {
        // The back panel's colour can be chosen before any picture is open.
        const auto form = shownWindow();
        QColor openedOn;
        {
            std::unique_ptr<ModalDriver> driver(answerColourDialog(&openedOn, QColor(0, 128, 255)));
            form->action(CommandId::ActBColor)->trigger();
        }
        QCOMPARE(openedOn, QColor(Qt::black));
        QCOMPARE(form->ScrollBox1->viewport()->palette().color(QPalette::Window), QColor(0, 128, 255));
        form->OpenPictureFile(picture(QStringLiteral("cat.bmp")));
        {
            // The outline panel opens on the back panel's colour; a cancel
            // changes nothing.
            std::unique_ptr<ModalDriver> driver(answerColourDialog(&openedOn, std::nullopt));
            QTest::mouseClick(form->Panel2, Qt::LeftButton);
            QVERIFY(driver->acted());
        }
        QCOMPARE(openedOn, QColor(0, 128, 255));
        QCOMPARE(panelFace(form->Panel2), QColor(Qt::black));
        {
            std::unique_ptr<ModalDriver> driver(answerColourDialog(&openedOn, QColor(255, 0, 0)));
            QTest::mouseClick(form->Panel1, Qt::LeftButton);
        }
        QCOMPARE(openedOn, QColor(0, 128, 255));
        QCOMPARE(panelFace(form->Panel1), QColor(255, 0, 0));
        {
            std::unique_ptr<ModalDriver> driver(answerColourDialog(&openedOn, std::nullopt));
            form->action(CommandId::ActBColor)->trigger();
        }
        QCOMPARE(openedOn, QColor(255, 0, 0));
    }

    void panelTextIsTheInvertedColour_data() {
        QTest::addColumn<QColor>("chosen");
        QTest::addColumn<QColor>("text");
        QTest::newRow("red gives aqua") << QColor(255, 0, 0) << QColor(0, 255, 255);
        QTest::newRow("black gives white") << QColor(0, 0, 0) << QColor(255, 255, 255);
        QTest::newRow("white gives black") << QColor(255, 255, 255) << QColor(0, 0, 0);
        QTest::newRow("mixed") << QColor(18, 52, 86) << QColor(237, 203, 169);
    }

    void panelTextIsTheInvertedColour() {
        QFETCH(QColor, chosen);
        QFETCH(QColor, text);
        const auto form = windowWith(QStringLiteral("cat.bmp"));
        QColor openedOn;
        std::unique_ptr<ModalDriver> driver(answerColourDialog(&openedOn, chosen));
        QTest::mouseClick(form->Panel1, Qt::LeftButton);
        QCOMPARE(panelFace(form->Panel1), chosen);
        QCOMPARE(panelText(form->Panel1), text);
    }

    void panelsDoNothingWhileTheirCommandIsUnavailable() {
        const auto form = windowWith(QStringLiteral("photo.jpg"));
        QVERIFY(form->Panel1->isEnabled() && form->Panel2->isEnabled());
        QColor openedOn;
        std::unique_ptr<ModalDriver> driver(answerColourDialog(&openedOn, QColor(255, 0, 0)));
        QTest::mouseClick(form->Panel1, Qt::LeftButton);
        QTest::mouseClick(form->Panel2, Qt::LeftButton);
        QTest::qWait(30);
        QVERIFY(!driver->acted());
        QCOMPARE(panelFace(form->Panel1), QColor(Qt::black));
        QCOMPARE(panelFace(form->Panel2), QColor(Qt::black));
    }

    void eyedroppersPickFromThePictureOnDisplay() {
        const auto form = windowWith(QStringLiteral("cat.bmp"));
        QTest::mouseClick(form->SpoidButton, Qt::LeftButton);
        // The red block spans (10, 8) to (21, 16) of the 40 x 30 picture.
        QTest::mouseClick(form->Image1, Qt::LeftButton, {}, QPoint(12, 10));
        QCOMPARE(panelFace(form->Panel1), QColor(255, 0, 0));
        QCOMPARE(panelText(form->Panel1), QColor(0, 255, 255));
        // The right button never picks.
        QTest::mouseClick(form->Image1, Qt::RightButton, {}, QPoint(1, 1));
        QCOMPARE(panelFace(form->Panel1), QColor(255, 0, 0));
        QCOMPARE(panelFace(form->Panel2), QColor(Qt::black));

        // After a quarter turn the block lies at x 13 to 21, y 10 to 21.
        form->action(CommandId::Act90)->trigger();
        QTest::mouseClick(form->SpoidButton2, Qt::LeftButton);
        QTest::mouseClick(form->Image1, Qt::LeftButton, {}, QPoint(25, 15));
        QCOMPARE(panelFace(form->Panel2), QColor(Qt::white));
        QCOMPARE(panelText(form->Panel2), QColor(Qt::black));
        QTest::mouseClick(form->Image1, Qt::LeftButton, {}, QPoint(15, 12));
        QCOMPARE(panelFace(form->Panel2), QColor(255, 0, 0));
        QCOMPARE(panelFace(form->Panel1), QColor(255, 0, 0));

        // A resized display, as the resize dialog leaves it.
        QImage larger(80, 60, QImage::Format_RGB32);
        larger.fill(QColor(0, 0, 200));
        larger.setPixel(70, 50, qRgb(1, 2, 3));
        form->showPicture(Bitmap(larger));
        QTest::mouseClick(form->Image1, Qt::LeftButton, {}, QPoint(70, 50));
        QCOMPARE(panelFace(form->Panel2), QColor(1, 2, 3));
    }

    void eyedropperStopsWithItsCommand() {
        const auto form = windowWith(QStringLiteral("cat.bmp"));
        QTest::mouseClick(form->SpoidButton2, Qt::LeftButton);
        form->action(CommandId::ActEdge)->trigger();
        QTest::mouseClick(form->Image1, Qt::LeftButton, {}, QPoint(12, 10));
        QCOMPARE(panelFace(form->Panel2), QColor(Qt::black));
        // After New and the next open it picks again at once.
        form->action(CommandId::ActNew)->trigger();
        form->OpenPictureFile(picture(QStringLiteral("cat.bmp")));
        QCOMPARE(form->image1Cursor(), kOutlineEyedropperCursor);
        QTest::mouseClick(form->Image1, Qt::LeftButton, {}, QPoint(12, 10));
        QCOMPARE(panelFace(form->Panel2), QColor(255, 0, 0));
    }

    void cursorSteps_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("cursor");
        QTest::newRow("fill eyedropper") << QStringList{"fill-dropper"} << 3;
        QTest::newRow("outline eyedropper") << QStringList{"outline-dropper"} << 4;
        QTest::newRow("outline resets its own") << QStringList{"outline-dropper", "outline"} << 0;
        QTest::newRow("outline keeps the other") << QStringList{"fill-dropper", "outline"} << 3;
        QTest::newRow("fill resets its own") << QStringList{"fill-dropper", "fill"} << 0;
        QTest::newRow("fill keeps the other") << QStringList{"outline-dropper", "fill"} << 4;
        QTest::newRow("new keeps it") << QStringList{"fill-dropper", "new"} << 3;
        QTest::newRow("next open shows it again")
            << QStringList{"fill-dropper", "fill", "new", "open"} << 3;
    }

    void cursorSteps() {
        QFETCH(QStringList, steps);
        QFETCH(int, cursor);
        const auto form = windowWith(QStringLiteral("cat.bmp"));
        QCOMPARE(form->image1Cursor(), 0);
        for (const QString& step : steps) {
            if (step == QLatin1String("fill-dropper"))
                QTest::mouseClick(form->SpoidButton, Qt::LeftButton);
            else if (step == QLatin1String("outline-dropper"))
                QTest::mouseClick(form->SpoidButton2, Qt::LeftButton);
            else if (step == QLatin1String("outline"))
                form->action(CommandId::ActEdge)->trigger();
            else if (step == QLatin1String("fill"))
                form->action(CommandId::ActPaint)->trigger();
            else if (step == QLatin1String("new"))
                form->action(CommandId::ActNew)->trigger();
            else
                form->OpenPictureFile(picture(QStringLiteral("cat.bmp")));
        }
        QCOMPARE(form->image1Cursor(), cursor);
        QCOMPARE(form->Image1->cursor().pixmap().toImage(),
                 form->registeredCursor(cursor).pixmap().toImage());
    }

    void saveEachType_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<bool>("turn");
        QTest::addColumn<QString>("kindText");
        QTest::addColumn<QString>("suffixAfter");
        QTest::newRow("bitmap, turned") << 0 << "shadow.bmp" << "cat.bmp" << true << QStringLiteral("保存後 BMP")
                                        << "bmp";
        QTest::newRow("jpeg") << 1 << "shadow.jpg" << "cat.bmp" << false << QStringLiteral("保存後JPEG") << "jpg";
        QTest::newRow("icon") << 2 << "shadow.ico" << "square.bmp" << false << QStringLiteral("保存後ICON") << "ico";
    }

    void saveEachType() {
        QFETCH(int, type);
        QFETCH(QString, name);
        QFETCH(QString, picture);
        QFETCH(bool, turn);
        QFETCH(QString, kindText);
        QFETCH(QString, suffixAfter);
        const auto form = windowWith(picture);
        if (turn)
            form->action(CommandId::Act90)->trigger();
        const Bitmap shown = form->displayedPicture();
        const QString chosen = saveFolder() + QLatin1Char('/') + name;
        const SaveDialogView view = save(*form, type, chosen);
        QCOMPARE(view.folder, saveFolder());
        QCOMPARE(view.name, QStringLiteral("_.bmp"));
        QVERIFY(view.previewFileThere);
        QVERIFY(view.previewShown);
        QCOMPARE(view.type, 0);
        QCOMPARE(view.defaultSuffix, QStringLiteral("bmp"));

        QVERIFY(!QFileInfo::exists(preview()));
        QCOMPARE(form->Label3->text(), kindText);
        QCOMPARE(form->windowTitle(), kStartCaption + QStringLiteral(" ファイル名 『 ") + name + QStringLiteral(" 』"));
        QCOMPARE(form->document().CurrentFileName, chosen);
        QCOMPARE(form->OpenPictureDialog1->selectedFiles().value(0), chosen);
        QVERIFY(!form->Label4->text().isEmpty());
        QCOMPARE(form->Label4->text(), fileSizeText(QFileInfo(chosen).size()));

        const QImage written(chosen);
        QCOMPARE(written.size(), QSize(shown.width(), shown.height()));
        if (type == 0) {
            for (int y = 0; y < written.height(); ++y)
                for (int x = 0; x < written.width(); ++x)
                    QCOMPARE(colourFromRgb(written.pixel(x, y)), shown.pixel(x, y));
        } else if (type == 2) {
            // The top-left colour becomes transparent, the block stays.
            QCOMPARE(qAlpha(written.pixel(0, 0)), 0);
            QCOMPARE(qAlpha(written.pixel(31, 31)), 0);
            QCOMPARE(written.pixel(10, 10) & 0xFFFFFF, QRgb(0xFF0000));
        }

        // The next run of the dialog has this type selected.
        const SaveDialogView next = save(*form, -1, QString());
        QCOMPARE(next.type, type);
        QCOMPARE(next.defaultSuffix, suffixAfter);
    }

    void typedNameGetsTheDefaultExtension() {
        const auto form = windowWith(QStringLiteral("cat.bmp"));
        save(*form, 1, saveFolder() + QStringLiteral("/first.jpg"));
        save(*form, 1, saveFolder() + QStringLiteral("/second"));
        QCOMPARE(form->document().CurrentFileName, saveFolder() + QStringLiteral("/second.jpg"));
        QVERIFY(QFileInfo::exists(saveFolder() + QStringLiteral("/second.jpg")));
    }

    void iconOfTheWrongSizeIsRefused_data() {
        QTest::addColumn<QString>("picture");
        QTest::newRow("32 x 31") << "short.bmp";
        QTest::newRow("33 x 32") << "wide.bmp";
    }

    void iconOfTheWrongSizeIsRefused() {
        QFETCH(QString, picture);
        const auto form = windowWith(picture);
        const QString caption = form->windowTitle();
        MessageBoxCatcher catcher;
        const QString chosen = saveFolder() + QStringLiteral("/icon.ico");
        save(*form, 2, chosen);
        QCOMPARE(catcher.seen().size(), 1);
        QCOMPARE(catcher.seen().first().title, QStringLiteral("Pelmora"));
        QCOMPARE(catcher.seen().first().icon, QMessageBox::NoIcon);
        QCOMPARE(catcher.seen().first().text,
                 QStringLiteral("Icon ファイルとして保存できるのは\r\n\r\nIconサイズ(32x32)ピクセルの画像だけです"));
        QVERIFY(!QFileInfo::exists(chosen));
        QVERIFY(!QFileInfo::exists(preview()));
        QCOMPARE(form->Label3->text(), QStringLiteral("保存画像のサイズ"));
        QCOMPARE(form->Label4->text(), QString());
        QCOMPARE(form->windowTitle(), caption);
        QCOMPARE(form->document().CurrentFileName, this->picture(picture));
        QCOMPARE(form->SavePictureDialog1->defaultSuffix(), QStringLiteral("bmp"));
    }

    void cancelChangesNothing() {
        const auto form = windowWith(QStringLiteral("cat.bmp"));
        const QString caption = form->windowTitle();
        const SaveDialogView view = save(*form, -1, QString());
        QVERIFY(view.previewFileThere);
        QVERIFY(!QFileInfo::exists(preview()));
        QVERIFY(QFileInfo(saveFolder()).isDir());
        QCOMPARE(form->windowTitle(), caption);
        QCOMPARE(form->document().CurrentFileName, picture(QStringLiteral("cat.bmp")));
        QCOMPARE(form->Label3->text(), QStringLiteral("保存画像のサイズ"));
        QCOMPARE(form->Label4->text(), QString());
    }

    void savingUnderThePreviewNameKeepsTheFile() {
        const auto form = windowWith(QStringLiteral("cat.bmp"));
        MessageBoxCatcher noQuestion;
        save(*form, 0, QString());
        QVERIFY(noQuestion.seen().isEmpty());
        QVERIFY(QFileInfo::exists(preview()));
        QCOMPARE(QImage(preview()).size(), QSize(40, 30));
        QCOMPARE(form->document().CurrentFileName, preview());
        QVERIFY(form->windowTitle().endsWith(QStringLiteral("『 _.bmp 』")));
    }

    void aPreviewNamedFileOfTheUsersSurvives() {
        QVERIFY(QDir().mkpath(saveFolder()));
        QFile users(preview());
        QVERIFY(users.open(QIODevice::WriteOnly));
        users.write("the user's own file");
        users.close();
        const auto form = windowWith(QStringLiteral("cat.bmp"));
        const SaveDialogView view = save(*form, 0, saveFolder() + QStringLiteral("/other.bmp"));
        QVERIFY(view.previewShown);
        QVERIFY(users.open(QIODevice::ReadOnly));
        QCOMPARE(users.readAll(), QByteArray("the user's own file"));
        QVERIFY(QFileInfo::exists(saveFolder() + QStringLiteral("/other.bmp")));
    }

    void replacingAFileAsksFirst() {
        QVERIFY(QDir().mkpath(saveFolder()));
        const QString existing = saveFolder() + QStringLiteral("/existing.bmp");
        QFile file(existing);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("keep me");
        file.close();
        const auto form = windowWith(QStringLiteral("cat.bmp"));
        MessageBoxCatcher answerNo(QMessageBox::No);
        ModalDriver driver([&existing](QWidget* modal) {
            auto* dialog = qobject_cast<PictureFileDialog*>(modal);
            typeFileName(dialog, existing);
            static_cast<QDialog*>(dialog)->accept();
            // The question was answered No: the dialog is still open.
            QVERIFY(dialog->isVisible());
            dialog->reject();
        });
        form->action(CommandId::ActSave)->trigger();
        QCOMPARE(answerNo.seen().size(), 1);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("keep me"));
        QCOMPARE(form->document().CurrentFileName, picture(QStringLiteral("cat.bmp")));
    }

    void failedWriteOnlyReports() {
        const auto form = windowWith(QStringLiteral("cat.bmp"));
        const QString caption = form->windowTitle();
        MessageBoxCatcher catcher;
        save(*form, 1, home_.filePath(QStringLiteral("no/such/folder/out.jpg")));
        QCOMPARE(catcher.seen().size(), 1);
        QCOMPARE(catcher.seen().first().icon, QMessageBox::Critical);
        QCOMPARE(form->Label3->text(), QStringLiteral("保存画像のサイズ"));
        QCOMPARE(form->Label4->text(), QString());
        QCOMPARE(form->windowTitle(), caption);
        QCOMPARE(form->document().CurrentFileName, picture(QStringLiteral("cat.bmp")));
        QCOMPARE(form->SavePictureDialog1->defaultSuffix(), QStringLiteral("bmp"));
        QVERIFY(!QFileInfo::exists(preview()));
    }
};

PELMORA_APP_TEST_MAIN(ColourSaveTest)
#include "colour_save_test.moc"
