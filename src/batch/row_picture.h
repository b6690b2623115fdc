// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QRgb>

// Std
#include <functional>

namespace pelmora::batch {

// A picture made row by row as it is written: `rows` fills row y, `width`
// pixels of unpremultiplied ARGB with any alpha. Rows are asked for top to
// bottom, perhaps more than once, so a writer needs no copy of the picture.
struct RowPicture {
    int width = 0;
    int height = 0;
    std::function<void(int y, QRgb* row)> rows;
    double dotsPerMeter = 0;   // the resolution to record, when above 0
};

} // namespace pelmora::batch
