// SPDX-License-Identifier: GPL-2.0-or-later
#include "marked_subject.h"

// Local
#include "connected_background.h"
#include "despeckle.h"
#include "subject_marks.h"

namespace pelmora::batch {

bool needsMarks(const Options& options) {
    return options.backgroundColour || options.fuzz || options.despeckle > 0 || options.edges == Edges::Smooth;
}

QImage subjectMarks(const Bitmap& picture, const QImage& alpha, const Options& options) {
    const Colour background = options.backgroundColour.value_or(picture.isEmpty() ? kWhite : picture.pixel(0, 0));
    QImage marks = alpha.isNull() ? marksByColour(picture, background, options.fuzz.value_or(0), options.solid)
                                  : marksByAlpha(alpha, options.alphaThreshold, options.solid);
    if (alpha.isNull() && options.fuzz.value_or(0) > 0)
        trimHalfCovered(marks, picture, background);
    despeckle(marks, options.despeckle);
    return marks;
}

Bitmap flattenedByMarks(const Bitmap& picture, const QImage& marks) {
    QImage flat = picture.image().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < flat.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(flat.scanLine(y));
        const uchar* mark = marks.constScanLine(y);
        for (int x = 0; x < flat.width(); ++x) {
            if (isBackgroundMark(mark[x], false))
                row[x] = 0xFFFFFFFFu;
            else if ((row[x] & 0xFFFFFFu) == 0xFFFFFFu)
                row[x] = 0xFFFEFEFEu;
        }
    }
    return Bitmap(flat);
}

} // namespace pelmora::batch
