// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Std
#include <cstdint>

namespace pelmora {

// Compressed data can declare any size in a few bytes, and a reader would
// then spend seconds and gigabytes on a picture the file cannot describe.
// Beyond 16 million pixels a file must bring a byte for every 1024 pixels:
// real files need far more (a JPEG spends a bit or more on each 8 x 8
// block, run-length rows spend two bytes on every 255 pixels).
constexpr bool declaredSizeFitsData(std::int64_t width, std::int64_t height, std::int64_t dataBytes) {
    const std::int64_t pixels = width * height;
    return pixels <= (std::int64_t(1) << 24) || pixels / 1024 <= dataBytes;
}

// Sets the largest picture Qt's image readers may make to what a Bitmap may
// hold, once for the whole process, before any reader runs.
void limitImageReaders();

} // namespace pelmora
