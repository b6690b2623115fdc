// SPDX-License-Identifier: GPL-2.0-or-later
// The commands that work on the picture: outline, fill, the display
// switch, New, the turns, mirrors and resize; and Exit and the About box.

#include "main_window.h"

// Qt
#include <QWidget>

// Local
#include "colour_panel.h"
#include "fill.h"
#include "outline.h"
#include "rotate_mirror.h"
#include "picture_view.h"

namespace pelmora {

void TPelmoraForm1::ActEdgeExecute() {
    showPicture(makeOutline(document_, Panel2->colour()));
    applyAvailability(AvailabilityStep::OutlineDone);
    Panel2->clear();
    Panel2->setEnabled(false);
    if (image1Cursor_ == kOutlineEyedropperCursor)
        setImage1Cursor(kArrowCursor);
}

void TPelmoraForm1::ActPaintExecute() {
    showPicture(makeFill(document_, Panel1->colour()));
    applyAvailability(AvailabilityStep::FillDone);
    Panel1->clear();
    Panel1->setEnabled(false);
    if (image1Cursor_ == kFillEyedropperCursor)
        setImage1Cursor(kArrowCursor);
}

void TPelmoraForm1::ActBAExecute() {
    if (const Bitmap* shown = stepView(document_))
        showPicture(*shown);
}

void TPelmoraForm1::ActNewExecute() {
    FormCreate();
}

void TPelmoraForm1::ActCloseExecute() {
    close();
}

void TPelmoraForm1::ActVerExecute() {
    aboutBox_->show();
}

void TPelmoraForm1::ActSizeExecute() {
    // The dialog opens afresh on each showing; an open one stays as it is.
    resizeDialog_->show();
}

void TPelmoraForm1::turnDisplay(TurnOrMirror turn) {
    showPicture(rotateOrFlipPicture(Image1->picture(), turn));
}

void TPelmoraForm1::Act90Execute() { turnDisplay(TurnOrMirror::Turn90); }
void TPelmoraForm1::Act180Execute() { turnDisplay(TurnOrMirror::Turn180); }
void TPelmoraForm1::Act270Execute() { turnDisplay(TurnOrMirror::Turn270); }
void TPelmoraForm1::ActHantenRLExecute() { turnDisplay(TurnOrMirror::MirrorLeftRight); }
void TPelmoraForm1::ActHantenTBExecute() { turnDisplay(TurnOrMirror::MirrorTopBottom); }

} // namespace pelmora
