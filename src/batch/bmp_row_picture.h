// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QString>

// Local
#include "colour.h"
#include "row_picture.h"

// Std
#include <optional>

namespace pelmora::batch {

// filledRows of an uncompressed 24-bit BMP file (the kind most large
// pictures are), read from the file a piece at a time as the rows are asked
// for, so that the picture is never held: the background (every pixel of
// the top-left pixel's colour) transparent, the rest in `paint` or, without
// it, as it is. Nothing, having read only the headers, for a file of any
// other layout; throws PelmoraError when the file cannot be opened.
std::optional<RowPicture> filledBmpFileRows(const QString& path, std::optional<Colour> paint);

} // namespace pelmora::batch
