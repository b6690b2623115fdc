// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QImage>

// Local
#include "bitmap.h"
#include "colour.h"

namespace pelmora {

// Subject marks: one byte a pixel in an 8-bit grey image of the picture's
// size, kSubjectPixel for subject and kOpenBackground for background, so
// that isBackgroundMark() reads them with or without `solid`. A null image
// for an empty picture.

// Background by colour: a pixel whose RGB lies within fuzzPercent of the
// background colour by Euclidean distance, 100 % being the distance from
// black to white; 0 compares exactly. With `solid`, only such pixels joined
// to the border through such pixels are background.
QImage marksByColour(const Bitmap& picture, Colour background, double fuzzPercent, bool solid);

// Background by transparency: a pixel of `alpha` (Format_Alpha8) below
// thresholdPercent of full opacity, whatever its colour; `solid` as above.
QImage marksByAlpha(const QImage& alpha, double thresholdPercent, bool solid);

// The image's alpha as Format_Alpha8 when it has a pixel that is not fully
// opaque; otherwise a null image.
QImage transparencyOf(const QImage& image);

// Of a tolerant silhouette's edge, the subject pixels beside background that
// are less than half covered become background: those whose colour lies
// less than half as far from the background colour as that of their
// farthest subject edge neighbour. JPEG and antialiasing blend an object's
// edge into its background; the tolerance alone keeps even a faint blend.
void trimHalfCovered(QImage& marks, const Bitmap& picture, Colour background);

bool hasSubject(const QImage& marks);

} // namespace pelmora
