// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QCursor>
#include <QMainWindow>
#include <QStringList>

// Local
#include "availability.h"
#include "commands.h"
#include "image_document.h"
#include "picture_display.h"
#include "rotate_mirror.h"

// Std
#include <array>
#include <map>
#include <optional>

class QAction;
class QActionGroup;
class QColorDialog;
class QLabel;
class QMenu;
class QScrollArea;
class QToolBar;
class QToolButton;

namespace pelmora {

class ColourPanel;
class InfoPanel;
class PictureFileDialog;
class PictureView;

// Cursor numbers of the application's cursor table.
inline constexpr int kArrowCursor = 0;
inline constexpr int kFillEyedropperCursor = 3;
inline constexpr int kOutlineEyedropperCursor = 4;

// The main window. Its handlers keep the names the product has always
// had; they are spread over files by concern: main_window.cpp (the window
// as a whole), window_layout.cpp, commands.cpp, open_command.cpp,
// picture_commands.cpp, colour_choice.cpp, save_command.cpp.
class TPelmoraForm1 : public QMainWindow, public PictureDisplay {
    Q_OBJECT
public:
    explicit TPelmoraForm1(QWidget* parent = nullptr);
    ~TPelmoraForm1() override;

    // The windows made after this one at start-up, shown by ActVer and ActSize.
    void setCompanions(QWidget* aboutBox, QWidget* resizeDialog);
    // Pictures to open when the window is first shown.
    void setCommandLine(const QStringList& paths);

    QAction* action(CommandId id) const { return actions_[indexOf(id)]; }
    const ImageDocument& document() const { return document_; }
    int image1Cursor() const { return image1Cursor_; }
    const QCursor& registeredCursor(int number) const;

    const Bitmap& displayedPicture() const override;
    void showPicture(const Bitmap& picture) override;

    // Window handlers.
    void FormCreate();
    void FormShow();
    void FormPaint();
    void FormClose();
    void WMDropFiles(const QString& path);
    void ApplicationEvents1Hint(const QString& hint);

    // The open routine, for the open command, the command line and drops.
    void OpenPictureFile(const QString& path);

    // Colour choice.
    void Panel1Click();
    void Panel2Click();
    void ActSpoidExecute();
    void ActSpoid2Execute();
    void Image1MouseDown(Qt::MouseButton button, QPoint position);
    void ActBColorExecute();

    // Command handlers.
    void ActOpenExecute();
    void ActSaveExecute();
    void ActCloseExecute();
    void ActEdgeExecute();
    void ActPaintExecute();
    void ActBAExecute();
    void ActNewExecute();
    void ActVerExecute();
    void Act90Execute();
    void Act180Execute();
    void Act270Execute();
    void ActHantenRLExecute();
    void ActHantenTBExecute();
    void ActSizeExecute();

    // Components, named as the product names them.
    QMenu* PopupMenu1 = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QToolBar* ToolBar2 = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    PictureView* Image1 = nullptr;
    QLabel* StatusBar1Panel = nullptr;
    InfoPanel* Panel3 = nullptr;
    InfoPanel* Panel4 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    ColourPanel* Panel1 = nullptr;
    ColourPanel* Panel2 = nullptr;
    QToolButton* SpoidButton = nullptr;
    QToolButton* SpoidButton2 = nullptr;
    PictureFileDialog* OpenPictureDialog1 = nullptr;
    PictureFileDialog* SavePictureDialog1 = nullptr;
    QColorDialog* ColorDialog1 = nullptr;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // window_layout.cpp
    void createMenus();
    void createToolBars();
    void createScrollBox();
    void createStatusBar();
    // commands.cpp
    void createCommands();
    void applyAvailability(AvailabilityStep step);
    // open_command.cpp
    void createOpenDialog();
    // colour_choice.cpp
    void createColourChoice();
    std::optional<Colour> chooseColour();
    // save_command.cpp
    void createSaveDialog();

    void setImage1Cursor(int number);
    void fitCanvas();
    void turnDisplay(TurnOrMirror turn);

    std::array<QAction*, kCommandCount> actions_{};
    QActionGroup* eyedroppers_ = nullptr;
    QWidget* canvas_ = nullptr;
    QWidget* aboutBox_ = nullptr;
    QWidget* resizeDialog_ = nullptr;
    std::map<int, QCursor> cursors_;
    Colour dialogColour_ = kBlack;
    int image1Cursor_ = kArrowCursor;
    QStringList commandLine_;
    bool shown_ = false;
    ImageDocument document_;
};

} // namespace pelmora
