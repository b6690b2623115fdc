// The command set as the user meets it: captions, hints and glyphs, the
// menus and tool bars, the eyedropper group, the open dialog, the About
// box, and the error report with the program's own refusals.

// Qt
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

// Local
#include "app/about_box.h"
#include "app/colour_panel.h"
#include "app/cursor_file.h"
#include "app/glyphs.h"
#include "app/info_panel.h"
#include "app/main_window.h"
#include "app/message_boxes.h"
#include "app/picture_file_dialog.h"
#include "app/program_windows.h"
#include "app_test_support.h"
#include "imageops/pelmora_error.h"
#include "resize/resize_dialog.h"

// Std
#include <new>
#include <stdexcept>

using namespace pelmora;
using namespace pelmora::test;

namespace {

// Names each item of a menu or tool bar: the command's name, "-" for a
// menu separator, the width of a tool bar separator, or the widget's name.
QStringList itemsOf(const QList<QAction*>& actions, const QToolBar* bar = nullptr) {
    QStringList items;
    for (QAction* action : actions) {
        if (action->isSeparator())
            items << QStringLiteral("-");
        else if (!action->objectName().isEmpty())
            items << action->objectName();
        else if (bar) {
            QWidget* widget = bar->widgetForAction(action);
            items << (widget->objectName().isEmpty() ? QString::number(widget->width()) : widget->objectName());
        }
    }
    return items;
}

bool isBlank(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                return false;
    return true;
}

// Throws from its event handler, as a failing command handler would.
class Thrower : public QObject {
public:
    std::function<void()> raise;
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User)
            raise();
        return QObject::event(event);
    }
};

} // namespace

class CommandsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TPelmoraForm1> shownWindow() {
        auto form = createProgramWindows({});
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()))
            qFatal("window not shown");
        return form;
    }

private slots:
    void commandTexts() {
        // Name, caption, tool tip, status bar text, whether a glyph shows; in
        // the order of ActionList1.
        const QStringList expected = {
            "ActOpen|開く(&O)|開く|ファイルを開きます|1",
            "ActSave|保存(&S)|保存|ファイルとして保存します|1",
            "ActClose|終了(&X)|終了|このソフトを終了します|1",
            "ActEdge|縁取り(&E)|縁取り|選択された色で画像を縁取りします|1",
            "ActPaint|塗りつぶし(&P)|塗潰し|選択された色で画像をぬりつぶします|1",
            "ActBA|表示切替(&C)|表示切替|元画像・縁取り画像・塗潰し画像を順番に切り替えて表示します|1",
            "ActSpoid|塗潰し色の抽出|色の抽出|画像の中から塗潰しの色を抽出します|1",
            "ActNew|新規作成(&N)|新規作成|現状を破棄し、もう一度最初からやり直します|1",
            "ActSpoid2|縁取の色の抽出|色の抽出|画像の中から縁取りの色を抽出します|1",
            "ActVer|バージョン情報|バージョン情報|バージョン情報を表示します|1",
            "Act90|90\u00B0回転|90\u00B0回転|画像を90度回転させます|1",
            "Act180|180\u00B0回転|180\u00B0回転|画像を180度回転させます|0",
            "Act270|270\u00B0回転|270\u00B0回転|画像を270度回転させます|0",
            "ActHantenRL|反転\uFF08左右\uFF09|反転\uFF08左右\uFF09|画像の左右を反転します|1",
            "ActHantenTB|反転\uFF08上下\uFF09|反転\uFF08上下\uFF09|画像の上下を反転します|1",
            "ActSize|拡大\u30FB縮小|縮小\u30FB拡大|画像を縮小\u30FB拡大します|1",
            "ActBColor|背景色|背景色設定|バックパネルの色を変更します|1",
        };
        const auto form = shownWindow();
        for (std::size_t i = 0; i < kCommandCount; ++i) {
            const QAction* action = form->action(CommandId(i));
            const QString seen = QStringList{action->objectName(), action->text(), action->toolTip(),
                                             action->statusTip(), action->icon().isNull() ? "0" : "1"}
                                     .join(QLatin1Char('|'));
            QCOMPARE(seen, expected.at(qsizetype(i)));
            QVERIFY(action->shortcut().isEmpty());
            QVERIFY(!action->isIconVisibleInMenu());
        }
    }

    void everyCommandRunsAHandler() {
        for (const CommandEntry& entry : commandTable())
            QVERIFY2(entry.handler, entry.name);
    }

    void glyphSlots() {
        const QList<int> used = {0, 1, 2, 3, 4, 8, 9, 10, 12, 22, 23, 28, 29, 32};
        QList<QImage> drawn;
        for (int index = 0; index < kGlyphCount; ++index) {
            const QImage image = glyph(index).toImage();
            QCOMPARE(image.size(), QSize(16, 16));
            QCOMPARE(isBlank(image), !used.contains(index));
            if (used.contains(index)) {
                QVERIFY2(!drawn.contains(image), qPrintable(QString::number(index)));
                drawn << image;
            }
        }
    }

    void menus() {
        const auto form = shownWindow();
        QStringList titles;
        QList<QStringList> items;
        for (QAction* top : form->menuBar()->actions()) {
            titles << top->text();
            items << itemsOf(top->menu()->actions());
        }
        QCOMPARE(titles, (QStringList{"ファイル", "編集", "表示", "ヘルプ"}));
        QCOMPARE(items.value(0), (QStringList{"ActOpen", "ActNew", "ActSave", "-", "ActClose"}));
        QCOMPARE(items.value(1), (QStringList{"ActEdge", "ActPaint"}));
        QCOMPARE(items.value(2), (QStringList{"ActBColor", "-", "ActBA", "-", "ActHantenRL", "ActHantenTB", "-",
                                              "Act90", "Act180", "Act270", "-", "ActSize"}));
        QCOMPARE(items.value(3), (QStringList{"ActVer"}));
        QCOMPARE(itemsOf(form->PopupMenu1->actions()),
                 (QStringList{"ActOpen", "ActNew", "ActSave", "ActClose", "-", "ActEdge", "ActPaint", "ActBA", "-",
                              "ActVer"}));
    }

    void toolBars() {
        const auto form = shownWindow();
        QCOMPARE(itemsOf(form->ToolBar1->actions(), form->ToolBar1),
                 (QStringList{"ActOpen", "8", "ActNew", "8", "ActSave", "8", "ActBColor", "10", "Panel3", "8",
                              "Panel4"}));
        QCOMPARE(itemsOf(form->ToolBar2->actions(), form->ToolBar2),
                 (QStringList{"ActSize", "40", "ActEdge", "8", "ActPaint", "30", "ActBA", "8", "ActHantenRL", "8",
                              "ActHantenTB", "8", "Act90", "30", "Panel2", "8", "ActSpoid2", "ActSpoid", "8",
                              "Panel1"}));
        QCOMPARE(form->SpoidButton->size(), QSize(23, 22));
        QCOMPARE(form->Panel1->toolTip(), QStringLiteral("色を選択"));
        QCOMPARE(form->Panel2->statusTip(), QStringLiteral("カラーパレットから縁取りの色を選択する事ができます"));
    }

    void eyedropperGroup() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("p.bmp"));
        writePicture(pictureWithBlock(10, 10, QRect(2, 2, 3, 3)), file);
        const auto form = shownWindow();
        QVERIFY(!form->SpoidButton->isChecked() && !form->SpoidButton2->isChecked());
        form->OpenPictureFile(file);
        QTest::mouseClick(form->SpoidButton2, Qt::LeftButton);
        QVERIFY(form->SpoidButton2->isChecked() && !form->SpoidButton->isChecked());
        QTest::mouseClick(form->SpoidButton, Qt::LeftButton);
        QVERIFY(form->SpoidButton->isChecked() && !form->SpoidButton2->isChecked());
        // Pressing the one that is down keeps it down.
        QTest::mouseClick(form->SpoidButton, Qt::LeftButton);
        QVERIFY(form->SpoidButton->isChecked() && !form->SpoidButton2->isChecked());
        // Disabling the command keeps the button down.
        form->action(CommandId::ActNew)->trigger();
        QVERIFY(!form->SpoidButton->isEnabled());
        QVERIFY(form->SpoidButton->isChecked());
    }

    void statusBarShowsTheLongHint() {
        const auto form = shownWindow();
        QMenu* fileMenu = form->menuBar()->actions().first()->menu();
        fileMenu->popup(form->mapToGlobal(QPoint(0, 0)));
        QVERIFY(QTest::qWaitForWindowExposed(fileMenu));
        fileMenu->setActiveAction(form->action(CommandId::ActOpen));
        QCOMPARE(form->StatusBar1Panel->text(), QStringLiteral("ファイルを開きます"));
        fileMenu->close();
        QCOMPARE(form->StatusBar1Panel->width(), 200);
    }

    void openDialogFilters() {
        const auto form = shownWindow();
        auto* types = form->OpenPictureDialog1->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        QVERIFY(types);
        QStringList shown;
        for (int i = 0; i < types->count(); ++i)
            shown << types->itemText(i);
        QCOMPARE(shown, (QStringList{"すべてのファイル (*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)",
                                     "JPEG イメージファイル (*.jpg)", "JPEG イメージファイル (*.jpeg)",
                                     "ビットマップ (*.bmp)", "アイコン (*.ico)", "エンハンス メタファイル (*.emf)",
                                     "メタファイル (*.wmf)"}));
        QCOMPARE(form->OpenPictureDialog1->filterIndex(), 0);
        QVERIFY(form->OpenPictureDialog1->testOption(QFileDialog::DontUseNativeDialog));
    }

    void openDialogListsPicturesAndPreviewsThem() {
        QTemporaryDir dir;
        writePicture(pictureWithBlock(24, 12, QRect(2, 2, 3, 3)), dir.filePath(QStringLiteral("a.bmp")));
        for (const char* name : {"b.JPEG", "c.jpg", "d.ico", "e.emf", "f.WMF", "g.txt", "h.png"}) {
            QFile file(dir.filePath(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const auto form = shownWindow();
        QStringList listed;
        QSize previewed;
        ModalDriver driver([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            dialog->setDirectory(dir.path());
            auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
            QTRY_COMPARE_WITH_TIMEOUT(view->model()->rowCount(view->rootIndex()), 6, 5000);
            for (int row = 0; row < 6; ++row) {
                const QModelIndex entry = view->model()->index(row, 0, view->rootIndex());
                listed << entry.data().toString();
                if (listed.last() == QLatin1String("a.bmp"))
                    view->setCurrentIndex(entry);
            }
            previewed = dialog->findChild<QLabel*>(QStringLiteral("previewPane"))->pixmap().size();
            dialog->reject();
        });
        form->action(CommandId::ActOpen)->trigger();
        listed.sort(Qt::CaseInsensitive);
        QCOMPARE(listed, (QStringList{"a.bmp", "b.JPEG", "c.jpg", "d.ico", "e.emf", "f.WMF"}));
        QCOMPARE(previewed, QSize(24, 12));
    }

    void openDialogOpensAndKeepsTheLastFilter() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("chosen.bmp"));
        writePicture(pictureWithBlock(12, 10, QRect(2, 2, 3, 3)), file);
        const auto form = shownWindow();
        {
            ModalDriver driver([](QWidget* modal) {
                auto* dialog = qobject_cast<PictureFileDialog*>(modal);
                QVERIFY(dialog);
                dialog->selectFilterIndex(3);
                dialog->reject();
            });
            form->action(CommandId::ActOpen)->trigger();
            QVERIFY(driver.acted());
        }
        QCOMPARE(form->document().CurrentFileName, QString());
        QCOMPARE(form->action(CommandId::ActOpen)->isEnabled(), true);
        int filterSeen = -1;
        {
            ModalDriver driver([&filterSeen, file](QWidget* modal) {
                auto* dialog = qobject_cast<PictureFileDialog*>(modal);
                filterSeen = dialog->filterIndex();
                typeFileName(dialog, file);
                static_cast<QDialog*>(dialog)->accept();
            });
            form->action(CommandId::ActOpen)->trigger();
        }
        QCOMPARE(filterSeen, 3);
        QCOMPARE(form->document().CurrentFileName, file);
        QCOMPARE(form->displayedPicture().width(), 12);
        QCOMPARE(form->OpenPictureDialog1->selectedFiles().value(0), file);
    }

    void eyedropperCursors() {
        QTemporaryDir dir;
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        // A cursor file in the current folder comes first, its hot spot read
        // from its entry; an unreadable one gives way to the program's own.
        QFile own(QStringLiteral(":/cursors/spoid2.cur"));
        QVERIFY(own.open(QIODevice::ReadOnly));
        QByteArray bytes = own.readAll();
        bytes[10] = 5;
        bytes[12] = 7;
        QFile local(QStringLiteral("spoid.cur"));
        QVERIFY(local.open(QIODevice::WriteOnly) && local.write(bytes) == bytes.size());
        local.close();
        QFile broken(QStringLiteral("spoid2.cur"));
        QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("not a cursor") > 0);
        broken.close();
        const auto form = shownWindow();
        QVERIFY(QDir::setCurrent(previous));
        QCOMPARE(form->registeredCursor(kFillEyedropperCursor).hotSpot(), QPoint(5, 7));
        QCOMPARE(form->registeredCursor(kOutlineEyedropperCursor).hotSpot(), QPoint(1, 30));
        QCOMPARE(form->registeredCursor(kOutlineEyedropperCursor).pixmap().size(), QSize(32, 32));
        QCOMPARE(form->registeredCursor(kArrowCursor).shape(), Qt::ArrowCursor);
    }

    void aboutBox() {
        const auto form = shownWindow();
        form->action(CommandId::ActVer)->trigger();
        form->action(CommandId::ActVer)->trigger();
        const QList<TAboutBox*> boxes = form->findChildren<TAboutBox*>();
        QCOMPARE(boxes.size(), 1);
        TAboutBox* box = boxes.first();
        QVERIFY(box->isVisible());
        QVERIFY(!box->isModal());
        QCOMPARE(box->windowTitle(), QStringLiteral("バージョン情報"));
        QCOMPARE(box->size(), QSize(273, 195));
        QCOMPARE(box->ProductName->text(), QStringLiteral("Pelmora"));
        QCOMPARE(box->Version->text(), QStringLiteral("バージョン 2.1"));
        QCOMPARE(box->Comments->text(),
                 QStringLiteral("シャドウイメージの作成や画像の縁取りが簡単にできるので・・・楽できますよ～"));
        QTest::keyClick(box->OKButton, Qt::Key_Return);
        QVERIFY(!box->isVisible());
        form->action(CommandId::ActVer)->trigger();
        QVERIFY(box->isVisible());
    }

    void resizeCommandShowsTheDialog() {
        QTemporaryDir dir;
        writePicture(pictureWithBlock(10, 10, QRect(2, 2, 3, 3)), dir.filePath(QStringLiteral("p.bmp")));
        const auto form = shownWindow();
        const QList<TOKBottomDlg*> dialogs = form->findChildren<TOKBottomDlg*>();
        QCOMPARE(dialogs.size(), 1);
        QVERIFY(!dialogs.first()->isVisible());
        form->OpenPictureFile(dir.filePath(QStringLiteral("p.bmp")));
        form->action(CommandId::ActSize)->trigger();
        QVERIFY(dialogs.first()->isVisible());
        QVERIFY(!dialogs.first()->isModal());
        dialogs.first()->reject();
    }

    void errorReportText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("Japanese") << QStringLiteral("ファイルが見つかりません") << QStringLiteral("ファイルが見つかりません.");
        QTest::newRow("letter") << "disk full" << "disk full.";
        QTest::newRow("full stop") << "done." << "done.";
        QTest::newRow("hyphen sorts before") << "a-" << "a-";
        QTest::newRow("slash sorts after") << "a/" << "a/.";
        QTest::newRow("closing parenthesis") << QStringLiteral("I/O エラー (28)") << QStringLiteral("I/O エラー (28)");
        QTest::newRow("digit") << "#42" << "#42.";
        QTest::newRow("empty") << "" << "";
    }

    void errorReportText() {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(pelmora::errorReportText(text), shown);
    }

    void escapedExceptionsBecomeTheReport_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("shown");
        QTest::newRow("program error") << 0 << QStringLiteral("JPEG エラー #53.");
        QTest::newRow("out of memory") << 1 << QStringLiteral("メモリが足りません.");
        QTest::newRow("other") << 2 << QStringLiteral("device gone.");
    }

    void escapedExceptionsBecomeTheReport() {
        QFETCH(int, kind);
        QFETCH(QString, shown);
        Thrower thrower;
        thrower.raise = [kind] {
            if (kind == 0)
                throw PelmoraError(QStringLiteral("JPEG エラー #53"));
            if (kind == 1)
                throw std::bad_alloc();
            throw std::runtime_error("device gone");
        };
        MessageBoxCatcher catcher;
        QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
        QTRY_COMPARE(catcher.seen().size(), 1);
        const SeenBox& box = catcher.seen().first();
        QCOMPARE(box.title, QStringLiteral("Pelmora"));
        QCOMPARE(box.text, shown);
        QCOMPARE(box.icon, QMessageBox::Critical);
        QCOMPARE(box.buttonCount, 1);
        // The program goes on: the next event is handled as usual.
        thrower.raise = [] {};
        QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
        QTest::qWait(30);
        QCOMPARE(catcher.seen().size(), 1);
    }

    void refusedExtension() {
        const auto form = shownWindow();
        MessageBoxCatcher catcher;
        form->OpenPictureFile(QStringLiteral("/nowhere/picture.bmp.txt"));
        QCOMPARE(catcher.seen().size(), 1);
        const SeenBox& box = catcher.seen().first();
        QCOMPARE(box.title, QStringLiteral("Pelmora"));
        QCOMPARE(box.icon, QMessageBox::NoIcon);
        QCOMPARE(box.buttonCount, 1);
        QCOMPARE(box.text, QStringLiteral("開けるファイルは\r\n\r\nメタファイル[*.WMF][*.EMF]\r\n\r\n"
                                          "ジェイペグ[*.JPG][*.JPEG]\r\n\r\nアイコンファイル[*.ICO]\r\n\r\n"
                                          "ビットマップ[*.BMP]です"));
        QVERIFY(form->action(CommandId::ActOpen)->isEnabled());
    }
};

PELMORA_APP_TEST_MAIN(CommandsTest)
#include "commands_test.moc"
