#include "outline.h"

// Local
#include "pixel_rows.h"

// Std
#include <algorithm>
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

// One result row from the original rows above, at and below it. A missing
// neighbour row is stood in by the row itself, and a missing side neighbour
// by the pixel itself: only a background pixel can be painted, and it is
// never a subject, so a stand-in never paints anything.
PELMORA_ROW_LOOP void outlineRow(const QRgb* above, const QRgb* row, const QRgb* below, QRgb* __restrict out,
                                  int width, const OutlineColours& k) {
    const QRgb bg = k.background;
    const QRgb ol = k.outline;
    const QRgb paint = k.paint;
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

} // namespace

// The scan paints only background pixels, in the outline colour, which
// never counts as subject; so which pixels are subject never changes and
// every result pixel follows from the original picture alone: a row is made
// from three original rows.
Bitmap outlined(const Bitmap& source, Colour outlineColour) {
    if (source.isEmpty()) {
        Bitmap result = source;
        result.rgb32();
        return result;
    }
    const int width = source.width();
    const int height = source.height();
    const QRgb paint = rgbFromColour(resolveColour(outlineColour));
    const OutlineColours k{rgbFromColour(source.pixel(0, 0)) & kRgbBits, paint & kRgbBits, paint};
    Bitmap result;
    if (source.format() == QImage::Format_RGB32) {
        result = unpaintedRgb32(width, height);
        QImage& out = result.rgb32();
        uchar* bits = out.bits();
        const QImage& in = source.image();
        for (int y = 0; y < height; ++y) {
            const QRgb* row = pixelRow(in, y);
            outlineRow(y > 0 ? pixelRow(in, y - 1) : row, row, y + 1 < height ? pixelRow(in, y + 1) : row,
                       writableRow(bits, out.bytesPerLine(), y), width, k);
        }
    } else {
        // Widened in place, keeping the original of the row above and of
        // the current row: the result is the only picture-sized buffer.
        result = source;
        QImage& out = result.rgb32();
        uchar* bits = out.bits();
        std::vector<QRgb> above(static_cast<size_t>(width));
        std::vector<QRgb> current(static_cast<size_t>(width));
        for (int y = 0; y < height; ++y) {
            QRgb* row = writableRow(bits, out.bytesPerLine(), y);
            const QRgb* below = y + 1 < height ? writableRow(bits, out.bytesPerLine(), y + 1) : current.data();
            std::copy_n(row, width, current.data());
            outlineRow(y > 0 ? above.data() : current.data(), current.data(), below, row, width, k);
            above.swap(current);
        }
    }
    return result;
}

const Bitmap& makeOutline(ImageDocument& document, Colour outlineColour) {
    document.OutlineImage = outlined(document.SourceImage, outlineColour);
    document.OutlineDone = true;
    armViewCycle(document, MadeOperation::Outline);
    return document.OutlineImage;
}

} // namespace pelmora
