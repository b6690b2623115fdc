// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Local
#include "background.h"
#include "bitmap.h"

// Std
#include <optional>

namespace pelmora::batch {

// A picture whose subject has been grown or shrunk. The canvas grows by the
// offset on every side, so nothing is cut off, and keeps its size when the
// subject shrinks.
struct OffsetSubject {
    Bitmap canvas;       // the picture as it was, placed on the canvas in the background colour
    Bitmap silhouette;   // the offset subject in one colour (`ink`) on the background colour
    int margin = 0;      // where the picture's left and top edges are on the canvas
};

// Grows the picture's subject by `pixels` (negative: shrinks it), by exact
// Euclidean distance. The silhouette is painted in `ink`, or in black where
// that is the background colour. Throws PelmoraError when nothing of the
// subject is left.
OffsetSubject offsetSubject(const Bitmap& picture, const Background& background, double pixels, Colour ink);

// The canvas with a one-pixel line in `colour` just outside the silhouette's
// subject, on the pixels that have an edge neighbour in it.
Bitmap outlinedAtOffset(const OffsetSubject& offset, Colour colour);

} // namespace pelmora::batch
