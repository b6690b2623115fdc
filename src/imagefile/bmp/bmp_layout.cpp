// SPDX-License-Identifier: GPL-2.0-or-later
#include "bmp_layout.h"

// Local
#include "le_bytes.h"

// Std
#include <algorithm>
#include <bit>

namespace pelmora {

namespace {

constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;
// QImage's own limit on a side.
constexpr std::int64_t kMostSide = 0x7FFFFFFF / 32;

// Masks must each be one run of bits, apart from each other, inside the pixel.
bool soundMasks(const LeReader& r, std::int64_t at, int bitsPerPixel) {
    if (at + 12 > r.size())
        return false;
    std::uint32_t seen = 0;
    for (int i = 0; i < 3; ++i) {
        const std::uint32_t mask = r.u32(at + 4 * i);
        if (mask == 0 || (mask & seen) != 0)
            return false;
        if (bitsPerPixel < 32 && (mask >> bitsPerPixel) != 0)
            return false;
        const std::uint32_t shifted = mask >> std::countr_zero(mask);
        if ((shifted & (shifted + 1)) != 0)
            return false;
        seen |= mask;
    }
    return true;
}

} // namespace

std::optional<BmpLayout> checkedBmpLayout(const QByteArray& head, std::int64_t fileSize) {
    const LeReader r(head);
    if (r.size() < 26 || head[0] != 'B' || head[1] != 'M')
        return std::nullopt;
    const std::int64_t pixelOffset = r.u32(10);
    const std::int64_t headerSize = r.u32(14);
    if (pixelOffset > fileSize || 14 + headerSize > r.size() || pixelOffset < 14 + headerSize)
        return std::nullopt;

    BmpLayout layout;
    layout.pixelOffset = pixelOffset;
    std::int64_t planes = 0;
    layout.headerSize = headerSize;
    std::int64_t paletteAt = 14 + headerSize;
    int entrySize = 4;
    std::int64_t coloursUsed = 0;
    if (headerSize == 12) {
        layout.width = r.u16(18);
        layout.height = r.u16(20);
        planes = r.u16(22);
        layout.bitsPerPixel = int(r.u16(24));
        entrySize = 3;
    } else if (headerSize >= 16 && headerSize <= 124) {
        layout.width = r.s32(18);
        const std::int64_t height = r.s32(22);
        planes = r.u16(26);
        layout.bitsPerPixel = int(r.u16(28));
        if (headerSize >= 20)
            layout.compression = r.u32(30);
        if (headerSize >= 40)
            coloursUsed = r.u32(46);
        if (height < 0 && layout.compression != 0 && layout.compression != kBitFields)
            return std::nullopt;   // only uncompressed rows may run top-down
        layout.height = height < 0 ? -height : height;
        layout.topDown = height < 0;
        if (layout.compression == kBitFields) {
            const std::int64_t masksAt = headerSize >= 52 ? 54 : paletteAt;
            if (!soundMasks(r, masksAt, layout.bitsPerPixel))
                return std::nullopt;
            for (int i = 0; i < 3; ++i)
                layout.masks[i] = r.u32(masksAt + 4 * i);
            if (headerSize < 52)
                paletteAt += 12;
        }
    } else {
        return std::nullopt;
    }

    const int bpp = layout.bitsPerPixel;
    if (planes != 1 || layout.width <= 0 || layout.height <= 0 || layout.width > kMostSide
        || layout.height > kMostSide)
        return std::nullopt;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        return std::nullopt;
    switch (layout.compression) {
    case 0: break;
    case kRle8: if (bpp != 8) return std::nullopt; break;
    case kRle4: if (bpp != 4) return std::nullopt; break;
    case kBitFields: if (bpp != 16 && bpp != 32) return std::nullopt; break;
    default: return std::nullopt;
    }

    if (bpp == 16 && layout.compression == 0) {
        layout.masks[0] = 0x7C00;
        layout.masks[1] = 0x03E0;
        layout.masks[2] = 0x001F;
    }
    if (bpp <= 8) {
        const std::int64_t most = std::int64_t(1) << bpp;
        if (coloursUsed > most)
            return std::nullopt;
        layout.paletteEntries = coloursUsed != 0 ? coloursUsed : most;
        if (paletteAt + layout.paletteEntries * entrySize > pixelOffset)
            return std::nullopt;
        layout.paletteAt = paletteAt;
    }

    if (layout.runLength())
        return layout;   // the run-length decoder checks its stream itself
    const std::int64_t rowBytes = (layout.width * bpp + 31) / 32 * 4;
    if (rowBytes * layout.height > fileSize - pixelOffset)
        return std::nullopt;
    return layout;
}

} // namespace pelmora
