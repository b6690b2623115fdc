// SPDX-License-Identifier: GPL-2.0-or-later
#include "offset_subject.h"

// Qt
#include <QCoreApplication>
#include <QPainter>

// Local
#include "connected_background.h"
#include "distance_offset.h"
#include "pelmora_error.h"
#include "pixel_rows.h"

// Std
#include <cmath>

namespace pelmora::batch {

namespace {

// The subject's pixels as a mask on a canvas `margin` wider on every side.
QImage subjectMask(const Bitmap& picture, const Background& background, int margin) {
    const QImage marks = backgroundMarks(picture, background.colour);
    QImage mask = allocateImage(picture.width() + 2 * margin, picture.height() + 2 * margin,
                                QImage::Format_Grayscale8);
    mask.fill(0);
    for (int y = 0; y < picture.height(); ++y) {
        const uchar* mark = marks.constScanLine(y);
        uchar* out = mask.scanLine(y + margin) + margin;
        for (int x = 0; x < picture.width(); ++x)
            out[x] = uchar(!isBackgroundMark(mark[x], background.solid));
    }
    return mask;
}

bool isBlank(const QImage& mask) {
    for (int y = 0; y < mask.height(); ++y) {
        const uchar* row = mask.constScanLine(y);
        if (std::any_of(row, row + mask.width(), [](uchar inside) { return inside != 0; }))
            return false;
    }
    return true;
}

} // namespace

OffsetSubject offsetSubject(const Bitmap& picture, const Background& background, double pixels, Colour ink) {
    OffsetSubject offset;
    offset.margin = pixels > 0 ? int(std::ceil(pixels)) : 0;
    const QImage subject = subjectMask(picture, background, offset.margin);
    QImage mask = pixels >= 0 ? grownMask(subject, pixels) : shrunkMask(subject, -pixels);
    if (isBlank(mask))
        throw PelmoraError(QCoreApplication::translate("batch", "the offset leaves nothing of the subject"));

    const QRgb ground = rgbFromColour(background.colour);
    QRgb paint = rgbFromColour(resolveColour(ink));
    if ((paint & kRgbBits) == (ground & kRgbBits))
        paint = (ground & kRgbBits) == 0 ? 0xFFFFFFFFu : 0xFF000000u;
    mask.reinterpretAsFormat(QImage::Format_Indexed8);
    mask.setColorTable({ground, paint});
    offset.silhouette = Bitmap(mask);

    if (offset.margin == 0) {
        offset.canvas = picture;
        return offset;
    }
    QImage canvas = allocateImage(mask.width(), mask.height(), QImage::Format_RGB32);
    canvas.fill(ground);
    QPainter painter(&canvas);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(offset.margin, offset.margin, picture.image());
    painter.end();
    offset.canvas = Bitmap(canvas);
    return offset;
}

Bitmap outlinedAtOffset(const OffsetSubject& offset, Colour colour) {
    Bitmap result = offset.canvas;
    QImage& out = result.rgb32();
    const QImage& mask = offset.silhouette.image();
    const QRgb paint = rgbFromColour(resolveColour(colour));
    const auto inside = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < mask.width() && y < mask.height() && mask.constScanLine(y)[x] != 0;
    };
    for (int y = 0; y < mask.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < mask.width(); ++x)
            if (!inside(x, y) && (inside(x - 1, y) || inside(x + 1, y) || inside(x, y - 1) || inside(x, y + 1)))
                row[x] = paint;
    }
    return result;
}

} // namespace pelmora::batch
