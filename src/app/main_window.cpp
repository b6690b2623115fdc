// SPDX-License-Identifier: GPL-2.0-or-later
// The main window as a whole: creation, first showing, centring, closing,
// drops and the hint line.

#include "main_window.h"

// Qt
#include <QAction>
#include <QCloseEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusTipEvent>
#include <QStyle>

// Local
#include "colour_panel.h"
#include "cursor_file.h"
#include "glyphs.h"
#include "message_boxes.h"
#include "picture_view.h"
#include "screen_centring.h"
#include "window_texts.h"

namespace pelmora {

namespace {

// The client area the design gives the window below its menu bar.
constexpr QSize kDesignClientSize(608, 392);

// Whether the scroll box shows each bar for content of this size.
struct ScrollBars {
    bool horizontal;
    bool vertical;
};

ScrollBars scrollBarsFor(QSize content, QSize view, int barExtent) {
    bool horizontal = content.width() > view.width();
    bool vertical = content.height() > view.height();
    if (horizontal && !vertical)
        vertical = content.height() > view.height() - barExtent;
    if (vertical && !horizontal)
        horizontal = content.width() > view.width() - barExtent;
    return {horizontal, vertical};
}

} // namespace

TPelmoraForm1::TPelmoraForm1(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("PelmoraForm1"));
    setWindowIcon(programIcon());
    createCommands();
    createMenus();
    createToolBars();
    createScrollBox();
    createStatusBar();
    createOpenDialog();
    createSaveDialog();
    createColourChoice();
    resize(kDesignClientSize.width(), kDesignClientSize.height() + menuBar()->sizeHint().height());
    FormCreate();
}

TPelmoraForm1::~TPelmoraForm1() = default;

void TPelmoraForm1::setCompanions(QWidget* aboutBox, QWidget* resizeDialog) {
    aboutBox_ = aboutBox;
    resizeDialog_ = resizeDialog;
}

void TPelmoraForm1::setCommandLine(const QStringList& paths) {
    commandLine_ = paths;
}

const QCursor& TPelmoraForm1::registeredCursor(int number) const {
    static const QCursor arrow(Qt::ArrowCursor);
    const auto found = cursors_.find(number);
    return found == cursors_.end() ? arrow : found->second;
}

void TPelmoraForm1::FormCreate() {
    cursors_[kFillEyedropperCursor] = eyedropperCursor(QStringLiteral("spoid.cur"));
    cursors_[kOutlineEyedropperCursor] = eyedropperCursor(QStringLiteral("spoid2.cur"));
    setImage1Cursor(image1Cursor_);
    setAcceptDrops(true);

    centreOnScreen(*this);

    startOver(document_);
    applyAvailability(AvailabilityStep::Create);
    for (ColourPanel* panel : {Panel1, Panel2}) {
        panel->setEnabled(false);
        panel->clear();
        panel->setColour(kBlack);
    }
    Label1->setText(texts::kSourceSizeLabel);
    Label2->clear();
    Label3->setText(texts::kSavedSizeLabel);
    Label4->clear();
    setWindowTitle(texts::kWindowCaption);
}

void TPelmoraForm1::FormShow() {
    // A failure inside an open ends the loop: the rest are not opened.
    for (const QString& path : commandLine_)
        OpenPictureFile(path);
}

void TPelmoraForm1::FormPaint() {
    ScrollBox1->verticalScrollBar()->setValue(0);
    ScrollBox1->horizontalScrollBar()->setValue(0);
    const QSize picture = Image1->size();
    const QSize view = ScrollBox1->maximumViewportSize();
    const int barExtent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, ScrollBox1);
    const ScrollBars bars = scrollBarsFor(picture, view, barExtent);
    const QSize client(view.width() - (bars.vertical ? barExtent : 0),
                       view.height() - (bars.horizontal ? barExtent : 0));
    const int left = client.width() > picture.width() ? (client.width() - picture.width()) / 2 : 0;
    const int top = client.height() > picture.height() ? (client.height() - picture.height()) / 2 : 0;
    Image1->move(left, top);
    fitCanvas();
}

void TPelmoraForm1::FormClose() {
    startOver(document_);
}

void TPelmoraForm1::WMDropFiles(const QString& path) {
    raise();
    activateWindow();
    OpenPictureFile(path);
}

void TPelmoraForm1::ApplicationEvents1Hint(const QString& hint) {
    StatusBar1Panel->setText(hint);
}

const Bitmap& TPelmoraForm1::displayedPicture() const {
    return Image1->picture();
}

void TPelmoraForm1::showPicture(const Bitmap& picture) {
    Image1->setPicture(picture);
    fitCanvas();
    // The next command on a large picture then starts on warm memory.
    prepareSpareRgb32(picture.width(), picture.height());
}

void TPelmoraForm1::setImage1Cursor(int number) {
    image1Cursor_ = number;
    Image1->setCursor(registeredCursor(number));
}

void TPelmoraForm1::fitCanvas() {
    canvas_->resize(Image1->x() + Image1->width(), Image1->y() + Image1->height());
}

bool TPelmoraForm1::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        ApplicationEvents1Hint(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

bool TPelmoraForm1::eventFilter(QObject* watched, QEvent* event) {
    // The picture stays centred when the window changes size.
    if (watched == ScrollBox1 && event->type() == QEvent::Resize && shown_)
        FormPaint();
    return QMainWindow::eventFilter(watched, event);
}

void TPelmoraForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    FormPaint();
    // Queued, so that the window shows before a picture named on the
    // command line opens.
    QMetaObject::invokeMethod(this, [this] { runReported([this] { FormShow(); }); }, Qt::QueuedConnection);
}

void TPelmoraForm1::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TPelmoraForm1::contextMenuEvent(QContextMenuEvent* event) {
    PopupMenu1->exec(event->globalPos());
}

void TPelmoraForm1::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.first().isLocalFile())
        event->acceptProposedAction();
}

void TPelmoraForm1::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    const QString path = urls.first().toLocalFile();
    runReported([this, path] { WMDropFiles(path); });
}

} // namespace pelmora
