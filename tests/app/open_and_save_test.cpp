// SPDX-License-Identifier: GPL-2.0-or-later
// The open and save dialogs and the save command: the kinds listed, the
// preview pane, the file type kept from run to run and the extension it
// gives a name typed without one, the labels, caption and preview file.

// Qt
#include <QComboBox>
#include <QImageReader>

// Local
#include "app_test_support.h"
#include "pelmora_error.h"

using namespace pelmora;
using namespace pelmora::test;

class OpenAndSaveTest : public QObject {
    Q_OBJECT

    QTemporaryDir home_;
    QString saveFolder() const { return home_.filePath(QStringLiteral("Desktop/Pelmora")); }
    QString preview() const { return saveFolder() + QStringLiteral("/_.bmp"); }
    QString picture(const QString& name) const { return home_.filePath(name); }

    // Runs the save command, choosing the type as the user does when one is
    // given, then typing the path, or cancelling when there is none; returns
    // the type and default extension the dialog opened with.
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
                auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
                QTest::keyClick(types, Qt::Key_Home);
                for (int i = 0; i < type; ++i)
                    QTest::keyClick(types, Qt::Key_Down);
            }
            if (!path.isEmpty()) {
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
        QVERIFY(catPicture().save(picture("cat.bmp"), "BMP"));
        // Shown turned a quarter: 32 x 32, 32 x 31 and 33 x 32.
        QVERIFY(pictureWithBlock({32, 32}, {8, 8, 16, 16}).save(picture("square.bmp"), "BMP"));
        QVERIFY(pictureWithBlock({31, 32}, {8, 8, 16, 16}).save(picture("short.bmp"), "BMP"));
        QVERIFY(pictureWithBlock({32, 33}, {8, 8, 16, 16}).save(picture("wide.bmp"), "BMP"));
    }

    void cleanup() {
        QDir(saveFolder()).removeRecursively();
    }

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

    void save_data() {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("name");      // typed, in the save folder; empty: cancel
        QTest::addColumn<QString>("written");   // the file saved
        QTest::addColumn<QString>("usersFile"); // there before the save
        QTest::addColumn<QString>("box");       // as the catcher notes it
        QTest::addColumn<QString>("kindText");  // empty: nothing saved
        const QString refusal = QStringLiteral("Pelmora: Icon ファイルとして保存できるのは\r\n\r\nIconサイズ(32x32)ピクセルの画像だけです");
        const QString bmp = QStringLiteral("保存後 BMP");
        QTest::newRow("bitmap") << "cat.bmp" << 0 << "shadow.bmp" << "shadow.bmp" << "" << "" << bmp;
        QTest::newRow("jpeg") << "cat.bmp" << 1 << "shadow.jpg" << "shadow.jpg" << "" << "" << QStringLiteral("保存後JPEG");
        QTest::newRow("icon") << "square.bmp" << 2 << "shadow.ico" << "shadow.ico" << "" << "" << QStringLiteral("保存後ICON");
        // The type chosen gives its extension in the same run.
        QTest::newRow("jpeg, no extension typed") << "cat.bmp" << 1 << "shadow" << "shadow.jpg" << "" << ""
                                                  << QStringLiteral("保存後JPEG");
        QTest::newRow("jpeg under a bitmap's name") << "cat.bmp" << 1 << "odd.bmp" << "odd.bmp" << "" << ""
                                                    << QStringLiteral("保存後JPEG");
        QTest::newRow("icon of 32 x 31") << "short.bmp" << 2 << "icon.ico" << "" << "" << refusal << "";
        QTest::newRow("icon of 33 x 32") << "wide.bmp" << 2 << "icon.ico" << "" << "" << refusal << "";
        QTest::newRow("cancel") << "cat.bmp" << 0 << "" << "" << "" << "" << "";
        QTest::newRow("cancel after choosing jpeg") << "cat.bmp" << 1 << "" << "" << "" << "" << "";
        QTest::newRow("failed write") << "cat.bmp" << 1 << "missing/out.jpg" << "" << ""
                                      << QStringLiteral("Pelmora: !ファイルが見つかりません.") << "";
        QTest::newRow("under the preview's name") << "cat.bmp" << 0 << "_.bmp" << "_.bmp" << "" << "" << bmp;
        QTest::newRow("user's own _.bmp") << "cat.bmp" << 0 << "other.bmp" << "other.bmp" << "_.bmp" << "" << bmp;
        QTest::newRow("over a file of the user's") << "cat.bmp" << 0 << "mine.bmp" << "" << "mine.bmp" << "?" << "";
    }

    void save() {
        QFETCH(QString, picture);
        QFETCH(int, type);
        QFETCH(QString, name);
        QFETCH(QString, written);
        QFETCH(QString, usersFile);
        QFETCH(QString, kindText);
        const QString target = saveFolder() + QLatin1Char('/') + written;
        const QString users = saveFolder() + QLatin1Char('/') + usersFile;
        QVERIFY(usersFile.isEmpty() || (QDir().mkpath(saveFolder()) && writeFile(users, "the user's own")));
        const auto form = shownWindow({this->picture(picture)});
        form->action(CommandId::Act90)->trigger();  // what is on display is saved
        const QString caption = form->windowTitle();
        MessageBoxCatcher catcher;
        QCOMPARE(save(*form, type, name.isEmpty() ? name : saveFolder() + QLatin1Char('/') + name),
                 QStringLiteral("0 bmp"));
        QTEST(catcher.seen().join(QString()), "box");
        QFile userFile(users);
        QVERIFY(usersFile.isEmpty() || (userFile.open(QIODevice::ReadOnly) && userFile.readAll() == "the user's own"));
        QCOMPARE(QFileInfo::exists(preview()), usersFile == "_.bmp" || (!kindText.isEmpty() && target == preview()));

        const bool saved = !kindText.isEmpty();
        QCOMPARE(form->Label3->text(), saved ? kindText : QStringLiteral("保存画像のサイズ"));
        QCOMPARE(form->Label4->text(), saved ? fileSizeText(QFileInfo(target).size()) : QString());
        QCOMPARE(form->windowTitle(), saved ? kStartCaption + QStringLiteral(" ファイル名 『 ") + written +
                                                  QStringLiteral(" 』")
                                            : caption);
        QCOMPARE(form->document().CurrentFileName, saved ? target : this->picture(picture));
        // The next run offers the type of this one, and its extension; a
        // cancel keeps nothing.
        const int kept = name.isEmpty() ? 0 : type;
        QCOMPARE(save(*form, -1, QString()), QStringLiteral("%1 %2").arg(kept).arg(QStringList{"bmp", "jpg", "ico"}[kept]));
        QStringList files{written, usersFile};
        files.removeAll(QString());
        files.sort();
        QCOMPARE(QDir(saveFolder()).entryList(QDir::Files), files);
        if (!saved)
            return;
        QCOMPARE(form->OpenPictureDialog1->selectedFiles().value(0), target);
        // The quarter-turned picture, by hand; an icon's top-left colour
        // becomes transparent.
        const bool cat = picture == QLatin1String("cat.bmp");
        const QSize size = cat ? QSize(30, 40) : QSize(32, 32);
        const QImage expected = pictureWithBlock(size, cat ? QRect(13, 10, 9, 12) : QRect(8, 8, 16, 16),
                                                 type == 2 ? Qt::transparent : Qt::white);
        QCOMPARE(QImageReader(target).format(), QByteArray(QList<const char*>{"bmp", "jpeg", "ico"}[type]));
        if (type != 1)
            QCOMPARE(QImage(target).convertToFormat(QImage::Format_ARGB32), expected.convertToFormat(QImage::Format_ARGB32));
        // A name that tells the type opens again by the program's own
        // extension rule.
        if (QFileInfo(target).suffix() != QStringList{"bmp", "jpg", "ico"}[type])
            return;
        try {
            QCOMPARE(importPicture(target, *pictureKindOf(target)).image().size(), size);
        } catch (const PelmoraError& error) {
            QFAIL(qPrintable(error.text()));
        }
    }
};

PELMORA_APP_TEST_MAIN(OpenAndSaveTest)
#include "open_and_save_test.moc"
