// SPDX-License-Identifier: GPL-2.0-or-later
#include "subject_shadow.h"

// Local
#include "connected_background.h"
#include "pixel_rows.h"

// Std
#include <vector>

namespace pelmora {

namespace {

// Rows outside the picture stand in as all background.
const uchar* markRowOr(const QImage& marks, int y, const uchar* outside) {
    return y < 0 || y >= marks.height() ? outside : marks.constScanLine(y);
}

// Whether pixel x of `row` has an edge neighbour of the other class.
inline bool besideOther(const uchar* above, const uchar* row, const uchar* below, int x, int width) {
    const bool subject = row[x] == kSubjectPixel;
    const bool left = x > 0 ? row[x - 1] == kSubjectPixel : !subject;
    const bool right = x + 1 < width ? row[x + 1] == kSubjectPixel : !subject;
    return left != subject || right != subject || (above[x] == kSubjectPixel) != subject
           || (below[x] == kSubjectPixel) != subject;
}

PELMORA_ROW_LOOP void fillSubjectRow(const uchar* marks, QRgb* row, int width, QRgb paint) {
    for (int x = 0; x < width; ++x)
        row[x] = marks[x] == kSubjectPixel ? paint : row[x];
}

} // namespace

Bitmap filledSubject(Bitmap picture, const QImage& marks, Colour fillColour) {
    if (picture.isEmpty())
        return picture;
    QImage& image = picture.rgb32();
    const QRgb paint = rgbFromColour(resolveColour(fillColour));
    for (int y = 0; y < image.height(); ++y)
        fillSubjectRow(marks.constScanLine(y), writableRow(image.bits(), image.bytesPerLine(), y), image.width(),
                       paint);
    return picture;
}

Bitmap outlinedSubject(Bitmap picture, const QImage& marks, Colour outlineColour) {
    if (picture.isEmpty())
        return picture;
    QImage& image = picture.rgb32();
    const QRgb paint = rgbFromColour(resolveColour(outlineColour));
    const int width = image.width();
    const std::vector<uchar> outside(size_t(width), kOpenBackground);
    for (int y = 0; y < image.height(); ++y) {
        const uchar* above = markRowOr(marks, y - 1, outside.data());
        const uchar* row = marks.constScanLine(y);
        const uchar* below = markRowOr(marks, y + 1, outside.data());
        QRgb* out = writableRow(image.bits(), image.bytesPerLine(), y);
        for (int x = 0; x < width; ++x)
            if (row[x] != kSubjectPixel && besideOther(above, row, below, x, width))
                out[x] = paint;
    }
    return picture;
}

QImage subjectAlpha(const QImage& marks, const QImage& edgeAlpha, bool outline) {
    if (marks.isNull())
        return QImage();
    const int width = marks.width();
    QImage alpha = allocateImage(width, marks.height(), QImage::Format_Alpha8);
    const std::vector<uchar> outside(size_t(width), kOpenBackground);
    for (int y = 0; y < marks.height(); ++y) {
        const uchar* above = markRowOr(marks, y - 1, outside.data());
        const uchar* row = marks.constScanLine(y);
        const uchar* below = markRowOr(marks, y + 1, outside.data());
        const uchar* soft = edgeAlpha.isNull() ? nullptr : edgeAlpha.constScanLine(y);
        uchar* out = alpha.scanLine(y);
        for (int x = 0; x < width; ++x) {
            const bool subject = row[x] == kSubjectPixel;
            if (!subject && !outline) {
                out[x] = 0;
                continue;
            }
            const bool edge = besideOther(above, row, below, x, width);
            if (subject)
                out[x] = soft && edge ? soft[x] : 0xFF;
            else
                out[x] = edge ? 0xFF : 0;
        }
    }
    return alpha;
}

QImage marksOfCover(const QImage& alpha) {
    if (alpha.isNull())
        return QImage();
    QImage marks = allocateImage(alpha.width(), alpha.height(), QImage::Format_Grayscale8);
    for (int y = 0; y < alpha.height(); ++y) {
        const uchar* in = alpha.constScanLine(y);
        uchar* out = marks.scanLine(y);
        for (int x = 0; x < alpha.width(); ++x)
            out[x] = in[x] != 0 ? kSubjectPixel : kOpenBackground;
    }
    return marks;
}

} // namespace pelmora
