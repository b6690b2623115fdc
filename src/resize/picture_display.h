// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Local
#include "bitmap.h"

namespace pelmora {

// What the resize dialog sees of the main window: the picture on display
// (Image1's picture), read when OK is pressed and replaced by the result.
class PictureDisplay {
public:
    virtual ~PictureDisplay() = default;
    virtual const Bitmap& displayedPicture() const = 0;
    // The display takes an independent copy and the picture's size.
    virtual void showPicture(const Bitmap& picture) = 0;
};

} // namespace pelmora
