#pragma once

// Qt
#include <QByteArray>

// Std
#include <cstdint>
#include <optional>

namespace pelmora {

// What the reader needs to know of a BMP file before Qt decodes it.
struct BmpLayout {
    std::int64_t width = 0;
    std::int64_t height = 0;   // rows, always positive
    int bitsPerPixel = 0;
    std::uint32_t compression = 0;   // 0 none, 1 RLE8, 2 RLE4, 3 bit fields
    std::int64_t headerSize = 0;
    std::int64_t paletteEntries = 0;   // entries of 4 bytes, or 3 after a 12-byte header
    std::int64_t paletteAt = 0;
    std::int64_t pixelOffset = 0;
    bool topDown = false;
    std::uint32_t masks[3] = {0, 0, 0};   // red, green, blue of 16 and 32-bit pixels

    bool runLength() const { return compression == 1 || compression == 2; }
    bool trueColour() const { return bitsPerPixel >= 16; }
};

// The layout of a BMP file whose headers hold together and whose pixel data
// stays inside the file and the picture; nothing for anything else. This is
// stricter than Qt's reader: a damaged file is refused rather than drawn from
// whatever its bytes happen to say.
std::optional<BmpLayout> checkedBmpLayout(const QByteArray& bytes);

} // namespace pelmora
