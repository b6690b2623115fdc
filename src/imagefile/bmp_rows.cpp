// SPDX-License-Identifier: GPL-2.0-or-later
#include "bmp_rows.h"

// Local
#include "imageops/pixel_rows.h"

// Std
#include <cstring>

namespace pelmora {

// Four bytes are moved at a time; the last pixel goes byte by byte so that
// nothing past either row is touched.
PELMORA_ROW_LOOP void expandBgrRow(const std::uint8_t* in, QRgb* out, int width) {
    if (width <= 0)
        return;
    for (int x = 0; x < width - 1; ++x) {
        std::uint32_t v;
        std::memcpy(&v, in + 3 * x, 4);
        out[x] = v | 0xFF000000u;
    }
    const int last = 3 * (width - 1);
    out[width - 1] = 0xFF000000u | std::uint32_t(in[last + 2]) << 16 | std::uint32_t(in[last + 1]) << 8 | in[last];
}

PELMORA_ROW_LOOP void narrowToBgrRow(const QRgb* in, std::uint8_t* out, int width) {
    if (width <= 0)
        return;
    for (int x = 0; x < width - 1; ++x)
        std::memcpy(out + 3 * x, &in[x], 4);   // its fourth byte is the next pixel's, written next
    const QRgb last = in[width - 1];
    out[3 * width - 3] = std::uint8_t(last);
    out[3 * width - 2] = std::uint8_t(last >> 8);
    out[3 * width - 1] = std::uint8_t(last >> 16);
}

} // namespace pelmora
