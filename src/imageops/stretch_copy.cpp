// SPDX-License-Identifier: GPL-2.0-or-later
#include "stretch_copy.h"

// Local
#include "pixel_rows.h"

// Std
#include <algorithm>
#include <cstring>
#include <vector>

namespace pelmora {

namespace {

// Which source positions fall onto each target position along one axis:
// target i takes the sources first[i] to last[i]. Enlarging, that is the one
// source i * from / to; reducing, source j falls onto target j * to / from,
// so every source position counts exactly once.
struct Steps {
    std::vector<int> first;
    std::vector<int> last;
    int widest = 1;   // the most sources on one target position
};

Steps steps(int from, int to) {
    Steps s;
    s.first.resize(size_t(to));
    s.last.resize(size_t(to));
    for (int i = 0; i < to; ++i) {
        if (to >= from) {
            s.first[size_t(i)] = s.last[size_t(i)] = int(qint64(i) * from / to);
        } else {
            s.first[size_t(i)] = int((qint64(i) * from + to - 1) / to);
            s.last[size_t(i)] = int((qint64(i + 1) * from + to - 1) / to) - 1;
        }
        s.widest = std::max(s.widest, s.last[size_t(i)] - s.first[size_t(i)] + 1);
    }
    return s;
}

PELMORA_ROW_LOOP void andRows(QRgb* __restrict into, const QRgb* a, const QRgb* b, int width) {
    for (int x = 0; x < width; ++x)
        into[x] = a[x] & b[x];
}

PELMORA_ROW_LOOP void andRow(QRgb* __restrict into, const QRgb* row, int width) {
    for (int x = 0; x < width; ++x)
        into[x] &= row[x];
}

// One target row from one source row, along x. A bitwise AND takes the same
// value twice without harm, so every target pixel runs through the same
// number of sources, repeating its last: a loop without branches.
PELMORA_ROW_LOOP void stretchRow(const QRgb* in, QRgb* __restrict out, const Steps& columns, int width) {
    const int* first = columns.first.data();
    const int* last = columns.last.data();
    for (int x = 0; x < width; ++x)
        out[x] = in[first[x]];
    for (int k = 1; k < columns.widest; ++k)
        for (int x = 0; x < width; ++x)
            out[x] &= in[std::min(first[x] + k, last[x])];
}

} // namespace

Bitmap stretched(const Bitmap& source, int width, int height) {
    if (width <= 0 || height <= 0)
        return unpaintedRgb32(width, height);
    if (source.isEmpty())
        return Bitmap::white(width, height);
    const QImage in = rgb32Pixels(source);
    Bitmap result = unpaintedRgb32(width, height);
    QImage& out = result.rgb32();
    uchar* bits = out.bits();
    const qsizetype stride = out.bytesPerLine();
    const Steps columns = steps(source.width(), width);
    const Steps rows = steps(source.height(), height);
    std::vector<QRgb> combined(size_t(source.width()));
    for (int y = 0; y < height; ++y) {
        QRgb* target = writableRow(bits, stride, y);
        const int first = rows.first[size_t(y)];
        const int last = rows.last[size_t(y)];
        if (y > 0 && first == rows.first[size_t(y) - 1]) {
            // The same source row as the target row above.
            std::memcpy(target, writableRow(bits, stride, y - 1), size_t(width) * sizeof(QRgb));
            continue;
        }
        const QRgb* line = pixelRow(in, first);
        if (last > first) {
            andRows(combined.data(), line, pixelRow(in, first + 1), source.width());
            for (int s = first + 2; s <= last; ++s)
                andRow(combined.data(), pixelRow(in, s), source.width());
            line = combined.data();
        }
        stretchRow(line, target, columns, width);
    }
    return result;
}

} // namespace pelmora
