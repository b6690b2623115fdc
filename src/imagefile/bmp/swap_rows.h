// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Std
#include <cstdint>
#include <cstring>

namespace pelmora {

// Copies a row of 3-byte pixels with the first and third byte of each
// exchanged (BMP's blue, green, red against QImage's red, green, blue).
// Four bytes are moved at a time through a byte swap; the last pixel goes
// byte by byte so that nothing past either row is touched.
inline void copySwappingRedBlue(const std::uint8_t* in, std::uint8_t* out, int width) {
    if (width <= 0)
        return;
    for (int x = 0; x < width - 1; ++x) {
        std::uint32_t v;
        std::memcpy(&v, in + 3 * x, 4);
        v = __builtin_bswap32(v) >> 8;   // c0 c1 c2 next -> c2 c1 c0 0
        std::memcpy(out + 3 * x, &v, 4);   // its fourth byte is the next pixel's, written next
    }
    const int last = 3 * (width - 1);
    out[last] = in[last + 2];
    out[last + 1] = in[last + 1];
    out[last + 2] = in[last];
}

} // namespace pelmora
