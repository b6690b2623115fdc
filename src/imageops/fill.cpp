// SPDX-License-Identifier: GPL-2.0-or-later
#include "fill.h"

// Local
#include "pixel_rows.h"

// Std
#include <array>
#include <utility>

namespace pelmora {

PELMORA_ROW_LOOP void fillRow(const QRgb* in, QRgb* out, int width, QRgb background, QRgb paint) {
    background &= kRgbBits;
    for (int x = 0; x < width; ++x) {
        const QRgb c = in[x];
        out[x] = (c & kRgbBits) != background ? paint : c;
    }
}

namespace {

// A palette picture whose palette holds the fill colour keeps its format:
// each index maps to itself or to the fill colour's.
Bitmap filledIndexed(Bitmap picture, QRgb background, int paintIndex) {
    QImage& image = picture.ownedImage();
    const QList<QRgb> table = image.colorTable();
    std::array<uchar, 256> map {};
    for (qsizetype i = 0; i < table.size(); ++i)
        map[size_t(i)] = (table[i] & kRgbBits) != background ? uchar(paintIndex) : uchar(i);
    if (image.depth() == 1) {
        // Index 0 or 1 that is not background becomes the fill colour's, so
        // the picture is either unchanged or all one index.
        if (map[0] == map[1])
            image.fill(uint(map[0]));
        return picture;
    }
    for (int y = 0; y < image.height(); ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x)
            row[x] = map[row[x]];
    }
    return picture;
}

} // namespace

// The scan reads the background afresh at each pixel, but pixel (0, 0) is
// never painted, so the background is the source's top-left colour
// throughout and every pixel can be decided on its own.
Bitmap filled(Bitmap source, Colour fillColour) {
    if (source.isEmpty()) {
        source.rgb32();
        return source;
    }
    const int width = source.width();
    const int height = source.height();
    const QRgb background = rgbFromColour(source.pixel(0, 0)) & kRgbBits;
    const QRgb paint = rgbFromColour(resolveColour(fillColour));
    if (isIndexed(source.format())) {
        const int paintIndex = paletteIndex(source.image(), paint);
        if (paintIndex >= 0)
            return filledIndexed(std::move(source), background, paintIndex);
    }
    if (source.format() == QImage::Format_RGB32 && !source.image().isDetached()) {
        // The source is shared: a new picture, written once.
        Bitmap result(allocateImage(width, height, QImage::Format_RGB32), source.bitsPerPixel());
        QImage& out = result.rgb32();
        uchar* bits = out.bits();
        for (int y = 0; y < height; ++y)
            fillRow(pixelRow(source.image(), y), writableRow(bits, out.bytesPerLine(), y), width, background, paint);
        return result;
    }
    // In place, widened first where needed: the result is the only
    // picture-sized buffer.
    QImage& out = source.rgb32();
    uchar* bits = out.bits();
    for (int y = 0; y < height; ++y) {
        QRgb* row = writableRow(bits, out.bytesPerLine(), y);
        fillRow(row, row, width, background, paint);
    }
    return source;
}

const Bitmap& makeFill(ImageDocument& document, Colour fillColour) {
    document.FillImage = filled(document.SourceImage, fillColour);
    document.FillDone = true;
    armViewCycle(document, MadeOperation::Fill);
    return document.FillImage;
}

} // namespace pelmora
