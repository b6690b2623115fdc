// SPDX-License-Identifier: GPL-2.0-or-later
#include "outline.h"

// Local
#include "pixel_rows.h"

// Std
#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace pelmora {

namespace {

struct OutlineColours {
    QRgb background;   // 24 bits
    QRgb outline;      // 24 bits
    QRgb paint;        // the outline colour as stored
};

// 1 for a pixel that gives the background next to it an outline. Flags are
// integers, not bools, so that the row loop vectorises.
inline quint32 subject(QRgb c, QRgb background, QRgb outline) {
    c &= kRgbBits;
    return quint32(c != background) & quint32(c != outline);
}

inline QRgb decide(QRgb c, quint32 touches, QRgb background, QRgb paint) {
    return (quint32((c & kRgbBits) == background) & touches) ? paint : c;
}

} // namespace

// A missing side neighbour is stood in by the pixel itself: only a
// background pixel can be painted, and it is never a subject, so a
// stand-in never paints anything.
PELMORA_ROW_LOOP void outlineRow(const QRgb* above, const QRgb* row, const QRgb* below, QRgb* __restrict out,
                                  int width, QRgb background, QRgb paint) {
    const QRgb bg = background & kRgbBits;
    const QRgb ol = paint & kRgbBits;
    const auto vertical = [&](int x) { return subject(above[x], bg, ol) | subject(below[x], bg, ol); };
    if (width == 1) {
        out[0] = decide(row[0], vertical(0), bg, paint);
        return;
    }
    out[0] = decide(row[0], vertical(0) | subject(row[1], bg, ol), bg, paint);
    for (int x = 1; x < width - 1; ++x) {
        const quint32 touches = subject(row[x - 1], bg, ol) | subject(row[x + 1], bg, ol)
                                | subject(above[x], bg, ol) | subject(below[x], bg, ol);
        out[x] = decide(row[x], touches, bg, paint);
    }
    out[width - 1] = decide(row[width - 1], vertical(width - 1) | subject(row[width - 2], bg, ol), bg, paint);
}

namespace {

// A palette picture whose palette holds the outline colour keeps its
// format. Painting turns background into outline colour, neither of which
// is subject, so the subject flags of painted rows stay true to the source.
Bitmap outlinedIndexed(Bitmap picture, const OutlineColours& k, int paintIndex) {
    QImage& image = picture.ownedImage();
    const QList<QRgb> table = image.colorTable();
    std::array<uchar, 256> isSubject {};
    std::array<uchar, 256> isBackground {};
    for (qsizetype i = 0; i < table.size(); ++i) {
        isSubject[size_t(i)] = uchar(subject(table[i], k.background, k.outline));
        isBackground[size_t(i)] = uchar((table[i] & kRgbBits) == k.background);
    }
    const int width = image.width();
    const int height = image.height();
    // Subject flags of the rows above, at and below, with a zero column on
    // each side so that the picture's border needs no test.
    std::vector<uchar> flags(size_t(width + 2) * 3);
    std::vector<uchar> indices(static_cast<size_t>(width));
    const auto flagRow = [&](int y) { return flags.data() + size_t(y % 3) * size_t(width + 2) + 1; };
    const auto fillFlags = [&](int y) {
        readIndices(image, y, indices.data());
        uchar* row = flagRow(y);
        for (int x = 0; x < width; ++x)
            row[x] = isSubject[indices[size_t(x)]];
    };
    const std::vector<uchar> none(size_t(width + 2));
    fillFlags(0);
    for (int y = 0; y < height; ++y) {
        if (y + 1 < height)
            fillFlags(y + 1);
        const uchar* above = y > 0 ? flagRow(y - 1) : none.data() + 1;
        const uchar* below = y + 1 < height ? flagRow(y + 1) : none.data() + 1;
        const uchar* here = flagRow(y);
        readIndices(image, y, indices.data());
        for (int x = 0; x < width; ++x)
            if (isBackground[indices[size_t(x)]] && (here[x - 1] | here[x + 1] | above[x] | below[x]))
                image.setPixel(x, y, uint(paintIndex));
    }
    return picture;
}

} // namespace

// The scan paints only background pixels, in the outline colour, which
// never counts as subject; so which pixels are subject never changes and
// every result pixel follows from the original picture alone: a row is made
// from three original rows.
Bitmap outlined(Bitmap source, Colour outlineColour) {
    if (source.isEmpty()) {
        source.rgb32();
        return source;
    }
    const int width = source.width();
    const int height = source.height();
    const QRgb paint = rgbFromColour(resolveColour(outlineColour));
    const OutlineColours k{rgbFromColour(source.pixel(0, 0)) & kRgbBits, paint & kRgbBits, paint};
    if (isIndexed(source.format())) {
        const int paintIndex = paletteIndex(source.image(), paint);
        if (paintIndex >= 0)
            return outlinedIndexed(std::move(source), k, paintIndex);
    }
    if (source.format() == QImage::Format_RGB32 && !source.image().isDetached()) {
        // The source is shared: a new picture, written once.
        Bitmap result(allocateImage(width, height, QImage::Format_RGB32), source.bitsPerPixel());
        QImage& out = result.rgb32();
        uchar* bits = out.bits();
        const QImage& in = source.image();
        for (int y = 0; y < height; ++y) {
            const QRgb* row = pixelRow(in, y);
            outlineRow(y > 0 ? pixelRow(in, y - 1) : row, row, y + 1 < height ? pixelRow(in, y + 1) : row,
                       writableRow(bits, out.bytesPerLine(), y), width, k.background, k.paint);
        }
        return result;
    }
    // In place, widened first where needed, keeping the original of the row
    // above and of the current row: the result is the only picture-sized
    // buffer.
    QImage& out = source.rgb32();
    uchar* bits = out.bits();
    std::vector<QRgb> above(static_cast<size_t>(width));
    std::vector<QRgb> current(static_cast<size_t>(width));
    for (int y = 0; y < height; ++y) {
        QRgb* row = writableRow(bits, out.bytesPerLine(), y);
        const QRgb* below = y + 1 < height ? writableRow(bits, out.bytesPerLine(), y + 1) : current.data();
        std::copy_n(row, width, current.data());
        outlineRow(y > 0 ? above.data() : current.data(), current.data(), below, row, width, k.background, k.paint);
        above.swap(current);
    }
    return source;
}

const Bitmap& makeOutline(ImageDocument& document, Colour outlineColour) {
    document.OutlineImage = outlined(document.SourceImage, outlineColour);
    document.OutlineDone = true;
    armViewCycle(document, MadeOperation::Outline);
    return document.OutlineImage;
}

} // namespace pelmora
