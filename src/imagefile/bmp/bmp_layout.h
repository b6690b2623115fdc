// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QByteArray>

// Std
#include <cstdint>
#include <optional>

namespace pelmora {

// What the reader needs to know of a BMP file before it decodes the pixels.
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
};

// The bytes from the start of a file that hold every header field the
// layout is read from.
inline constexpr std::int64_t kBmpHeadBytes = 14 + 124 + 12;

// The layout of a BMP file whose headers hold together and whose palette and
// pixel data stay inside the file and the picture; nothing for anything
// else. head holds the file's first kBmpHeadBytes bytes, or all of a shorter
// file. Fields that only inform (the file size, the image size, the
// resolution) are not checked, as other readers do not check them.
std::optional<BmpLayout> checkedBmpLayout(const QByteArray& head, std::int64_t fileSize);
inline std::optional<BmpLayout> checkedBmpLayout(const QByteArray& bytes) {
    return checkedBmpLayout(bytes, bytes.size());
}

} // namespace pelmora
