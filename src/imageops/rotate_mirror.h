// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Local
#include "bitmap.h"

namespace pelmora {

// The five turn and mirror commands; turns are clockwise.
enum class TurnOrMirror { Turn90, Turn180, Turn270, MirrorLeftRight, MirrorTopBottom };

// The picture turned or mirrored, in 32-bit RGB with every colour unchanged.
Bitmap rotateOrFlipPicture(const Bitmap& picture, TurnOrMirror turn);

} // namespace pelmora
