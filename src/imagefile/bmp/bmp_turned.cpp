// SPDX-License-Identifier: GPL-2.0-or-later
#include "bmp_turned.h"

// Local
#include "bmp_rows.h"
#include "pixel_rows.h"

// Std
#include <algorithm>
#include <vector>

namespace pelmora {

namespace {

// Rows of the turned picture made at once: one cache line of each source
// row, so the source is read once, line by line.
constexpr int kBandRows = 16;

} // namespace

void writeTurnedBmp(const Bitmap& picture, bool clockwise, const ByteSink& sink) {
    const QImage& source = picture.image();
    const int width = source.height();   // of the turned picture
    const int height = source.width();
    const QByteArray header = bmpHeaders(width, height, 24, {});
    sink(header.constData(), header.size());

    const std::int64_t rowBytes = rowBytesOf(width, 24);
    std::vector<QRgb> band(size_t(width) * kBandRows);
    std::vector<std::uint8_t> piece(size_t(rowBytes * kBandRows));
    // File row k, bottom-up, is row height - 1 - k of the turned picture:
    // clockwise, source column height - 1 - k read upwards; otherwise
    // source column k read downwards.
    for (int first = 0; first < height; first += kBandRows) {
        const int rows = std::min(kBandRows, height - first);
        for (int y = 0; y < width; ++y) {
            const QRgb* in = pixelRow(source, y);
            const int x = clockwise ? width - 1 - y : y;
            for (int i = 0; i < rows; ++i)
                band[size_t(i) * size_t(width) + size_t(x)] = in[clockwise ? height - 1 - first - i : first + i];
        }
        for (int i = 0; i < rows; ++i)
            narrowToBgrRow(band.data() + size_t(i) * size_t(width), piece.data() + rowBytes * i, width);
        sink(reinterpret_cast<const char*>(piece.data()), rowBytes * rows);
    }
}

} // namespace pelmora
