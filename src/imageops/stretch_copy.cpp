#include "stretch_copy.h"

// Std
#include <algorithm>

namespace pelmora {

namespace {

// The source positions [first, last) that fall onto target position i.
std::pair<int, int> sourceSpan(int i, int from, int to) {
    if (to >= from) {
        const int s = int(qint64(i) * from / to);
        return {s, s + 1};
    }
    const auto firstOf = [&](int t) { return int((qint64(t) * from + to - 1) / to); };
    return {firstOf(i), firstOf(i + 1)};
}

} // namespace

Bitmap stretched(const Bitmap& source, int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    Bitmap result;
    result.setWidth(width);
    result.setHeight(height);
    if (result.isEmpty() || source.isEmpty())
        return result;
    QImage& out = result.rgb32();
    for (int ty = 0; ty < height; ++ty) {
        const auto [y0, y1] = sourceSpan(ty, source.height(), height);
        for (int tx = 0; tx < width; ++tx) {
            const auto [x0, x1] = sourceSpan(tx, source.width(), width);
            Colour c = kWhite;
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x)
                    c &= source.pixel(x, y);
            out.setPixel(tx, ty, rgbFromColour(c));
        }
    }
    return result;
}

} // namespace pelmora
