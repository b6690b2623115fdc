// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QByteArray>

// Local
#include "traced_page.h"

namespace pelmora::batch {

// The page as an SVG document whose view box is the picture's size in
// pixels; its width and height are in millimetres when the resolution is
// known, else in pixels. The shape is one path, filled odd-even or drawn as
// a one-pixel line; with a picture beneath it, the path's id is CutContour,
// the name print-and-cut software looks for. A page without a shape has
// nothing drawn on it.
QByteArray svgDocument(const TracedPage& page);

} // namespace pelmora::batch
