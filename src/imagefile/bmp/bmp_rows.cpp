// SPDX-License-Identifier: GPL-2.0-or-later
#include "bmp_rows.h"

// Local
#include "pixel_rows.h"

namespace pelmora {

// Byte by byte, so that GCC turns both loops into byte shuffles.
PELMORA_ROW_LOOP void expandBgrRow(const std::uint8_t* __restrict in, QRgb* __restrict out, int width) {
    for (int x = 0; x < width; ++x)
        out[x] = 0xFF000000u | std::uint32_t(in[3 * x + 2]) << 16 | std::uint32_t(in[3 * x + 1]) << 8 | in[3 * x];
}

PELMORA_ROW_LOOP void narrowToBgrRow(const QRgb* __restrict in, std::uint8_t* __restrict out, int width) {
    for (int x = 0; x < width; ++x) {
        const QRgb v = in[x];
        out[3 * x] = std::uint8_t(v);
        out[3 * x + 1] = std::uint8_t(v >> 8);
        out[3 * x + 2] = std::uint8_t(v >> 16);
    }
}

} // namespace pelmora
