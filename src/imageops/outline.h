// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Local
#include "bitmap.h"
#include "colour.h"
#include "image_document.h"

namespace pelmora {

// The source with a one-pixel outline: every pixel of the top-left pixel's
// colour (the background) that has an edge neighbour of neither the
// background nor the outline colour takes the outline colour. Colours are
// compared on their 24 RGB bits. The result keeps the source's format where
// that holds the outline colour and is 32-bit RGB otherwise; a source given
// up by its caller (moved in) is worked in place.
Bitmap outlined(Bitmap source, Colour outlineColour);

// One row of the outline from the source rows above, at and below it; a
// missing neighbour row is stood in by the row itself. out must not be one
// of the source rows.
void outlineRow(const QRgb* above, const QRgb* row, const QRgb* below, QRgb* __restrict out, int width,
                QRgb background, QRgb paint);

// ActEdgeExecute's document side: makes OutlineImage from SourceImage, sets
// OutlineDone and arms the display cycle. Returns OutlineImage, to be shown.
const Bitmap& makeOutline(ImageDocument& document, Colour outlineColour);

} // namespace pelmora
