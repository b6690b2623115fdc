// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QRgb>

// Std
#include <cstdint>

namespace pelmora {

// A 24-bit BMP row (blue, green, red) as 32-bit RGB pixels, and back. On a
// little-endian host a BMP pixel's three bytes are a QRgb's low three.
void expandBgrRow(const std::uint8_t* __restrict in, QRgb* __restrict out, int width);
void narrowToBgrRow(const QRgb* __restrict in, std::uint8_t* __restrict out, int width);

} // namespace pelmora
