// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Local
#include "bmp_file.h"
#include "colour.h"

namespace pelmora {

enum class RowShadow { Outline, Fill };

// The outline or fill of a bottom-up, uncompressed 24-bit BMP file (the kind
// most large pictures are), made a few rows at a time from the source to the
// sink without holding the picture: the same bytes as reading the file,
// outlining or filling it and writing it with writeBmp. Returns false,
// having read only the headers and written nothing, for any other file. An
// unsound file throws as readBmp does, possibly after rows have gone to the
// sink.
bool shadeBmp(const ByteSource& source, RowShadow shadow, Colour colour, const ByteSink& sink);

} // namespace pelmora
