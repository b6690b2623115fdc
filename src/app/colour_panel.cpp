// SPDX-License-Identifier: GPL-2.0-or-later
#include "colour_panel.h"

// Qt
#include <QMouseEvent>

// Local
#include "fonts.h"
#include "window_texts.h"

namespace pelmora {

ColourPanel::ColourPanel(const QString& hint, QWidget* parent) : QLabel(parent) {
    setFixedSize(90, 22);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setAlignment(Qt::AlignCenter);
    setFont(windowFont(12, true));
    setAutoFillBackground(true);
    // Inside a tool bar the roles would otherwise be the button's.
    setBackgroundRole(QPalette::Window);
    setForegroundRole(QPalette::WindowText);
    setToolTip(texts::shortHint(hint));
    setStatusTip(texts::longHint(hint));
    repaint();
}

void ColourPanel::setColour(Colour colour) {
    colour_ = colour;
    repaint();
}

void ColourPanel::setTextColour(Colour colour) {
    textColour_ = colour;
    repaint();
}

void ColourPanel::repaint() {
    QPalette colours = palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::Window, qColorFromColour(colour_));
        colours.setColor(group, QPalette::WindowText, qColorFromColour(textColour_));
    }
    setPalette(colours);
}

void ColourPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

} // namespace pelmora
