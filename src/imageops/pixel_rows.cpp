// SPDX-License-Identifier: GPL-2.0-or-later
#include "pixel_rows.h"

// Local
#include "pelmora_error.h"

// Std
#include <algorithm>

namespace pelmora {

Bitmap unpaintedRgb32(int width, int height) {
    if (width > 0 && height > 0)
        return Bitmap(allocateImage(width, height, QImage::Format_RGB32));
    Bitmap empty;
    empty.setWidth(std::max(width, 0));
    empty.setHeight(std::max(height, 0));
    return empty;
}

int paletteIndex(const QImage& image, QRgb rgb) {
    const auto table = image.colorTable();
    for (int i = 0; i < table.size(); ++i)
        if ((table[i] & kRgbBits) == (rgb & kRgbBits))
            return i;
    return -1;
}

void readIndices(const QImage& image, int y, uchar* out) {
    const uchar* line = image.constScanLine(y);
    const int width = image.width();
    if (image.format() == QImage::Format_Indexed8) {
        std::copy_n(line, width, out);
        return;
    }
    const bool lsb = image.format() == QImage::Format_MonoLSB;
    for (int x = 0; x < width; ++x)
        out[x] = uchar(lsb ? line[x >> 3] >> (x & 7) & 1 : line[x >> 3] >> (7 - (x & 7)) & 1);
}

QImage rgb32Pixels(const Bitmap& picture) {
    if (picture.isEmpty() || picture.format() == QImage::Format_RGB32)
        return picture.image();
    QImage wide = picture.image().convertToFormat(QImage::Format_RGB32);
    if (wide.isNull())
        throw PelmoraError(outOfMemoryText());
    return wide;
}

} // namespace pelmora
