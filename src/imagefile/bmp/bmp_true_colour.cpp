// SPDX-License-Identifier: GPL-2.0-or-later
#include "bmp_true_colour.h"

// Local
#include "bitmap.h"

// Std
#include <array>
#include <bit>
#include <cstring>

namespace pelmora {

namespace {

// One channel: shift its mask down, then map 0..max onto 0..255 by table.
struct Channel {
    int shift = 0;
    std::uint32_t max = 0;
    std::array<std::uint8_t, 256> table {};
    bool tabled = false;

    explicit Channel(std::uint32_t mask)
        : shift(std::countr_zero(mask)), max(mask >> std::countr_zero(mask)) {
        tabled = max < 256;
        if (tabled)
            for (std::uint32_t v = 0; v <= max; ++v)
                table[v] = std::uint8_t((v * 255 + max / 2) / max);
    }

    int operator()(std::uint32_t pixel) const {
        const std::uint32_t v = (pixel >> shift) & max;
        return tabled ? table[v] : int((std::uint64_t(v) * 255 + max / 2) / max);
    }
};

} // namespace

QImage decodeTrueColour(const QByteArray& bytes, const BmpLayout& layout) {
    const int width = int(layout.width);
    const int height = int(layout.height);
    const int bits = layout.bitsPerPixel;
    const qsizetype rowBytes = (qsizetype(width) * bits + 31) / 32 * 4;
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData()) + layout.pixelOffset;
    const auto row = [&](int y) { return data + rowBytes * (layout.topDown ? y : height - 1 - y); };

    QImage image = allocateImage(width, height, QImage::Format_RGB32);
    const bool plain = bits == 32 && layout.masks[0] == 0xFF0000 && layout.masks[1] == 0xFF00
                       && layout.masks[2] == 0xFF;
    if (bits == 32 && (layout.compression == 0 || plain)) {
        // Blue, green, red, unused: QImage's own order on a little-endian host.
        for (int y = 0; y < height; ++y) {
            const std::uint8_t* in = row(y);
            auto* out = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
            std::memcpy(out, in, size_t(width) * 4);
            for (int x = 0; x < width; ++x)
                out[x] |= 0xFF000000u;
        }
        return image;
    }

    const Channel red(layout.masks[0]);
    const Channel green(layout.masks[1]);
    const Channel blue(layout.masks[2]);
    const int pixelBytes = bits / 8;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* in = row(y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            std::uint32_t pixel = 0;
            std::memcpy(&pixel, in + qsizetype(x) * pixelBytes, size_t(pixelBytes));   // little-endian host
            out[x] = qRgb(red(pixel), green(pixel), blue(pixel));
        }
    }
    return image;
}

} // namespace pelmora
