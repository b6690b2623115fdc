// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Local
#include "background.h"
#include "bitmap.h"
#include "row_picture.h"

// Std
#include <optional>

namespace pelmora::batch {

// The picture's rows, all opaque. The picture must outlive the rows.
RowPicture opaqueRows(const Bitmap& picture);

// The picture's rows, each pixel with its alpha from `alpha`
// (Format_Alpha8 of the picture's size); fully transparent pixels are all
// one colour, so that they take one palette entry.
RowPicture rowsWithAlpha(const Bitmap& picture, const QImage& alpha);

// The rows of a result with its background transparent: a pixel is fully
// transparent where it has the background colour and `plain`, the same
// picture without its outline or fill, has background; every other pixel is
// opaque. So an outline never walls background in, and a fill in the
// background colour stays. Both pictures must outlive the rows.
RowPicture transparentRows(const Bitmap& result, const Bitmap& plain, const Background& background);

// transparentRows of `plain` filled in `paint` (as it is without), made as
// each row is asked for: no filled copy of the picture is held.
RowPicture filledRows(const Bitmap& plain, std::optional<Colour> paint, const Background& background);

} // namespace pelmora::batch
