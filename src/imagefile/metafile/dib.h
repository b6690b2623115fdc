#pragma once

// Qt
#include <QImage>

// Local
#include "byte_view.h"

namespace pelmora {

// The largest bitmap a metafile may carry, a side and in all.
inline constexpr int maxDibSide = 30000;
inline constexpr qint64 maxDibPixels = qint64(1) << 26;

// Reads a device-independent bitmap from its header with colour table
// (info) and its pixel bits. Uncompressed 1, 4, 8, 16, 24 and 32-bit DIBs
// (with bit fields), and embedded JPEG or PNG, are understood. 1, 4 and
// 8-bit DIBs come back as Indexed8 images so that a caller may recolour a
// monochrome one; the rest as RGB32. With paletteIndices the colour table
// holds 16-bit palette indices, which are taken from the standard 16-colour
// palette. A null image for anything that does not hold together.
QImage decodeDib(ByteView info, ByteView bits, bool paletteIndices);

// The same for a DIB whose bits follow its colour table directly.
QImage decodePackedDib(ByteView dib, bool paletteIndices);

} // namespace pelmora
