#include "pixel_rows.h"

// Local
#include "pelmora_error.h"

// Std
#include <algorithm>

namespace pelmora {

Bitmap unpaintedRgb32(int width, int height) {
    if (width > 0 && height > 0)
        return Bitmap(allocateImage(width, height, QImage::Format_RGB32));
    Bitmap empty;
    empty.setWidth(std::max(width, 0));
    empty.setHeight(std::max(height, 0));
    return empty;
}

QImage rgb32Pixels(const Bitmap& picture) {
    if (picture.isEmpty() || picture.format() == QImage::Format_RGB32)
        return picture.image();
    QImage wide = picture.image().convertToFormat(QImage::Format_RGB32);
    if (wide.isNull())
        throw PelmoraError(outOfMemoryText());
    return wide;
}

} // namespace pelmora
