// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Local
#include "bitmap.h"
#include "colour.h"
#include "image_document.h"

namespace pelmora {

// The source with every pixel whose colour differs from the top-left
// pixel's painted in the fill colour: a silhouette on the unchanged
// background. Colours are compared on their 24 RGB bits. The result keeps
// the source's format where that holds the fill colour and is 32-bit RGB
// otherwise; a source given up by its caller (moved in) is worked in place.
Bitmap filled(Bitmap source, Colour fillColour);

// One row of the fill; in and out may be the same row.
void fillRow(const QRgb* in, QRgb* out, int width, QRgb background, QRgb paint);

// ActPaintExecute's document side: makes FillImage from SourceImage, sets
// FillDone and arms the display cycle. Returns FillImage, to be shown.
const Bitmap& makeFill(ImageDocument& document, Colour fillColour);

} // namespace pelmora
