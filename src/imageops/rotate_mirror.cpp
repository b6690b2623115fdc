#include "rotate_mirror.h"

// Local
#include "pixel_rows.h"

// Std
#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace pelmora {

namespace {

// A tile of a quarter turn: source rows are read a short stretch each and
// target rows written a short stretch each, all within the first-level cache.
constexpr int kTileRows = 64;
constexpr int kTileColumns = 32;

struct Planes {
    const uchar* in;
    qsizetype inStride;
    uchar* out;
    qsizetype outStride;
    int width;   // of the source
    int height;
};

const QRgb* inRow(const Planes& p, int y) { return reinterpret_cast<const QRgb*>(p.in + p.inStride * y); }
QRgb* outRow(const Planes& p, int y) { return reinterpret_cast<QRgb*>(p.out + p.outStride * y); }

PELMORA_ROW_LOOP void reverseRow(const QRgb* in, QRgb* __restrict out, int width) {
    for (int x = 0; x < width; ++x)
        out[width - 1 - x] = in[x];
}

// Source (x, y) goes to (height - 1 - y, x) when clockwise, else to
// (y, width - 1 - x).
PELMORA_ROW_LOOP void quarterTurn(const Planes& p, bool clockwise) {
    for (int y0 = 0; y0 < p.height; y0 += kTileRows) {
        const int y1 = std::min(y0 + kTileRows, p.height);
        for (int x0 = 0; x0 < p.width; x0 += kTileColumns) {
            const int x1 = std::min(x0 + kTileColumns, p.width);
            for (int x = x0; x < x1; ++x) {
                if (clockwise) {
                    QRgb* out = outRow(p, x) + (p.height - 1);
                    for (int y = y0; y < y1; ++y)
                        out[-y] = inRow(p, y)[x];
                } else {
                    QRgb* out = outRow(p, p.width - 1 - x);
                    for (int y = y0; y < y1; ++y)
                        out[y] = inRow(p, y)[x];
                }
            }
        }
    }
}

} // namespace

Bitmap rotateOrFlipPicture(const Bitmap& picture, int code) {
    const bool quarter = code == kTurn90 || code == kTurn270;
    if (!quarter && code != kTurn180 && code != kMirrorLeftRight && code != kMirrorTopBottom)
        throw std::invalid_argument("unknown turn or mirror code");
    const int width = picture.width();
    const int height = picture.height();
    const QImage in = rgb32Pixels(picture);
    Bitmap result = quarter ? unpaintedRgb32(height, width, in.constBits())
                            : unpaintedRgb32(width, height, in.constBits());
    if (result.isEmpty())
        return result;
    QImage& out = result.rgb32();
    const Planes p{in.constBits(), in.bytesPerLine(), out.bits(), out.bytesPerLine(), width, height};
    switch (code) {
    case kTurn90:
    case kTurn270:
        quarterTurn(p, code == kTurn90);
        break;
    case kTurn180:
        for (int y = 0; y < height; ++y)
            reverseRow(inRow(p, y), outRow(p, height - 1 - y), width);
        break;
    case kMirrorLeftRight:
        for (int y = 0; y < height; ++y)
            reverseRow(inRow(p, y), outRow(p, y), width);
        break;
    case kMirrorTopBottom:
        for (int y = 0; y < height; ++y)
            std::memcpy(outRow(p, height - 1 - y), inRow(p, y), size_t(width) * sizeof(QRgb));
        break;
    }
    return result;
}

} // namespace pelmora
