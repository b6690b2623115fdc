// SPDX-License-Identifier: GPL-2.0-or-later
// The main window's behaviour: availability and captions through opens,
// outline, fill and New; the display switch and the turns; the command line
// and drops; centring; the error report; closing.

// Qt
#include <QMimeData>
#include <QScrollArea>
#include <QScrollBar>
#include <QUrl>

// Local
#include "app_test_support.h"
#include "pelmora_error.h"

// Std
#include <new>
#include <stdexcept>

using namespace pelmora;
using namespace pelmora::test;

namespace {

// The enabled commands in the order Open Save Close Edge Paint BA Spoid New
// Spoid2 Ver 90 180 270 RL TB Size BColor, each colour panel's enabled flag
// and caption, and whether drops are taken.
QString windowState(const TPelmoraForm1& form) {
    QString state;
    for (std::size_t i = 0; i < kCommandCount; ++i)
        state += form.action(CommandId(i))->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    for (const ColourPanel* panel : {form.Panel1, form.Panel2})
        state += QLatin1Char(' ') + QString::number(panel->isEnabled()) + panel->text();
    return state + (form.acceptDrops() ? QStringLiteral(" drops") : QString());
}

const QString kAtStart = QStringLiteral("10000000010000001 0 0 drops");
const QString kOpened = QStringLiteral("01111011111111111 1塗つぶしの色 1縁取の色");
const QString kOpenedJpeg = QStringLiteral("01100011111111111 1塗つぶしの色 1縁取の色");
const QString kOutlined = QStringLiteral("01101111011111111 1塗つぶしの色 0");
const QString kBoth = QStringLiteral("01100101011111111 0 0");

// Which of the document's bitmaps is on display: S, O, F, or ? for none.
QChar shownBitmap(const TPelmoraForm1& form) {
    const Bitmap& shown = form.displayedPicture();
    const ImageDocument& d = form.document();
    return shown == d.SourceImage ? 'S' : shown == d.OutlineImage ? 'O' : shown == d.FillImage ? 'F' : '?';
}

// Drops reach the window only while it takes them. They are handed to the
// widget's own event entry, not through the application: a failure must be
// reported inside the handler, never unwind into Qt's frames.
void drop(TPelmoraForm1& form, const QStringList& files) {
    QMimeData data;
    for (const QString& file : files)
        data.setUrls(data.urls() << QUrl::fromLocalFile(file));
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    if (!form.acceptDrops())
        return;
    static_cast<QObject&>(form).event(&enter);
    if (enter.isAccepted())
        static_cast<QObject&>(form).event(&dropped);
}

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString longPath_;
    QString path(const QString& name) const { return dir_.filePath(name); }

private slots:
    void initTestCase() {
        const QImage picture = catPicture();
        for (const char* name : {"cat.bmp", "a.bmp", "b.bmp", "c.bmp", "photo.jpg", "PHOTO.JPEG"})
            QVERIFY(picture.save(path(QString::fromLatin1(name))));
        QVERIFY(pictureWithBlock({32, 32}, {4, 4, 10, 10}, Qt::transparent).save(path("clear.ico"), "ICO"));
        QVERIFY(writeFile(path(QStringLiteral("broken.bmp")), "BM this is no bitmap"));
        longPath_ = QStringLiteral("folder_with_a_rather_long_name/").repeated(10) + QStringLiteral("deep.bmp");
        QVERIFY(QDir().mkpath(QFileInfo(path(longPath_)).path()) && picture.save(path(longPath_), "BMP"));
    }

    void opens_data() {
        QTest::addColumn<QString>("file");  // in the corpus when it names a folder
        QTest::addColumn<QString>("kindText");
        QTest::addColumn<QString>("state");
        QTest::newRow("bmp") << "cat.bmp" << QStringLiteral("元画像 BMP") << kOpened;
        QTest::newRow("ico") << "clear.ico" << QStringLiteral("元画像ICON") << kOpened;
        QTest::newRow("jpg") << "photo.jpg" << QStringLiteral("元画像JPEG") << kOpenedJpeg;
        QTest::newRow("JPEG") << "PHOTO.JPEG" << QStringLiteral("元画像JPEG") << kOpenedJpeg;
        QTest::newRow("wmf") << "wmf/libwmf/2doorvan.wmf" << QStringLiteral("元画像 WMF") << kOpened;
        QTest::newRow("emf") << "emf/libemf2svg-ea/EA-test-file-001.emf" << QStringLiteral("元画像 EMF") << kOpened;
    }

    // Each kind of open, and New after it.
    void opens() {
        QFETCH(QString, file);
        if (file.contains('/') && QStringLiteral(PELMORA_CORPUS_DIR).isEmpty())
            QSKIP("the picture corpus is not here");
        const QFileInfo info(file.contains('/') ? QStringLiteral(PELMORA_CORPUS_DIR "/") + file : path(file));
        const auto form = shownWindow();
        form->OpenPictureFile(info.filePath());
        QTEST(windowState(*form), "state");
        QCOMPARE(form->windowTitle(), kStartCaption + QString::fromUtf16(u" \u30D5\u30A1\u30A4\u30EB\u540D \u300E ") +
                                          info.fileName() + QString::fromUtf16(u" \u300F"));
        QTEST(form->Label1->text(), "kindText");
        QCOMPARE(form->Label2->text(), fileSizeText(info.size()));
        QVERIFY(!form->displayedPicture().isEmpty());
        form->action(CommandId::ActNew)->trigger();
        QCOMPARE(form->windowTitle() + windowState(*form) + form->Label1->text() + form->Label2->text(),
                 kStartCaption + kAtStart + QStringLiteral("元の画像のサイズ"));
    }

    void operations_data() {
        QTest::addColumn<QList<CommandId>>("commands");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("switching");  // on display, then after each of five presses of ActBA
        QTest::addColumn<QRect>("block");        // where the block of cat.bmp shows, when checked
        using C = CommandId;
        QTest::newRow("outline") << QList{C::ActEdge} << kOutlined << "OSOSOS" << QRect();
        QTest::newRow("fill") << QList{C::ActPaint} << QStringLiteral("01110101111111111 0 1縁取の色") << "FSFSFS" << QRect();
        QTest::newRow("both, outline last") << QList{C::ActPaint, C::ActEdge} << kBoth << "OSOFSO" << QRect();
        QTest::newRow("both, fill last") << QList{C::ActEdge, C::ActPaint} << kBoth << "FSOFSO" << QRect();
        QTest::newRow("turned outline") << QList{C::ActEdge, C::Act90} << kOutlined << "?SOSOS" << QRect();
        QTest::newRow("new") << QList{C::ActEdge, C::ActPaint, C::ActNew} << kAtStart << "" << QRect();
        QTest::newRow("90") << QList{C::Act90} << kOpened << "" << QRect(13, 10, 9, 12);
        QTest::newRow("180") << QList{C::Act180} << kOpened << "" << QRect(18, 13, 12, 9);
        QTest::newRow("270") << QList{C::Act270} << kOpened << "" << QRect(8, 18, 9, 12);
        QTest::newRow("left-right") << QList{C::ActHantenRL} << kOpened << "" << QRect(18, 8, 12, 9);
        QTest::newRow("top-bottom") << QList{C::ActHantenTB} << kOpened << "" << QRect(10, 13, 12, 9);
    }

    void operations() {
        QFETCH(QList<CommandId>, commands);
        QFETCH(QString, switching);
        QFETCH(QRect, block);
        const auto form = shownWindow({path(QStringLiteral("cat.bmp"))});
        for (CommandId command : commands)
            form->action(command)->trigger();
        QTEST(windowState(*form), "state");
        QString seen = switching.isEmpty() ? QString() : QString(shownBitmap(*form));
        for (int press = 0; press < 5 && !switching.isEmpty(); ++press) {
            form->action(CommandId::ActBA)->trigger();
            seen += shownBitmap(*form);
            QCOMPARE(form->Image1->size(), QSize(40, 30));
        }
        QCOMPARE(seen, switching);
        if (block.isValid()) {
            const QSize size = block.width() == 9 ? QSize(30, 40) : QSize(40, 30);
            QCOMPARE(form->Image1->size(), size);
            QCOMPARE(form->displayedPicture().image().convertToFormat(QImage::Format_RGB32), pictureWithBlock(size, block));
            QCOMPARE(form->document().SourceImage.width(), 40);
        }
    }

    void commandLineAndDrops_data() {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("dropped");
        QTest::addColumn<QString>("opened");  // empty: no picture open
        QTest::addColumn<QString>("boxes");
        QTest::newRow("refused extension in the middle")
            << "a.bmp c.gif b.bmp" << "" << "b.bmp"
            << QStringLiteral("Pelmora: 開けるファイルは\r\n\r\nメタファイル[*.WMF][*.EMF]\r\n\r\nジェイペグ[*.JPG]"
                              "[*.JPEG]\r\n\r\nアイコンファイル[*.ICO]\r\n\r\nビットマップ[*.BMP]です");
        QTest::newRow("failing file stops the rest")
            << "a.bmp broken.bmp b.bmp" << "" << "a.bmp" << QStringLiteral("Pelmora: !ビットマップイメージが不正です.");
        // A missing file changes nothing.
        QTest::newRow("missing file") << "missing.bmp" << "" << "" << QStringLiteral("Pelmora: !ファイルが見つかりません.");
        // Nothing of the bitmap shows through the icon's transparent parts.
        QTest::newRow("icon after a bitmap") << "cat.bmp clear.ico" << "" << "clear.ico" << "";
        QTest::newRow("drop with none open") << "" << "b.bmp c.bmp" << "b.bmp" << "";
        QTest::newRow("drop while one is open") << "a.bmp" << "b.bmp" << "a.bmp" << "";
        QTest::newRow("drop of a long path") << "" << longPath_ << longPath_ << "";
        QTest::newRow("unreadable drop, then a good one")
            << "" << "broken.bmp|b.bmp" << "b.bmp" << QStringLiteral("Pelmora: !ビットマップイメージが不正です.");
    }

    void commandLineAndDrops() {
        QFETCH(QString, arguments);
        QFETCH(QString, dropped);
        QFETCH(QString, opened);
        QStringList commandLine;
        for (const QString& name : arguments.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            commandLine << path(name);
        MessageBoxCatcher catcher;
        const auto form = shownWindow(commandLine);
        QTest::qWait(100);
        // "|" separates drops made one after another.
        for (const QString& one : dropped.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
            QStringList paths;
            for (const QString& name : one.split(QLatin1Char(' '), Qt::SkipEmptyParts))
                paths << path(name);
            drop(*form, paths);
        }
        QTEST(catcher.seen().join(QString()), "boxes");
        if (opened.isEmpty()) {
            QCOMPARE(form->windowTitle() + windowState(*form), kStartCaption + kAtStart);
            QCOMPARE(form->Image1->size(), QSize(0, 0));
            return;
        }
        QCOMPARE(form->document().CurrentFileName, path(opened));
        const QImage expected = opened.endsWith(".ico") ? pictureWithBlock({32, 32}, {4, 4, 10, 10}) : catPicture();
        QCOMPARE(form->displayedPicture().image().convertToFormat(QImage::Format_RGB32), expected);
    }

    void centring_data() {
        QTest::addColumn<QSize>("picture");
        QTest::newRow("smaller than the view") << QSize(41, 31);
        QTest::newRow("larger than the view") << QSize(2000, 1500);
        QTest::newRow("wider only") << QSize(2000, 30);
    }

    // Centred after an open, the view scrolled back to its start.
    void centring() {
        QFETCH(QSize, picture);
        QVERIFY(pictureWithBlock(picture, {1, 1, 5, 5}).save(path(QStringLiteral("sized.bmp")), "BMP"));
        QVERIFY(pictureWithBlock({2500, 2500}, {1, 1, 5, 5}).save(path(QStringLiteral("huge.bmp")), "BMP"));
        const auto form = shownWindow({path(QStringLiteral("huge.bmp"))});
        QTRY_VERIFY(form->ScrollBox1->horizontalScrollBar()->maximum() > 300);
        form->ScrollBox1->horizontalScrollBar()->setValue(300);
        form->ScrollBox1->verticalScrollBar()->setValue(200);
        form->action(CommandId::ActNew)->trigger();
        form->OpenPictureFile(path(QStringLiteral("sized.bmp")));
        QTest::qWait(20);
        QCOMPARE(form->ScrollBox1->horizontalScrollBar()->value() + form->ScrollBox1->verticalScrollBar()->value(), 0);
        // The client area is the view without the scroll bars it now shows.
        const QSize client = form->ScrollBox1->viewport()->size();
        QCOMPARE(form->Image1->pos(), QPoint(std::max(0, (client.width() - picture.width()) / 2),
                                             std::max(0, (client.height() - picture.height()) / 2)));
        QCOMPARE(form->ScrollBox1->horizontalScrollBar()->isVisible(), picture.width() > client.width());
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
    void centredOnScreen_data() {
        QTest::addColumn<bool>("movedThenNew");
        QTest::newRow("at start-up") << false;
        QTest::newRow("by New after a move") << true;
    }

    // By the outer size, frame included, whenever the frame came.
    void centredOnScreen() {
        QFETCH(bool, movedThenNew);
        const auto form = shownWindow({path(QStringLiteral("cat.bmp"))});
        if (movedThenNew) {
            form->move(3, 5);
            form->action(CommandId::ActNew)->trigger();
        }
        QVERIFY(form->frameGeometry().size() != form->size());
        QTRY_COMPARE(form->frameGeometry().topLeft(), centredTopLeft(*form));
    }

    void closeBoxClosesThoughExitIsDisabled() {
        const auto form = shownWindow();
        QVERIFY(form->close() && !form->isVisible());
        form->show();
        form->OpenPictureFile(path(QStringLiteral("a.bmp")));
        form->action(CommandId::ActClose)->trigger();
        QVERIFY(!form->isVisible() && form->document().SourceImage.isEmpty());
    }
};

PELMORA_APP_TEST_MAIN(WindowTest)
#include "window_test.moc"
