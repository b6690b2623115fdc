// SPDX-License-Identifier: GPL-2.0-or-later
#include "rgb_rows.h"

// Local
#include "pixel_rows.h"

// Std
#include <array>

namespace pelmora {

namespace {

PELMORA_ROW_LOOP void widenRgb888(const uchar* in, QRgb* out, int width) {
    for (int x = 0; x < width; ++x)
        out[x] = qRgb(in[3 * x], in[3 * x + 1], in[3 * x + 2]);
}

} // namespace

const QRgb* rgbRow(const QImage& image, int y, QRgb* scratch) {
    const int width = image.width();
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32: return pixelRow(image, y);
    case QImage::Format_RGB888: widenRgb888(image.constScanLine(y), scratch, width); return scratch;
    default: break;
    }
    if (isIndexed(image.format())) {
        std::array<QRgb, 256> table{};
        const QList<QRgb> colours = image.colorTable();
        for (qsizetype i = 0; i < colours.size() && i < 256; ++i)
            table[size_t(i)] = colours[i] | 0xFF000000u;
        // The indices go first into the row's own memory, from its far end,
        // so each is read before a wider colour covers it.
        auto* indices = reinterpret_cast<uchar*>(scratch + width) - width;
        readIndices(image, y, indices);
        for (int x = 0; x < width; ++x)
            scratch[x] = table[indices[x]];
        return scratch;
    }
    for (int x = 0; x < width; ++x)
        scratch[x] = image.pixel(x, y) | 0xFF000000u;
    return scratch;
}

} // namespace pelmora
