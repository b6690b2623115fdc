// SPDX-License-Identifier: GPL-2.0-or-later
#include "info_panel.h"

// Qt
#include <QLabel>

// Local
#include "fonts.h"

namespace pelmora {

namespace {

void colourText(QLabel* label, const QColor& colour) {
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, colour);
    label->setPalette(colours);
    // Inside a tool bar the roles would otherwise be the button's.
    label->setForegroundRole(QPalette::WindowText);
}

} // namespace

InfoPanel::InfoPanel(const QColor& face, const QColor& kindColour, const QColor& sizeColour, QWidget* parent)
    : QFrame(parent), kindLabel_(new QLabel(this)), sizeLabel_(new QLabel(this)) {
    setFixedSize(200, 22);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    setForegroundRole(QPalette::WindowText);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, face);
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);

    kindLabel_->setFont(windowFont(15, true));
    colourText(kindLabel_, kindColour);
    kindLabel_->setGeometry(3, 1, 188, 20);
    kindLabel_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    // Right edge at x = 191, text at the bottom.
    sizeLabel_->setFont(windowFont(16, true));
    colourText(sizeLabel_, sizeColour);
    sizeLabel_->setGeometry(60, 1, 131, 20);
    sizeLabel_->setAlignment(Qt::AlignRight | Qt::AlignBottom);
}

} // namespace pelmora
