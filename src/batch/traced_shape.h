// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QPainterPath>

// Local
#include "background.h"
#include "bitmap.h"

// Std
#include <functional>

namespace pelmora::batch {

// The picture's subject (every pixel that is not background) traced by
// potrace into smooth closed curves, in the picture's pixel coordinates:
// one subpath a curve, holes inside the shapes around them, to be filled
// odd-even. `smoothness` is potrace's corner threshold: 0 gives polygons,
// higher values rounder curves (1 by default, at most 4/3). Empty for a
// picture without a subject. Tracing a large, busy picture takes a while:
// `progress` hears how far it is, from 0 to 1, from the calling thread.
QPainterPath traceSubject(const Bitmap& picture, const Background& background, double smoothness,
                          const std::function<void(double)>& progress);

// The subject of settled marks (subject_marks.h) traced as above and drawn
// back at the marks' size with antialiasing, as Format_Alpha8: the smooth
// edge of a silhouette whatever its pixels looked like.
QImage smoothSubjectAlpha(const QImage& marks, const std::function<void(double)>& progress);

} // namespace pelmora::batch
