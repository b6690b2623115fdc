// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Local
#include "colour.h"

namespace pelmora::batch {

// What counts as background in a written PNG or SVG: the top-left colour of
// the picture as read (turns and outlines may put another colour in the
// corner of the result), everywhere or, when solid, where it is joined to
// the border.
struct Background {
    Colour colour;
    bool solid;
};

} // namespace pelmora::batch
