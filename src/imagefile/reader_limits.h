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

// Work a reader may do on one file, in units of its own (blocks decoded,
// pixels decoded): the reader charges each piece as it goes, and stops when
// a charge is refused.
class WorkBudget {
public:
    explicit WorkBudget(std::int64_t most) : left_(most) {}

    bool charge(std::int64_t units) {
        if (units > left_)
            return false;
        left_ -= units;
        spent_ += units;
        return true;
    }
    std::int64_t spent() const { return spent_; }

private:
    std::int64_t left_;
    std::int64_t spent_ = 0;
};

// Sets the largest picture Qt's image readers may make to what a Bitmap may
// hold (pictureMemoryCap); every reader calls it before it starts.
void limitImageReaders();

} // namespace pelmora
