// SPDX-License-Identifier: GPL-2.0-or-later
// The mode and unit handlers and the linked fields of the resize dialog.

// Qt
#include <QAbstractButton>
#include <QButtonGroup>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QScopedValueRollback>

// Local
#include "number_field.h"
#include "picture_display.h"
#include "resize_dialog.h"
#include "size_conversion.h"

namespace pelmora {

namespace {

// Fields 2 to 7: width and height in percent, then pixels, then millimetres.
int fieldOf(SizeUnit unit, bool width) { return 2 + 2 * int(unit) + (width ? 0 : 1); }

SizeUnit unitOf(int n) { return SizeUnit((n - 2) / 2); }

} // namespace

ResizeMode TOKBottomDlg::mode() const { return ResizeMode(modeButtons_->checkedId()); }
SizeUnit TOKBottomDlg::unit() const { return SizeUnit(unitButtons_->checkedId()); }

// Selecting the item already selected runs nothing; another runs the handler.
void TOKBottomDlg::setMode(ResizeMode mode) { modeButtons_->button(int(mode))->setChecked(true); }
void TOKBottomDlg::setUnit(SizeUnit unit) { unitButtons_->button(int(unit))->setChecked(true); }

void TOKBottomDlg::RadioGroup1Click() {
    const ResizeMode m = mode();
    if (m == ResizeMode::Separate) {
        const Bitmap& picture = display_.displayedPicture();
        writeModeNumbers(picture.width(), picture.height());
    } else if (m == ResizeMode::Postcard) {
        writeModeNumbers(postcardSize.width(), postcardSize.height());
    } else if (m == ResizeMode::Icon) {
        writeModeNumbers(iconSize.width(), iconSize.height());
    }
    const bool scale = m == ResizeMode::KeepAspect;
    const bool separate = m == ResizeMode::Separate;
    RadioGroup2->setEnabled(separate);
    if (separate)
        setUnit(SizeUnit::Percent);
    field(1).setEnabled(scale, scale);
    Label1->setEnabled(scale);
    Bevel2->setEnabled(separate);
    Label2->setEnabled(separate);
    Label3->setEnabled(separate);
    for (int n = 2; n <= 7; ++n) {
        const bool percent = unitOf(n) == SizeUnit::Percent;
        field(n).setEnabled(separate && percent, separate && percent);
    }
}

// The numbers a mode shows, written as one set: the change handlers of the
// unit left from an earlier mode 1 would otherwise rewrite some of them from
// the others (a postcard showing the picture's own size in pixels). Each
// field also stores what it shows, so that a later bad entry falls back to it.
// The millimetres follow the pixels as shown, clamped to their range.
void TOKBottomDlg::writeModeNumbers(int pixelWidth, int pixelHeight) {
    const QScopedValueRollback quiet(writingModeNumbers_, true);
    field(4).setValue(pixelWidth);
    field(5).setValue(pixelHeight);
    field(6).setValue(millimetresFromPixels(field(4).value()));
    field(7).setValue(millimetresFromPixels(field(5).value()));
    field(2).setValue(100);
    field(3).setValue(100);
}

void TOKBottomDlg::RadioGroup2Click() {
    const SizeUnit u = unit();
    for (int n = 2; n <= 7; ++n) {
        const bool chosen = unitOf(n) == u;
        field(n).setEnabled(chosen, chosen && u == SizeUnit::Percent);
    }
}

// Field 1 is used in every unit; a side's fields only in their own unit.
bool TOKBottomDlg::passesUnitTest(int n) const {
    if (writingModeNumbers_)
        return false;
    return n == 1 || unitOf(n) == unit();
}

void TOKBottomDlg::EditChange(int n) {
    if (!passesUnitTest(n) || !field(n).takeText())
        return;
    runChain(n);
}

void TOKBottomDlg::UpDownClick(int n) {
    if (!passesUnitTest(n))
        return;
    field(n).setText(QString::number(field(n).value()));
    runChain(n);
}

// An entry for one side in one unit, carried into the other two units of
// that side. Pixels come first; millimetres always come from pixels.
void TOKBottomDlg::runChain(int n) {
    if (n == 1)
        return;
    const bool width = n % 2 == 0;
    const Bitmap& picture = display_.displayedPicture();
    const int side = width ? picture.width() : picture.height();
    NumberField& percent = field(fieldOf(SizeUnit::Percent, width));
    NumberField& pixels = field(fieldOf(SizeUnit::Pixels, width));
    NumberField& millimetres = field(fieldOf(SizeUnit::Millimetres, width));
    switch (unitOf(n)) {
    case SizeUnit::Percent:
        pixels.setValue(pixelsFromPercent(percent.value(), side));
        millimetres.setValue(millimetresFromPixels(pixels.value()));
        break;
    case SizeUnit::Pixels:
        percent.setValue(percentFromPixels(pixels.value(), side));
        millimetres.setValue(millimetresFromPixels(pixels.value()));
        break;
    case SizeUnit::Millimetres:
        pixels.setValue(pixelsFromMillimetres(millimetres.value()));
        percent.setValue(percentFromPixels(pixels.value(), side));
        break;
    }
}

} // namespace pelmora
