// The main window's behaviour: availability through start, opens,
// outline, fill and New; captions and labels; the display switch and the
// turns; the command line; drops; centring; closing.

// Qt
#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMimeData>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QUrl>

// Local
#include "app/colour_panel.h"
#include "app/main_window.h"
#include "app/picture_view.h"
#include "app/program_windows.h"
#include "app_test_support.h"
#include "imagefile/open_picture.h"

using namespace pelmora;
using namespace pelmora::test;

namespace {

// Enabled flags in the order of ActionList1: Open Save Close Edge Paint BA
// Spoid New Spoid2 Ver 90 180 270 RL TB Size BColor.
const QString kAtStart = QStringLiteral("10000000010000001");
const QString kOpenedPicture = QStringLiteral("01111011111111111");
const QString kOpenedJpeg = QStringLiteral("01100011111111111");

QString enabledMask(const TPelmoraForm1& form) {
    QString mask;
    for (std::size_t i = 0; i < kCommandCount; ++i)
        mask += form.action(CommandId(i))->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return mask;
}

// Which of the document's bitmaps is on display: S, O, F, or ? for none.
QChar shownBitmap(const TPelmoraForm1& form) {
    const Bitmap& shown = form.displayedPicture();
    if (shown == form.document().SourceImage)
        return QLatin1Char('S');
    if (shown == form.document().OutlineImage)
        return QLatin1Char('O');
    if (shown == form.document().FillImage)
        return QLatin1Char('F');
    return QLatin1Char('?');
}

void dropFiles(QWidget* target, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
}

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString path(const QString& name) const { return dir_.filePath(name); }

    std::unique_ptr<TPelmoraForm1> shownWindow(const QStringList& commandLine = {}) {
        auto form = createProgramWindows(commandLine);
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()))
            qFatal("window not shown");
        QTest::qWait(20);
        return form;
    }

    void run(TPelmoraForm1& form, const QString& step) {
        if (step.startsWith(QLatin1String("open:")))
            form.OpenPictureFile(path(step.mid(5)));
        else if (step == QLatin1String("outline"))
            form.action(CommandId::ActEdge)->trigger();
        else if (step == QLatin1String("fill"))
            form.action(CommandId::ActPaint)->trigger();
        else if (step == QLatin1String("new"))
            form.action(CommandId::ActNew)->trigger();
        else
            QFAIL(qPrintable(step));
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        const QImage picture = pictureWithBlock(40, 30, QRect(10, 8, 12, 9));
        for (const char* name : {"cat.bmp", "a.bmp", "b.bmp", "c.bmp"})
            writePicture(picture, path(QString::fromLatin1(name)));
        writePicture(picture, path(QStringLiteral("photo.jpg")), "JPEG");
        writePicture(picture, path(QStringLiteral("PHOTO.JPG")), "JPEG");
        writePicture(picture, path(QStringLiteral("Photo.Jpeg")), "JPEG");
        writePicture(pictureWithBlock(32, 32, QRect(4, 4, 10, 10)), path(QStringLiteral("small.ico")), "ICO");
        QFile broken(path(QStringLiteral("broken.bmp")));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("BM this is no bitmap");
    }

    void availability_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("enabled");
        QTest::addColumn<QString>("fillPanel");     // enabled flag, then caption
        QTest::addColumn<QString>("outlinePanel");
        QTest::addColumn<bool>("acceptsDrops");

        const QString fillOn = QStringLiteral("1塗つぶしの色");
        const QString outlineOn = QStringLiteral("1縁取の色");
        const QString off = QStringLiteral("0");
        QTest::newRow("start") << QStringList() << kAtStart << off << off << true;
        QTest::newRow("bitmap") << QStringList{"open:cat.bmp"} << kOpenedPicture << fillOn << outlineOn << false;
        QTest::newRow("icon") << QStringList{"open:small.ico"} << kOpenedPicture << fillOn << outlineOn << false;
        QTest::newRow("jpg") << QStringList{"open:photo.jpg"} << kOpenedJpeg << fillOn << outlineOn << false;
        QTest::newRow("JPG") << QStringList{"open:PHOTO.JPG"} << kOpenedJpeg << fillOn << outlineOn << false;
        QTest::newRow("Jpeg") << QStringList{"open:Photo.Jpeg"} << kOpenedJpeg << fillOn << outlineOn << false;
        QTest::newRow("outline") << QStringList{"open:cat.bmp", "outline"} << QStringLiteral("01101111011111111")
                                 << fillOn << off << false;
        QTest::newRow("fill") << QStringList{"open:cat.bmp", "fill"} << QStringLiteral("01110101111111111") << off
                              << outlineOn << false;
        QTest::newRow("both") << QStringList{"open:cat.bmp", "fill", "outline"}
                              << QStringLiteral("01100101011111111") << off << off << false;
        QTest::newRow("new after both") << QStringList{"open:cat.bmp", "outline", "fill", "new"} << kAtStart << off
                                        << off << true;
        QTest::newRow("open after new") << QStringList{"open:cat.bmp", "outline", "new", "open:photo.jpg"}
                                        << kOpenedJpeg << fillOn << outlineOn << false;
    }

    void availability() {
        QFETCH(QStringList, steps);
        QFETCH(QString, enabled);
        QFETCH(QString, fillPanel);
        QFETCH(QString, outlinePanel);
        QFETCH(bool, acceptsDrops);
        const auto form = shownWindow();
        for (const QString& step : steps)
            run(*form, step);
        QCOMPARE(enabledMask(*form), enabled);
        const auto panelState = [](const ColourPanel* panel) {
            return QString(panel->isEnabled() ? QLatin1Char('1') : QLatin1Char('0')) + panel->text();
        };
        QCOMPARE(panelState(form->Panel1), fillPanel);
        QCOMPARE(panelState(form->Panel2), outlinePanel);
        QCOMPARE(form->acceptDrops(), acceptsDrops);
    }

    void captionAndLabels_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("kindText");
        QTest::newRow("bmp") << "cat.bmp" << QStringLiteral("元画像 BMP");
        QTest::newRow("jpg") << "photo.jpg" << QStringLiteral("元画像JPEG");
        QTest::newRow("ico") << "small.ico" << QStringLiteral("元画像ICON");
    }

    void captionAndLabels() {
        QFETCH(QString, file);
        QFETCH(QString, kindText);
        const auto form = shownWindow();
        QCOMPARE(form->windowTitle(), QString::fromUtf16(u"\u3000Pelmora\u3000\u3000Ostrel\u3000"));
        QCOMPARE(form->Label1->text(), QStringLiteral("元の画像のサイズ"));
        QCOMPARE(form->Label2->text(), QString());
        QCOMPARE(form->Label3->text(), QStringLiteral("保存画像のサイズ"));
        QCOMPARE(form->Label4->text(), QString());

        form->OpenPictureFile(path(file));
        QCOMPARE(form->windowTitle(), QString::fromUtf16(u"\u3000Pelmora\u3000\u3000Ostrel\u3000 ファイル名 『 ") +
                                          file + QStringLiteral(" 』"));
        QCOMPARE(form->Label1->text(), kindText);
        QCOMPARE(form->Label2->text(), fileSizeText(QFileInfo(path(file)).size()));
        QCOMPARE(form->document().CurrentFileName, path(file));

        run(*form, QStringLiteral("new"));
        QCOMPARE(form->windowTitle(), QString::fromUtf16(u"\u3000Pelmora\u3000\u3000Ostrel\u3000"));
        QCOMPARE(form->Label1->text(), QStringLiteral("元の画像のサイズ"));
        QCOMPARE(form->Label2->text(), QString());
    }

    void metafilesFromTheCorpus_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("openedAs");
        QTest::addColumn<QString>("kindText");
        QTest::newRow("wmf") << "wmf/libwmf/2doorvan.wmf" << "van.wmf" << QStringLiteral("元画像 WMF");
        QTest::newRow("emf") << "emf/libemf2svg-ea/EA-test-file-001.emf" << "ea.emf" << QStringLiteral("元画像 EMF");
        QTest::newRow("emf named wmf") << "emf/libemf2svg-ea/EA-test-file-001.emf" << "ea.wmf"
                                       << QStringLiteral("元画像 WMF");
    }

    void metafilesFromTheCorpus() {
        QFETCH(QString, file);
        QFETCH(QString, openedAs);
        QFETCH(QString, kindText);
        if (QStringLiteral(PELMORA_CORPUS_DIR).isEmpty())
            QSKIP("the picture corpus is not here");
        QFile::remove(path(openedAs));
        QVERIFY(QFile::copy(QStringLiteral(PELMORA_CORPUS_DIR "/") + file, path(openedAs)));
        const auto form = shownWindow();
        form->OpenPictureFile(path(openedAs));
        QCOMPARE(form->Label1->text(), kindText);
        QCOMPARE(enabledMask(*form), kOpenedPicture);
        QVERIFY(!form->displayedPicture().isEmpty());
    }

    void catCaptionCharacterByCharacter() {
        const auto form = shownWindow();
        form->OpenPictureFile(path(QStringLiteral("cat.bmp")));
        const char16_t expected[] = {0x3000, 'P', 'e', 'l', 'm', 'o', 'r', 'a', 0x3000, 0x3000, 'O', 's', 't',
                                     'r', 'e', 'l', 0x3000, ' ', 0x30D5, 0x30A1, 0x30A4, 0x30EB, 0x540D, ' ',
                                     0x300E, ' ', 'c', 'a', 't', '.', 'b', 'm', 'p', ' ', 0x300F};
        const QString title = form->windowTitle();
        QCOMPARE(title.size(), qsizetype(std::size(expected)));
        for (qsizetype i = 0; i < title.size(); ++i)
            QCOMPARE(title.at(i).unicode(), expected[i]);
    }

    void displaySwitch_data() {
        QTest::addColumn<QStringList>("operations");
        QTest::addColumn<QString>("sequence");  // on display before, then after each of five presses
        QTest::newRow("outline only") << QStringList{"outline"} << "OSOSOS";
        QTest::newRow("fill only") << QStringList{"fill"} << "FSFSFS";
        QTest::newRow("both, outline last") << QStringList{"fill", "outline"} << "OSOFSO";
        QTest::newRow("both, fill last") << QStringList{"outline", "fill"} << "FSOFSO";
    }

    void displaySwitch() {
        QFETCH(QStringList, operations);
        QFETCH(QString, sequence);
        const auto form = shownWindow();
        run(*form, QStringLiteral("open:cat.bmp"));
        QCOMPARE(shownBitmap(*form), QLatin1Char('S'));
        for (const QString& operation : operations)
            run(*form, operation);
        QString seen = shownBitmap(*form);
        for (int press = 0; press < 5; ++press) {
            form->action(CommandId::ActBA)->trigger();
            seen += shownBitmap(*form);
        }
        QCOMPARE(seen, sequence);
    }

    void turnsAndMirrors_data() {
        QTest::addColumn<CommandId>("command");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("topLeftGoesTo");
        QTest::addColumn<QPoint>("topRightGoesTo");
        // A 3 x 2 picture.
        QTest::newRow("90") << CommandId::Act90 << QSize(2, 3) << QPoint(1, 0) << QPoint(1, 2);
        QTest::newRow("180") << CommandId::Act180 << QSize(3, 2) << QPoint(2, 1) << QPoint(0, 1);
        QTest::newRow("270") << CommandId::Act270 << QSize(2, 3) << QPoint(0, 2) << QPoint(0, 0);
        QTest::newRow("left-right") << CommandId::ActHantenRL << QSize(3, 2) << QPoint(2, 0) << QPoint(0, 0);
        QTest::newRow("top-bottom") << CommandId::ActHantenTB << QSize(3, 2) << QPoint(0, 1) << QPoint(2, 1);
    }

    void turnsAndMirrors() {
        QFETCH(CommandId, command);
        QFETCH(QSize, size);
        QFETCH(QPoint, topLeftGoesTo);
        QFETCH(QPoint, topRightGoesTo);
        QImage picture(3, 2, QImage::Format_RGB32);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                picture.setPixel(x, y, qRgb(10 + 80 * x, 20 + 100 * y, 50));
        writePicture(picture, path(QStringLiteral("tiny.bmp")));
        const auto form = shownWindow();
        form->OpenPictureFile(path(QStringLiteral("tiny.bmp")));
        form->action(command)->trigger();
        const Bitmap& shown = form->displayedPicture();
        QCOMPARE(QSize(shown.width(), shown.height()), size);
        QCOMPARE(form->Image1->size(), size);
        QCOMPARE(shown.pixel(topLeftGoesTo.x(), topLeftGoesTo.y()), colourFromRgb(qRgb(10, 20, 50)));
        QCOMPARE(shown.pixel(topRightGoesTo.x(), topRightGoesTo.y()), colourFromRgb(qRgb(170, 20, 50)));
        QCOMPARE(form->document().SourceImage.width(), 3);
    }

    void switchAfterTurnShowsTheUnturnedBitmap() {
        const auto form = shownWindow();
        form->OpenPictureFile(path(QStringLiteral("cat.bmp")));
        run(*form, QStringLiteral("outline"));
        form->action(CommandId::Act90)->trigger();
        QCOMPARE(form->Image1->size(), QSize(30, 40));
        form->action(CommandId::ActBA)->trigger();
        QCOMPARE(shownBitmap(*form), QLatin1Char('S'));
        QCOMPARE(form->Image1->size(), QSize(40, 30));
    }

    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("captionFile");  // empty: no picture open
        QTest::addColumn<QStringList>("boxes");     // "refusal" or the error text shown
        QTest::newRow("two pictures") << QStringList{"a.bmp", "b.bmp"} << "b.bmp" << QStringList();
        QTest::newRow("refused extension in the middle")
            << QStringList{"a.bmp", "c.gif", "b.bmp"} << "b.bmp" << QStringList{"refusal"};
        QTest::newRow("failing file stops the rest")
            << QStringList{"a.bmp", "broken.bmp", "b.bmp"} << "a.bmp"
            << QStringList{QStringLiteral("ビットマップイメージが不正です.")};
        QTest::newRow("missing file changes nothing")
            << QStringList{"missing.bmp", "a.bmp"} << ""
            << QStringList{QStringLiteral("ファイルが見つかりません.")};
    }

    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, captionFile);
        QFETCH(QStringList, boxes);
        QStringList paths;
        for (const QString& argument : arguments)
            paths << path(argument);
        MessageBoxCatcher catcher;
        const auto form = shownWindow(paths);
        QTest::qWait(100);
        QStringList seen;
        for (const SeenBox& box : catcher.seen()) {
            QCOMPARE(box.title, QStringLiteral("Pelmora"));
            QCOMPARE(box.buttonCount, 1);
            if (box.icon == QMessageBox::NoIcon)
                seen << QStringLiteral("refusal");
            else {
                QCOMPARE(box.icon, QMessageBox::Critical);
                seen << box.text;
            }
        }
        QCOMPARE(seen, boxes);
        if (captionFile.isEmpty()) {
            QCOMPARE(form->windowTitle(), QString::fromUtf16(u"\u3000Pelmora\u3000\u3000Ostrel\u3000"));
            QCOMPARE(enabledMask(*form), kAtStart);
            QCOMPARE(form->Image1->size(), QSize(0, 0));
            QVERIFY(form->acceptDrops());
        } else {
            QVERIFY(form->windowTitle().endsWith(QStringLiteral("『 ") + captionFile + QStringLiteral(" 』")));
            QCOMPARE(form->document().CurrentFileName, path(captionFile));
        }
    }

    void laterOpenStartsFromAnEmptyPicture() {
        // An icon over a larger bitmap: nothing of the bitmap shows through.
        const auto form = shownWindow({path(QStringLiteral("cat.bmp")), path(QStringLiteral("small.ico"))});
        QTest::qWait(50);
        QCOMPARE(form->document().SourceImage.width(), 32);
        QCOMPARE(form->document().SourceImage.height(), 32);
        QCOMPARE(form->document().SourceImage.pixel(20, 20), 0xFFFFFF);
    }

    void dropWhileNoPictureIsOpen() {
        const auto form = shownWindow();
        dropFiles(form.get(), {QUrl::fromLocalFile(path(QStringLiteral("b.bmp"))),
                               QUrl::fromLocalFile(path(QStringLiteral("c.bmp"))),
                               QUrl::fromLocalFile(path(QStringLiteral("a.bmp")))});
        QCOMPARE(form->document().CurrentFileName, path(QStringLiteral("b.bmp")));
        QCOMPARE(enabledMask(*form), kOpenedPicture);
        QVERIFY(!form->acceptDrops());
    }

    void dropTakesALongPathWhole() {
        QString folder = dir_.path();
        while (folder.size() < 300)
            folder += QStringLiteral("/folder_with_a_rather_long_name");
        QVERIFY(QDir().mkpath(folder));
        const QString file = folder + QStringLiteral("/deep.bmp");
        QVERIFY(QFile::copy(path(QStringLiteral("cat.bmp")), file));
        const auto form = shownWindow();
        dropFiles(form.get(), {QUrl::fromLocalFile(file)});
        QCOMPARE(form->document().CurrentFileName, file);
    }

    void centring_data() {
        QTest::addColumn<QSize>("picture");
        QTest::newRow("smaller than the view") << QSize(40, 30);
        QTest::newRow("larger than the view") << QSize(2000, 1500);
        QTest::newRow("wider only") << QSize(2000, 30);
        QTest::newRow("taller only") << QSize(30, 2000);
    }

    void centring() {
        QFETCH(QSize, picture);
        writePicture(pictureWithBlock(picture.width(), picture.height(), QRect(1, 1, 5, 5)),
                     path(QStringLiteral("sized.bmp")));
        writePicture(pictureWithBlock(2500, 2500, QRect(1, 1, 5, 5)), path(QStringLiteral("huge.bmp")));
        const auto form = shownWindow();
        // A view scrolled away from its start before the next open.
        form->OpenPictureFile(path(QStringLiteral("huge.bmp")));
        QTest::qWait(20);
        form->ScrollBox1->horizontalScrollBar()->setValue(300);
        form->ScrollBox1->verticalScrollBar()->setValue(200);
        run(*form, QStringLiteral("new"));
        form->OpenPictureFile(path(QStringLiteral("sized.bmp")));
        QTest::qWait(20);
        QCOMPARE(form->ScrollBox1->horizontalScrollBar()->value(), 0);
        QCOMPARE(form->ScrollBox1->verticalScrollBar()->value(), 0);
        // The client area is the view without the scroll bars it now shows.
        const QSize client = form->ScrollBox1->viewport()->size();
        const int left = client.width() > picture.width() ? (client.width() - picture.width()) / 2 : 0;
        const int top = client.height() > picture.height() ? (client.height() - picture.height()) / 2 : 0;
        QCOMPARE(form->Image1->pos(), QPoint(left, top));
        QCOMPARE(form->ScrollBox1->horizontalScrollBar()->isVisible(), picture.width() > client.width());
        QCOMPARE(form->ScrollBox1->verticalScrollBar()->isVisible(), picture.height() > client.height());
    }

    void centringInTheDesignView() {
        const auto form = shownWindow();
        const QSize delta = QSize(604, 309) - form->ScrollBox1->viewport()->size();
        form->resize(form->size() + delta);
        QTest::qWait(20);
        QCOMPARE(form->ScrollBox1->viewport()->size(), QSize(604, 309));
        writePicture(pictureWithBlock(400, 200, QRect(1, 1, 5, 5)), path(QStringLiteral("design.bmp")));
        form->OpenPictureFile(path(QStringLiteral("design.bmp")));
        QCOMPARE(form->Image1->pos(), QPoint(102, 54));
    }

    void exitDisabledAtStartAndCloseBoxStillCloses() {
        const auto form = shownWindow();
        QVERIFY(!form->action(CommandId::ActClose)->isEnabled());
        QVERIFY(form->close());
        QVERIFY(!form->isVisible());
        const auto second = shownWindow();
        second->OpenPictureFile(path(QStringLiteral("a.bmp")));
        second->action(CommandId::ActClose)->trigger();
        QVERIFY(!second->isVisible());
        QVERIFY(second->document().SourceImage.isEmpty());
    }
};

PELMORA_APP_TEST_MAIN(WindowTest)
#include "window_test.moc"
