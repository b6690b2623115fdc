#include "rotate_mirror.h"

// Std
#include <stdexcept>

namespace pelmora {

Bitmap rotateOrFlipPicture(const Bitmap& picture, int code) {
    const int w = picture.width();
    const int h = picture.height();
    const bool quarter = code == kTurn90 || code == kTurn270;
    if (!quarter && code != kTurn180 && code != kMirrorLeftRight && code != kMirrorTopBottom)
        throw std::invalid_argument("unknown turn or mirror code");
    Bitmap result;
    result.setWidth(quarter ? h : w);
    result.setHeight(quarter ? w : h);
    QImage& out = result.rgb32();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QRgb c = rgbFromColour(picture.pixel(x, y));
            switch (code) {
            case kTurn90: out.setPixel(h - 1 - y, x, c); break;
            case kTurn180: out.setPixel(w - 1 - x, h - 1 - y, c); break;
            case kTurn270: out.setPixel(y, w - 1 - x, c); break;
            case kMirrorLeftRight: out.setPixel(w - 1 - x, y, c); break;
            default: out.setPixel(x, h - 1 - y, c); break;
            }
        }
    return result;
}

} // namespace pelmora
