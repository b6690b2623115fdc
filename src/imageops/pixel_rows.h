// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QImage>
#include <QRgb>

// Local
#include "bitmap.h"

namespace pelmora {

// Row loops are built for AVX2 and for the baseline, and the processor picks
// when the program loads. Besides the wider registers, this keeps the loops
// off the legacy SSE encoding, which runs several times slower after Qt's
// own AVX drawing code has left the upper register halves in use.
#if defined(__x86_64__)
#define PELMORA_ROW_LOOP __attribute__((target_clones("avx2", "default")))
#else
#define PELMORA_ROW_LOOP
#endif

// Pixel comparisons look at the 24 RGB bits only.
inline constexpr QRgb kRgbBits = 0xFFFFFFu;

// Row y of a 32-bit image, for reading.
inline const QRgb* pixelRow(const QImage& image, int y) {
    return reinterpret_cast<const QRgb*>(image.constScanLine(y));
}

// Row y of a 32-bit image the caller alone holds, for writing; unlike
// QImage::scanLine it does not check for sharing at every call.
inline QRgb* writableRow(uchar* bits, qsizetype bytesPerLine, int y) {
    return reinterpret_cast<QRgb*>(bits + bytesPerLine * y);
}

inline bool isIndexed(QImage::Format f) {
    return f == QImage::Format_Mono || f == QImage::Format_MonoLSB || f == QImage::Format_Indexed8;
}

// The first palette entry of the colour, or -1.
int paletteIndex(const QImage& image, QRgb rgb);

// The palette indices of row y of a 1 or 8-bit image, one byte each.
void readIndices(const QImage& image, int y, uchar* out);

// A new 32-bit RGB picture of the given size whose pixels the caller will
// all write. A width or height of 0 gives an empty picture of that size.
Bitmap unpaintedRgb32(int width, int height);

// The picture's pixels as a 32-bit RGB image: shared when it is held so
// already, otherwise a widened copy.
QImage rgb32Pixels(const Bitmap& picture);

} // namespace pelmora
