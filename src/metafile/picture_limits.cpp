// SPDX-License-Identifier: GPL-2.0-or-later
#include "picture_limits.h"

// Local
#include "metafile_text.h"

// Std
#include <cmath>

namespace pelmora {

QSize checkedPictureSize(double width, double height) {
    if (!std::isfinite(width) || !std::isfinite(height) || width < 1 || height < 1
        || width > maxPictureSide || height > maxPictureSide || width * height > double(maxPicturePixels))
        refuseMetafile();
    return QSize(int(width), int(height));
}

} // namespace pelmora
