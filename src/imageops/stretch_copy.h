// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Local
#include "bitmap.h"

namespace pelmora {

// The whole source stretched onto a new 32-bit RGB picture of the given
// size, each axis by itself: where the target is larger, pixels repeat;
// where it is smaller, the source pixels falling onto one target pixel are
// combined by a bitwise AND of their colour values, so a thin dark line
// survives. A width or height of 0 (or less) gives an empty picture of that
// size; an empty source gives a white one.
Bitmap stretched(const Bitmap& source, int width, int height);

} // namespace pelmora
