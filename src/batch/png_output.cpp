// SPDX-License-Identifier: GPL-2.0-or-later
#include "png_output.h"

// Qt
#include <QBuffer>
#include <QImageWriter>

// Local
#include "connected_background.h"
#include "pelmora_error.h"
#include "pixel_rows.h"

namespace pelmora::batch {

namespace {

QByteArray encoded(const QImage& image) {
    if (image.isNull())
        throw PelmoraError(QStringLiteral("a PNG cannot hold a picture of no pixels"));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image))
        throw PelmoraError(QStringLiteral("the PNG could not be made: %1").arg(writer.errorString()));
    return bytes;
}

} // namespace

QByteArray encodeOpaquePng(const Bitmap& picture) {
    return encoded(picture.image());
}

QByteArray encodeTransparentPng(const Bitmap& picture, const Bitmap& plain, const Background& background,
                                const QImage& alpha) {
    if (picture.isEmpty())
        return encoded(QImage());
    const QImage pixels = rgb32Pixels(picture);
    if (!alpha.isNull()) {
        QImage out = allocateImage(picture.width(), picture.height(), QImage::Format_ARGB32);
        for (int y = 0; y < out.height(); ++y) {
            const QRgb* in = pixelRow(pixels, y);
            const uchar* a = alpha.constScanLine(y);
            auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
            for (int x = 0; x < out.width(); ++x)
                row[x] = (in[x] & kRgbBits) | QRgb(a[x]) << 24;
        }
        return encoded(out);
    }
    const QImage marks = backgroundMarks(plain, background.colour);
    const QRgb key = rgbFromColour(background.colour) & kRgbBits;
    QImage out = allocateImage(picture.width(), picture.height(), QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        const QRgb* in = pixelRow(pixels, y);
        const uchar* mark = marks.constScanLine(y);
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const bool transparent = (in[x] & kRgbBits) == key && isBackgroundMark(mark[x], background.solid);
            row[x] = transparent ? in[x] & kRgbBits : in[x] | 0xFF000000u;
        }
    }
    return encoded(out);
}

} // namespace pelmora::batch
