// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Local
#include "bitmap.h"

namespace pelmora {

// The operation codes of the five turn and mirror commands.
inline constexpr int kTurn90 = 90;     // quarter turn clockwise
inline constexpr int kTurn180 = 180;
inline constexpr int kTurn270 = 270;   // quarter turn anticlockwise
inline constexpr int kMirrorLeftRight = 99;
inline constexpr int kMirrorTopBottom = 188;

// The picture turned or mirrored by the code, in 32-bit RGB with every
// colour unchanged. Any other code throws std::invalid_argument.
Bitmap rotateOrFlipPicture(const Bitmap& picture, int code);

} // namespace pelmora
