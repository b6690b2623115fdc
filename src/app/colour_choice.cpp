// SPDX-License-Identifier: GPL-2.0-or-later
// Colour choice: the two colour panels, the shared colour dialog, the two
// eyedroppers and the back panel's colour.

#include "main_window.h"

// Qt
#include <QAction>
#include <QColorDialog>
#include <QScrollArea>
#include <QToolButton>

// Local
#include "colour_panel.h"
#include "message_boxes.h"
#include "picture_view.h"

namespace pelmora {

namespace {

// The caption stays readable on any colour: each channel inverted.
void setPanelColour(ColourPanel* panel, Colour colour) {
    panel->setColour(colour);
    panel->setTextColour(colour ^ 0xFFFFFF);
}

} // namespace

void TPelmoraForm1::createColourChoice() {
    ColorDialog1 = new QColorDialog(this);
    ColorDialog1->setObjectName(QStringLiteral("ColorDialog1"));
    ColorDialog1->setOption(QColorDialog::DontUseNativeDialog);
    connect(Panel1, &ColourPanel::clicked, this, [this] { runReported([this] { Panel1Click(); }); });
    connect(Panel2, &ColourPanel::clicked, this, [this] { runReported([this] { Panel2Click(); }); });
    connect(Image1, &PictureView::mousePressed, this, [this](Qt::MouseButton button, QPoint position) {
        runReported([this, button, position] { Image1MouseDown(button, position); });
    });
}

std::optional<Colour> TPelmoraForm1::chooseColour() {
    // The dialog opens on the colour last confirmed in it, by any user.
    ColorDialog1->setCurrentColor(qColorFromColour(dialogColour_));
    if (ColorDialog1->exec() != QDialog::Accepted)
        return std::nullopt;
    dialogColour_ = colourFromQColor(ColorDialog1->selectedColor());
    return dialogColour_;
}

void TPelmoraForm1::Panel1Click() {
    if (!action(CommandId::ActPaint)->isEnabled())
        return;
    if (const auto colour = chooseColour())
        setPanelColour(Panel1, *colour);
}

void TPelmoraForm1::Panel2Click() {
    if (!action(CommandId::ActEdge)->isEnabled())
        return;
    if (const auto colour = chooseColour())
        setPanelColour(Panel2, *colour);
}

void TPelmoraForm1::ActSpoidExecute() {
    setImage1Cursor(kFillEyedropperCursor);
}

void TPelmoraForm1::ActSpoid2Execute() {
    setImage1Cursor(kOutlineEyedropperCursor);
}

void TPelmoraForm1::Image1MouseDown(Qt::MouseButton button, QPoint position) {
    const Bitmap& shown = Image1->picture();
    if (button != Qt::LeftButton || position.x() < 0 || position.y() < 0 || position.x() >= shown.width() ||
        position.y() >= shown.height())
        return;
    if (SpoidButton->isChecked() && action(CommandId::ActSpoid)->isEnabled())
        setPanelColour(Panel1, shown.pixel(position.x(), position.y()));
    if (SpoidButton2->isChecked() && action(CommandId::ActSpoid2)->isEnabled())
        setPanelColour(Panel2, shown.pixel(position.x(), position.y()));
}

void TPelmoraForm1::ActBColorExecute() {
    const auto colour = chooseColour();
    if (!colour)
        return;
    QPalette back = ScrollBox1->viewport()->palette();
    back.setColor(QPalette::Window, qColorFromColour(*colour));
    ScrollBox1->viewport()->setPalette(back);
}

} // namespace pelmora
