// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QImage>

// Local
#include "bitmap.h"
#include "colour.h"

namespace pelmora {

// Outline, fill and transparency from subject marks (see subject_marks.h)
// of the picture's size, rather than from the top-left colour.

// The picture with every subject pixel in the fill colour.
Bitmap filledSubject(Bitmap picture, const QImage& marks, Colour fillColour);

// The picture with every background pixel that has a subject pixel as an
// edge neighbour in the outline colour.
Bitmap outlinedSubject(Bitmap picture, const QImage& marks, Colour outlineColour);

// The alpha of each pixel of a transparent result (Format_Alpha8): 0 for
// background, 255 for subject. Given `edgeAlpha`, a subject pixel beside
// background takes its alpha from there, so a soft edge stays soft. With
// `outline`, the outline pixels of outlinedSubject() are opaque.
QImage subjectAlpha(const QImage& marks, const QImage& edgeAlpha, bool outline);

// Subject marks of every pixel that is not fully transparent in `alpha`.
QImage marksOfCover(const QImage& alpha);

} // namespace pelmora
