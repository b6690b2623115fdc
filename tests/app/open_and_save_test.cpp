// The open dialog, the eyedropper cursors, and the error report.

// Local
#include "app_test_support.h"
#include "imageops/pelmora_error.h"

// Std
#include <new>
#include <stdexcept>

using namespace pelmora;
using namespace pelmora::test;

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
        QStringList seen;  // the files listed, the preview's size, the filter on the next opening
        const auto runDialog = [&](const std::function<void(PictureFileDialog*)>& act) {
            ModalDriver driver([&](QWidget* modal) { act(qobject_cast<PictureFileDialog*>(modal)); });
            form->action(CommandId::ActOpen)->trigger();
        };
        runDialog([&](PictureFileDialog* dialog) {
            dialog->setDirectory(dir.path());
            auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
            QTRY_COMPARE_WITH_TIMEOUT(view->model()->rowCount(view->rootIndex()), 6, 5000);
            for (int row = 0; row < 6; ++row)
                seen << view->model()->index(row, 0, view->rootIndex()).data().toString();
            view->setCurrentIndex(view->model()->index(int(seen.indexOf("a.bmp")), 0, view->rootIndex()));
            seen.sort(Qt::CaseInsensitive);
            const QSize preview = dialog->findChild<QLabel*>(QStringLiteral("previewPane"))->pixmap().size();
            seen << QStringLiteral("%1 x %2").arg(preview.width()).arg(preview.height());
            dialog->selectFilterIndex(3);
            dialog->reject();
        });
        QCOMPARE(form->document().CurrentFileName, QString());
        runDialog([&](PictureFileDialog* dialog) {
            seen << QString::number(dialog->filterIndex());
            typeFileName(dialog, chosen);
            static_cast<QDialog*>(dialog)->accept();
        });
        QCOMPARE(seen, (QStringList{"a.bmp", "b.JPEG", "c.jpg", "d.ico", "e.emf", "f.WMF", "24 x 12", "3"}));
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

    // Every exception that escapes a handler becomes the error report, one
    // at a time, its text ending in a full stop unless its last character
    // sorts before '/'.
    void errorReport() {
        MessageBoxCatcher catcher;
        const std::function<void()> failures[] = {
            [] { throw PelmoraError(QStringLiteral("JPEG エラー #53")); },
            [] { throw PelmoraError(QStringLiteral("I/O エラー (28)")); },
            [] { throw PelmoraError(QString()); },
            [] { throw std::bad_alloc(); },
            [] { throw std::runtime_error("device gone/"); }};
        for (const std::function<void()>& failure : failures) {
            QMetaObject::invokeMethod(qApp, failure, Qt::QueuedConnection);
            QTRY_COMPARE(catcher.seen().size(), &failure - failures + 1);
        }
        QCOMPARE(catcher.seen(), (QStringList{"Pelmora: !JPEG エラー #53.", "Pelmora: !I/O エラー (28)", "Pelmora: !",
                                              "Pelmora: !メモリが足りません.", "Pelmora: !device gone/."}));
    }
};

PELMORA_APP_TEST_MAIN(CommandsTest)
#include "commands_test.moc"
