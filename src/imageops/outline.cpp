#include "outline.h"

namespace pelmora {

Bitmap outlined(const Bitmap& source, Colour outlineColour) {
    Bitmap result = source;
    QImage& image = result.rgb32();
    if (result.isEmpty())
        return result;
    const QImage original = image.copy();
    const QRgb mask = 0xFFFFFFu;
    const QRgb background = original.pixel(0, 0) & mask;
    const QRgb outline = rgbFromColour(resolveColour(outlineColour));
    const auto isSubject = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= original.width() || y >= original.height())
            return false;
        const QRgb c = original.pixel(x, y) & mask;
        return c != background && c != (outline & mask);
    };
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((original.pixel(x, y) & mask) == background
                && (isSubject(x - 1, y) || isSubject(x + 1, y) || isSubject(x, y - 1) || isSubject(x, y + 1)))
                image.setPixel(x, y, outline);
    return result;
}

const Bitmap& makeOutline(ImageDocument& document, Colour outlineColour) {
    document.OutlineImage = outlined(document.SourceImage, outlineColour);
    document.OutlineDone = true;
    armViewCycle(document, MadeOperation::Outline);
    return document.OutlineImage;
}

} // namespace pelmora
