// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QPainterPath>
#include <QSize>

// Local
#include "bitmap.h"
#include "colour.h"
#include "input_resolution.h"

namespace pelmora::batch {

// What the SVG, PDF and DXF writers draw: the traced subject on a page of
// the picture's size, in the picture's pixels.
struct TracedPage {
    QPainterPath shape;
    QSize size;
    double dotsPerMeter = 0;   // 0: not known
    Colour colour = kBlack;
    bool stroke = false;       // the line alone, not the filled shape
    Bitmap picture;            // drawn beneath the shape when not empty
};

// How big a pixel is on paper, in millimetres: from the page's resolution,
// or 96 to the inch when it has none.
inline double millimetresPerPixel(const TracedPage& page) {
    return 1000.0 / (page.dotsPerMeter > 0 ? page.dotsPerMeter : kDefaultDotsPerInch / kMetresPerInch);
}

} // namespace pelmora::batch
