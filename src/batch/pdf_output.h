// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QByteArray>

// Local
#include "traced_page.h"

namespace pelmora::batch {

// The page as a one-page PDF of the picture's size on paper (96 pixels to
// the inch when its resolution is not known), with the picture beneath
// when it has one and the shape as Bézier paths over it, filled odd-even
// or drawn as a one-pixel line.
QByteArray pdfDocument(const TracedPage& page);

} // namespace pelmora::batch
