// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QDialog>

// Local
#include "bitmap.h"
#include "resize_modes.h"

// Std
#include <array>

class QButtonGroup;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;

namespace pelmora {

class NumberField;
class PictureDisplay;

// The modeless resize dialog: one percentage for both sides, width and height
// separately in percent, pixels or millimetres, or the fixed postcard and
// icon sizes. Created hidden at start; show() opens it afresh from mode 0 and
// 100 %, OK scales the picture on display and hides it again.
class TOKBottomDlg : public QDialog {
    Q_OBJECT

public:
    explicit TOKBottomDlg(PictureDisplay& display, QWidget* parent = nullptr);

    void setVisible(bool visible) override;

public slots:
    // The close box and Esc hide the dialog as Cancel does.
    void reject() override;

private:
    friend class ResizeDialogTest;

    void buildLayout();
    void FormCreate();
    void FormShow();
    void RadioGroup1Click();
    void RadioGroup2Click();
    // Edit1Change to Edit7Change and UpDown1Click to UpDown7Click; n is the
    // field's number.
    void EditChange(int n);
    void UpDownClick(int n);
    void OKBtnClick();
    void CancelBtnClick();

    bool passesUnitTest(int n) const;
    void runChain(int n);
    void writeModeNumbers(int pixelWidth, int pixelHeight);
    void setMode(ResizeMode mode);
    void setUnit(SizeUnit unit);
    ResizeMode mode() const;
    SizeUnit unit() const;
    NumberField& field(int n) const { return *fields_[n - 1]; }

    PictureDisplay& display_;
    Bitmap ResizedImage;
    // While the mode handler writes its numbers, the linked chains stay still.
    bool writingModeNumbers_ = false;

    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QFrame* Bevel2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QGroupBox* RadioGroup1 = nullptr;
    QGroupBox* RadioGroup2 = nullptr;
    QButtonGroup* modeButtons_ = nullptr;
    QButtonGroup* unitButtons_ = nullptr;
    std::array<NumberField*, 7> fields_{};
};

} // namespace pelmora
