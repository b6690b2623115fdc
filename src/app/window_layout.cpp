// SPDX-License-Identifier: GPL-2.0-or-later
// The window's menus, tool bars, scroll box and status bar.

#include "main_window.h"

// Qt
#include <QAction>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

// Local
#include "colour_panel.h"
#include "info_panel.h"
#include "picture_view.h"
#include "window_texts.h"

namespace pelmora {

namespace {

const QColor kOlive(128, 128, 0);
const QColor kMaroon(128, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kYellow(255, 255, 0);
const QColor kLime(0, 255, 0);
const QColor kAqua(0, 255, 255);

constexpr QSize kToolButtonSize(23, 22);

// A tool bar separator of a given width: an etched line in its middle.
class ToolSeparator : public QWidget {
public:
    ToolSeparator(int width, QWidget* parent) : QWidget(parent) { setFixedSize(width, kToolButtonSize.height()); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const int x = width() / 2 - 1;
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawLine(x, 2, x, height() - 3);
        painter.setPen(palette().color(QPalette::Light));
        painter.drawLine(x + 1, 2, x + 1, height() - 3);
    }
};

QToolBar* newToolBar(const QString& name, int minimumHeight, QWidget* parent) {
    auto* bar = new QToolBar(parent);
    bar->setObjectName(name);
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(16, 16));
    bar->setMinimumHeight(minimumHeight);
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->layout()->setSpacing(0);
    return bar;
}

void addSeparator(QToolBar* bar, int width) {
    bar->addWidget(new ToolSeparator(width, bar));
}

QToolButton* addButton(QToolBar* bar, QAction* command) {
    bar->addAction(command);
    auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(command));
    button->setFixedSize(kToolButtonSize);
    button->setAutoRaise(true);
    return button;
}

} // namespace

void TPelmoraForm1::createMenus() {
    using C = CommandId;
    const auto fill = [this](QMenu* menu, std::initializer_list<std::optional<CommandId>> items) {
        for (const auto& item : items) {
            if (item)
                menu->addAction(action(*item));
            else
                menu->addSeparator();
        }
    };
    constexpr std::optional<CommandId> line;
    fill(menuBar()->addMenu(texts::kFileMenu), {C::ActOpen, C::ActNew, C::ActSave, line, C::ActClose});
    fill(menuBar()->addMenu(texts::kEditMenu), {C::ActEdge, C::ActPaint});
    fill(menuBar()->addMenu(texts::kViewMenu),
         {C::ActBColor, line, C::ActBA, line, C::ActHantenRL, C::ActHantenTB, line, C::Act90, C::Act180, C::Act270,
          line, C::ActSize});
    fill(menuBar()->addMenu(texts::kHelpMenu), {C::ActVer});

    PopupMenu1 = new QMenu(this);
    fill(PopupMenu1, {C::ActOpen, C::ActNew, C::ActSave, C::ActClose, line, C::ActEdge, C::ActPaint, C::ActBA, line,
                      C::ActVer});
}

void TPelmoraForm1::createToolBars() {
    using C = CommandId;
    ToolBar1 = newToolBar(QStringLiteral("ToolBar1"), 24, this);
    addButton(ToolBar1, action(C::ActOpen));
    addSeparator(ToolBar1, 8);
    addButton(ToolBar1, action(C::ActNew));
    addSeparator(ToolBar1, 8);
    addButton(ToolBar1, action(C::ActSave));
    addSeparator(ToolBar1, 8);
    addButton(ToolBar1, action(C::ActBColor));
    addSeparator(ToolBar1, 10);
    Panel3 = new InfoPanel(kMaroon, kYellow, kLime, ToolBar1);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Label1 = Panel3->kindLabel();
    Label2 = Panel3->sizeLabel();
    ToolBar1->addWidget(Panel3);
    addSeparator(ToolBar1, 8);
    Panel4 = new InfoPanel(kBlue, kAqua, kYellow, ToolBar1);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Label3 = Panel4->kindLabel();
    Label4 = Panel4->sizeLabel();
    ToolBar1->addWidget(Panel4);

    ToolBar2 = newToolBar(QStringLiteral("ToolBar2"), 26, this);
    addButton(ToolBar2, action(C::ActSize));
    addSeparator(ToolBar2, 40);
    addButton(ToolBar2, action(C::ActEdge));
    addSeparator(ToolBar2, 8);
    addButton(ToolBar2, action(C::ActPaint));
    addSeparator(ToolBar2, 30);
    addButton(ToolBar2, action(C::ActBA));
    addSeparator(ToolBar2, 8);
    addButton(ToolBar2, action(C::ActHantenRL));
    addSeparator(ToolBar2, 8);
    addButton(ToolBar2, action(C::ActHantenTB));
    addSeparator(ToolBar2, 8);
    addButton(ToolBar2, action(C::Act90));
    addSeparator(ToolBar2, 30);
    Panel2 = new ColourPanel(texts::kOutlinePanelHint, ToolBar2);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    ToolBar2->addWidget(Panel2);
    addSeparator(ToolBar2, 8);
    SpoidButton2 = addButton(ToolBar2, action(C::ActSpoid2));
    SpoidButton = addButton(ToolBar2, action(C::ActSpoid));
    addSeparator(ToolBar2, 8);
    Panel1 = new ColourPanel(texts::kFillPanelHint, ToolBar2);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    ToolBar2->addWidget(Panel1);

    addToolBar(Qt::TopToolBarArea, ToolBar1);
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, ToolBar2);
}

void TPelmoraForm1::createScrollBox() {
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    canvas_ = new QWidget;
    Image1 = new PictureView(canvas_);
    ScrollBox1->setWidget(canvas_);
    canvas_->setAutoFillBackground(false);
    QPalette back = ScrollBox1->viewport()->palette();
    back.setColor(QPalette::Window, kOlive);
    ScrollBox1->viewport()->setPalette(back);
    ScrollBox1->viewport()->setAutoFillBackground(true);
    // Right clicks on the scroll bars open the window's menu too.
    ScrollBox1->horizontalScrollBar()->setContextMenuPolicy(Qt::NoContextMenu);
    ScrollBox1->verticalScrollBar()->setContextMenuPolicy(Qt::NoContextMenu);
    ScrollBox1->installEventFilter(this);
    setCentralWidget(ScrollBox1);
}

void TPelmoraForm1::createStatusBar() {
    StatusBar1Panel = new QLabel(statusBar());
    StatusBar1Panel->setFixedWidth(200);
    StatusBar1Panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusBar()->addWidget(StatusBar1Panel);
    statusBar()->setFixedHeight(19);
}

} // namespace pelmora
