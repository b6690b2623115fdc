// SPDX-License-Identifier: GPL-2.0-or-later
#include "bmp_rle.h"

// Local
#include "bitmap.h"
#include "le_bytes.h"

namespace pelmora {

QImage decodeRunLengths(const QByteArray& bytes, const BmpLayout& layout) {
    const LeReader r(bytes);
    const bool four = layout.compression == 2;
    const int width = int(layout.width);
    const int height = int(layout.height);
    QImage image = allocateImage(width, height, QImage::Format_Indexed8);
    QList<QRgb> palette(layout.paletteEntries);
    for (qsizetype i = 0; i < palette.size(); ++i) {
        const std::int64_t at = layout.paletteAt + 4 * i;
        palette[i] = qRgb(int(r.u8(at + 2)), int(r.u8(at + 1)), int(r.u8(at)));
    }
    image.setColorTable(palette);
    image.fill(0u);

    // Rows run bottom-up; nibbles of RLE4 alternate high, low.
    auto nibbleOrByte = [&](std::int64_t from, std::int64_t i) {
        const std::uint32_t b = r.u8(from + (four ? i / 2 : i));
        return four ? (i % 2 == 0 ? b >> 4 : b & 15) : b;
    };
    std::int64_t at = layout.pixelOffset;
    std::int64_t x = 0;
    std::int64_t y = 0;
    while (at + 2 <= r.size()) {
        const std::uint32_t count = r.u8(at);
        const std::uint32_t value = r.u8(at + 1);
        at += 2;
        if (count > 0) {            // a run of one index, or two alternating
            if (y >= height || x + count > width)
                return QImage();
            uchar* line = image.scanLine(int(height - 1 - y));
            for (std::uint32_t i = 0; i < count; ++i) {
                const std::uint32_t index = four ? (i % 2 == 0 ? value >> 4 : value & 15) : value;
                if (index >= palette.size())
                    return QImage();
                line[x + i] = uchar(index);
            }
            x += count;
        } else if (value == 0) {    // end of line
            x = 0;
            ++y;
        } else if (value == 1) {    // end of picture
            break;
        } else if (value == 2) {    // skip right and down
            if (at + 2 > r.size())
                return QImage();
            x += r.u8(at);
            y += r.u8(at + 1);
            at += 2;
            if (x > width || y > height)
                return QImage();
        } else {                    // literal indices, padded to 16 bits
            const std::int64_t dataBytes = four ? (value + 1) / 2 : value;
            if (y >= height || x + value > width || at + dataBytes > r.size())
                return QImage();
            uchar* line = image.scanLine(int(height - 1 - y));
            for (std::uint32_t i = 0; i < value; ++i) {
                const std::uint32_t index = nibbleOrByte(at, i);
                if (index >= palette.size())
                    return QImage();
                line[x + i] = uchar(index);
            }
            x += value;
            at += (dataBytes + 1) / 2 * 2;
        }
        if (y > height)
            return QImage();
    }
    // A stream that stops without its end mark leaves the rest at index 0.
    return image;
}

} // namespace pelmora
