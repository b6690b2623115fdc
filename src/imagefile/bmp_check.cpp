#include "bmp_check.h"

// Std
#include <algorithm>
#include <bit>

namespace pelmora {

namespace {

constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;
// A density beyond this (25,400 dots per inch) is a damaged header.
constexpr std::int64_t kMaxDotsPerMetre = 1'000'000;

class Reader {
public:
    explicit Reader(const QByteArray& bytes) : bytes_(bytes) {}
    std::int64_t size() const { return bytes_.size(); }
    std::uint32_t u8(std::int64_t at) const { return std::uint8_t(bytes_[qsizetype(at)]); }
    std::uint32_t u16(std::int64_t at) const { return u8(at) | u8(at + 1) << 8; }
    std::uint32_t u32(std::int64_t at) const { return u16(at) | u16(at + 2) << 16; }
    std::int32_t s32(std::int64_t at) const { return std::int32_t(u32(at)); }

private:
    const QByteArray& bytes_;
};

// Masks must each be one run of bits, apart from each other, inside the pixel.
bool soundMasks(const Reader& r, std::int64_t at, int bitsPerPixel) {
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

// Walks a run-length stream: every run, literal and skip must stay inside
// the picture and the file, and every index inside the palette.
bool soundRunLengths(const Reader& r, const BmpLayout& layout) {
    const bool four = layout.compression == kRle4;
    std::int64_t at = layout.pixelOffset;
    std::int64_t x = 0;
    std::int64_t y = 0;
    auto index = [&](std::int64_t from, std::int64_t i) {
        const std::uint32_t b = r.u8(from + (four ? i / 2 : i));
        return four ? (i % 2 == 0 ? b >> 4 : b & 15) : b;
    };
    while (at + 2 <= r.size()) {
        const std::uint32_t count = r.u8(at);
        const std::uint32_t value = r.u8(at + 1);
        at += 2;
        if (count > 0) {
            if (y >= layout.height || x + count > layout.width)
                return false;
            for (std::int64_t i = 0; i < (four ? std::min<std::int64_t>(count, 2) : 1); ++i)
                if (index(at - 1, i) >= layout.paletteEntries)
                    return false;
            x += count;
            continue;
        }
        if (value == 0) {           // end of line
            x = 0;
            ++y;
        } else if (value == 1) {    // end of picture
            return true;
        } else if (value == 2) {    // skip right and down
            if (at + 2 > r.size())
                return false;
            x += r.u8(at);
            y += r.u8(at + 1);
            at += 2;
            if (x > layout.width || y > layout.height)
                return false;
        } else {                    // literal pixels, padded to a 16-bit boundary
            const std::int64_t dataBytes = four ? (value + 1) / 2 : value;
            if (y >= layout.height || x + value > layout.width || at + dataBytes > r.size())
                return false;
            for (std::int64_t i = 0; i < value; ++i)
                if (index(at, i) >= layout.paletteEntries)
                    return false;
            x += value;
            at += (dataBytes + 1) / 2 * 2;
        }
        if (y > layout.height)
            return false;
    }
    // A stream that stops without its end mark leaves the rest unpainted.
    return true;
}

} // namespace

std::optional<BmpLayout> checkedBmpLayout(const QByteArray& bytes) {
    const Reader r(bytes);
    if (r.size() < 26 || bytes[0] != 'B' || bytes[1] != 'M')
        return std::nullopt;
    const std::int64_t fileSize = r.u32(2);
    const std::int64_t pixelOffset = r.u32(10);
    const std::int64_t headerSize = r.u32(14);
    if (fileSize > r.size() || pixelOffset > r.size() || 14 + headerSize > r.size()
        || pixelOffset < 14 + headerSize)
        return std::nullopt;

    BmpLayout layout;
    layout.pixelOffset = pixelOffset;
    std::int64_t planes = 0;
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
        if (headerSize >= 36 && headerSize < 64) {
            const std::int64_t dx = r.s32(38);
            const std::int64_t dy = r.s32(42);
            if (dx < 0 || dy < 0 || dx > kMaxDotsPerMetre || dy > kMaxDotsPerMetre)
                return std::nullopt;
        }
        if (headerSize >= 40)
            coloursUsed = r.u32(46);
        if (height < 0 && layout.compression != 0 && layout.compression != kBitFields)
            return std::nullopt;   // only uncompressed rows may run top-down
        layout.height = height < 0 ? -height : height;
        if (layout.compression == kBitFields) {
            const std::int64_t masksAt = headerSize >= 52 ? 54 : paletteAt;
            if (!soundMasks(r, masksAt, layout.bitsPerPixel))
                return std::nullopt;
            if (headerSize < 52)
                paletteAt += 12;
        }
    } else {
        return std::nullopt;
    }

    const int bpp = layout.bitsPerPixel;
    if (planes != 1 || layout.width <= 0 || layout.height <= 0)
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

    if (bpp <= 8) {
        const std::int64_t most = std::int64_t(1) << bpp;
        if (coloursUsed > most)
            return std::nullopt;
        layout.paletteEntries = coloursUsed != 0 ? coloursUsed : most;
        if (paletteAt + layout.paletteEntries * entrySize > pixelOffset)
            return std::nullopt;
    }

    if (layout.runLength())
        return soundRunLengths(r, layout) ? std::optional(layout) : std::nullopt;
    const std::int64_t rowBytes = (layout.width * bpp + 31) / 32 * 4;
    if (rowBytes * layout.height > r.size() - pixelOffset)
        return std::nullopt;
    return layout;
}

} // namespace pelmora
