#include "fill.h"

// Local
#include "pixel_rows.h"

namespace pelmora {

namespace {

// in and out may be the same row.
PELMORA_ROW_LOOP void fillRow(const QRgb* in, QRgb* out, int width, QRgb background, QRgb paint) {
    for (int x = 0; x < width; ++x) {
        const QRgb c = in[x];
        out[x] = (c & kRgbBits) != background ? paint : c;
    }
}

} // namespace

// The scan reads the background afresh at each pixel, but pixel (0, 0) is
// never painted, so the background is the source's top-left colour
// throughout and every pixel can be decided on its own.
Bitmap filled(const Bitmap& source, Colour fillColour) {
    if (source.isEmpty()) {
        Bitmap result = source;
        result.rgb32();
        return result;
    }
    const int width = source.width();
    const int height = source.height();
    const QRgb background = rgbFromColour(source.pixel(0, 0)) & kRgbBits;
    const QRgb paint = rgbFromColour(resolveColour(fillColour));
    Bitmap result;
    if (source.format() == QImage::Format_RGB32) {
        result = unpaintedRgb32(width, height);
        QImage& out = result.rgb32();
        uchar* bits = out.bits();
        for (int y = 0; y < height; ++y)
            fillRow(pixelRow(source.image(), y), writableRow(bits, out.bytesPerLine(), y), width, background, paint);
    } else {
        // Widened in place: the result is the only picture-sized buffer.
        result = source;
        QImage& out = result.rgb32();
        uchar* bits = out.bits();
        for (int y = 0; y < height; ++y) {
            QRgb* row = writableRow(bits, out.bytesPerLine(), y);
            fillRow(row, row, width, background, paint);
        }
    }
    return result;
}

const Bitmap& makeFill(ImageDocument& document, Colour fillColour) {
    document.FillImage = filled(document.SourceImage, fillColour);
    document.FillDone = true;
    armViewCycle(document, MadeOperation::Fill);
    return document.FillImage;
}

} // namespace pelmora
