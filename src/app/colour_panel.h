// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QLabel>

// Local
#include "colour.h"

namespace pelmora {

// Panel1 and Panel2: a lowered swatch of a colour with a bold caption in
// its own text colour. Disabled, it keeps showing its colour.
class ColourPanel : public QLabel {
    Q_OBJECT
public:
    ColourPanel(const QString& hint, QWidget* parent = nullptr);

    Colour colour() const { return colour_; }
    void setColour(Colour colour);
    Colour textColour() const { return textColour_; }
    void setTextColour(Colour colour);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void repaint();

    Colour colour_ = kBlack;
    Colour textColour_ = kWhite;
};

} // namespace pelmora
