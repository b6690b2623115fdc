// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QImage>

namespace pelmora {

// Masks are 8-bit grey images: a pixel is inside where its byte is not 0.
// Distances are Euclidean, between pixel centres, exact: the result is the
// one a full distance transform thresholded at `distance` gives. Both work
// in time linear in the pixels plus the pixels near the mask's edge, and
// return a mask of the same size with inside pixels 1; they throw
// PelmoraError when there is no memory for it.

// The pixels at most `distance` (>= 0) from an inside pixel.
QImage grownMask(const QImage& mask, double distance);

// The inside pixels more than `distance` (>= 0) from every outside pixel,
// where everything beyond the mask's border counts as outside.
QImage shrunkMask(const QImage& mask, double distance);

} // namespace pelmora
