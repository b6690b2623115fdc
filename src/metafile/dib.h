// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QImage>

// Local
#include "byte_view.h"
#include "gdi_objects.h"
#include "picture_limits.h"

namespace pelmora {

// The largest bitmap a metafile may carry, a side and in all.
inline constexpr int maxDibSide = 30000;
inline constexpr qint64 maxDibPixels = qint64(1) << 26;

// Reads a device-independent bitmap from its header with colour table
// (info) and its pixel bits. Uncompressed 1, 4, 8, 16, 24 and 32-bit DIBs
// (with bit fields), and embedded JPEG or PNG, are understood. 1, 4 and
// 8-bit DIBs come back as Indexed8 images so that a caller may recolour a
// monochrome one; the rest as RGB32. A null image for anything that does
// not hold together.
//
// usage is the record's DIB_RGB_COLORS 0 (a table of colours),
// DIB_PAL_COLORS 1 (16-bit indices into palette, the one selected) or
// DIB_PAL_INDICES 2 (no table: black and white for one bit, grey levels
// otherwise).
//
// With DibAlpha::Keep a 32-bit DIB without bit fields keeps its fourth byte
// as premultiplied alpha (ARGB32_Premultiplied), as AlphaBlend reads it.
//
// The budget is charged for the pixels before they are unpacked; a null
// image once it is spent.
enum class DibAlpha { Ignore, Keep };
QImage decodeDib(ByteView info, ByteView bits, quint32 usage, const QList<QRgb>& palette, WorkBudget& budget,
                 DibAlpha alpha = DibAlpha::Ignore);

// The same for a DIB whose bits follow its colour table directly.
QImage decodePackedDib(ByteView dib, quint32 usage, const QList<QRgb>& palette, WorkBudget& budget);

// count palette entries (red, green, blue, flags) from offset; empty when
// they do not fit.
QList<QRgb> decodePaletteEntries(ByteView bytes, std::size_t at, quint32 count);

} // namespace pelmora
