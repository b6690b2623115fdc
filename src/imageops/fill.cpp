#include "fill.h"

namespace pelmora {

Bitmap filled(const Bitmap& source, Colour fillColour) {
    Bitmap result = source;
    QImage& image = result.rgb32();
    if (result.isEmpty())
        return result;
    const QRgb mask = 0xFFFFFFu;
    const QRgb background = image.pixel(0, 0) & mask;
    const QRgb fill = rgbFromColour(resolveColour(fillColour));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & mask) != background)
                image.setPixel(x, y, fill);
    return result;
}

const Bitmap& makeFill(ImageDocument& document, Colour fillColour) {
    document.FillImage = filled(document.SourceImage, fillColour);
    document.FillDone = true;
    armViewCycle(document, MadeOperation::Fill);
    return document.FillImage;
}

} // namespace pelmora
