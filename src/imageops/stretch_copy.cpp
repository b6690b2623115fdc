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
// target i takes sources [first[i], first[i + 1]). Enlarging, target i takes
// the one source i * from / to; reducing, source j falls onto target
// j * to / from, so every source position counts exactly once.
std::vector<int> sourceSpans(int from, int to) {
    std::vector<int> first(size_t(to) + 1);
    if (to >= from) {
        for (int i = 0; i < to; ++i)
            first[size_t(i)] = int(qint64(i) * from / to);
        first[size_t(to)] = from;
    } else {
        for (int i = 0; i <= to; ++i)
            first[size_t(i)] = int((qint64(i) * from + to - 1) / to);
    }
    return first;
}

PELMORA_ROW_LOOP void andRows(QRgb* __restrict into, const QRgb* row, int width) {
    for (int x = 0; x < width; ++x)
        into[x] &= row[x];
}

// One target row from one source row, along x.
PELMORA_ROW_LOOP void stretchRow(const QRgb* in, QRgb* __restrict out, const std::vector<int>& spans, bool enlarging, int width) {
    if (enlarging) {
        for (int x = 0; x < width; ++x)
            out[x] = in[spans[size_t(x)]];
        return;
    }
    for (int x = 0; x < width; ++x) {
        QRgb c = in[spans[size_t(x)]];
        for (int s = spans[size_t(x)] + 1; s < spans[size_t(x) + 1]; ++s)
            c &= in[s];
        out[x] = c;
    }
}

} // namespace

Bitmap stretched(const Bitmap& source, int width, int height) {
    if (width <= 0 || height <= 0)
        return unpaintedRgb32(width, height);
    if (source.isEmpty())
        return Bitmap::white(width, height);
    const QImage in = rgb32Pixels(source);
    Bitmap result = unpaintedRgb32(width, height, in.constBits());
    QImage& out = result.rgb32();
    uchar* bits = out.bits();
    const qsizetype stride = out.bytesPerLine();
    const std::vector<int> columns = sourceSpans(source.width(), width);
    const std::vector<int> rows = sourceSpans(source.height(), height);
    const bool widening = width >= source.width();
    std::vector<QRgb> combined;
    for (int y = 0; y < height; ++y) {
        QRgb* target = writableRow(bits, stride, y);
        const int first = rows[size_t(y)];
        const int last = rows[size_t(y) + 1];
        if (y > 0 && first == rows[size_t(y) - 1]) {
            // The same source row as the target row above.
            std::memcpy(target, writableRow(bits, stride, y - 1), size_t(width) * sizeof(QRgb));
            continue;
        }
        const QRgb* line = pixelRow(in, first);
        if (last - first > 1) {
            combined.assign(line, line + source.width());
            for (int s = first + 1; s < last; ++s)
                andRows(combined.data(), pixelRow(in, s), source.width());
            line = combined.data();
        }
        stretchRow(line, target, columns, widening, width);
    }
    return result;
}

} // namespace pelmora
