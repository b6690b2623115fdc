// The open dialog, the eyedropper cursors, the About box, and the error
// report.

// Local
#include "app/about_box.h"
#include "app/message_boxes.h"
#include "app_test_support.h"
#include "imageops/pelmora_error.h"

// Std
#include <new>
#include <stdexcept>

using namespace pelmora;
using namespace pelmora::test;

namespace {

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

private slots:
    // Every kind listed in any case, the selected picture previewed, and the
    // filter last chosen kept for the next open.
    void openDialog() {
        QTemporaryDir dir;
        const QString chosen = dir.filePath(QStringLiteral("a.bmp"));
        QVERIFY(pictureWithBlock({24, 12}, {2, 2, 3, 3}).save(chosen, "BMP"));
        for (const char* name : {"b.JPEG", "c.jpg", "d.ico", "e.emf", "f.WMF", "g.txt", "h.png"})
            QVERIFY(writeFile(dir.filePath(QString::fromLatin1(name)), {}));
        const auto form = shownWindow();
        QStringList listed;
        QSize previewed;
        int filterOnOpening = -1;
        const auto runDialog = [&](const std::function<void(PictureFileDialog*)>& act) {
            ModalDriver driver([&](QWidget* modal) { act(qobject_cast<PictureFileDialog*>(modal)); });
            form->action(CommandId::ActOpen)->trigger();
        };
        runDialog([&](PictureFileDialog* dialog) {
            dialog->setDirectory(dir.path());
            auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
            QTRY_COMPARE_WITH_TIMEOUT(view->model()->rowCount(view->rootIndex()), 6, 5000);
            for (int row = 0; row < 6; ++row)
                listed << view->model()->index(row, 0, view->rootIndex()).data().toString();
            view->setCurrentIndex(view->model()->index(int(listed.indexOf("a.bmp")), 0, view->rootIndex()));
            previewed = dialog->findChild<QLabel*>(QStringLiteral("previewPane"))->pixmap().size();
            dialog->selectFilterIndex(3);
            dialog->reject();
        });
        QCOMPARE(form->document().CurrentFileName, QString());
        runDialog([&](PictureFileDialog* dialog) {
            filterOnOpening = dialog->filterIndex();
            typeFileName(dialog, chosen);
            static_cast<QDialog*>(dialog)->accept();
        });
        listed.sort(Qt::CaseInsensitive);
        QCOMPARE(listed, (QStringList{"a.bmp", "b.JPEG", "c.jpg", "d.ico", "e.emf", "f.WMF"}));
        QCOMPARE(previewed, QSize(24, 12));
        QCOMPARE(filterOnOpening, 3);
        QCOMPARE(form->document().CurrentFileName, chosen);
        QCOMPARE(form->displayedPicture().width(), 24);
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

    void aboutBoxIsOneModelessWindow() {
        const auto form = shownWindow();
        form->action(CommandId::ActVer)->trigger();
        form->action(CommandId::ActVer)->trigger();
        const QList<TAboutBox*> boxes = form->findChildren<TAboutBox*>();
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes.first()->isVisible() && !boxes.first()->isModal());
    }

    void errorReportText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("Japanese") << QStringLiteral("ファイルが見つかりません") << QStringLiteral("ファイルが見つかりません.");
        QTest::newRow("full stop") << "done." << "done.";
        QTest::newRow("hyphen sorts before") << "a-" << "a-";
        QTest::newRow("slash sorts after") << "a/" << "a/.";
        QTest::newRow("closing parenthesis") << QStringLiteral("I/O エラー (28)") << QStringLiteral("I/O エラー (28)");
        QTest::newRow("empty") << "" << "";
    }

    void errorReportText() {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(pelmora::errorReportText(text), shown);
    }

    void escapedExceptionsBecomeTheReport() {
        Thrower thrower;
        MessageBoxCatcher catcher;
        for (int kind = 0; kind < 3; ++kind) {
            thrower.raise = [kind] {
                if (kind == 0)
                    throw PelmoraError(QStringLiteral("JPEG エラー #53"));
                if (kind == 1)
                    throw std::bad_alloc();
                throw std::runtime_error("device gone");
            };
            QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
            QTRY_COMPARE(catcher.seen().size(), kind + 1);
        }
        // The program goes on: the next event is handled as usual.
        thrower.raise = [] {};
        QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
        QTest::qWait(30);
        QCOMPARE(catcher.seen(), (QStringList{"Pelmora: !JPEG エラー #53.", "Pelmora: !メモリが足りません.",
                                              "Pelmora: !device gone."}));
    }
};

PELMORA_APP_TEST_MAIN(CommandsTest)
#include "commands_test.moc"
