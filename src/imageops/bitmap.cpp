// SPDX-License-Identifier: GPL-2.0-or-later
#include "bitmap.h"

// Local
#include "pelmora_error.h"
#include "picture_memory.h"
#include "pixel_rows.h"

// Qt
#include <QPainter>

// Std
#include <algorithm>
#include <cstring>

namespace pelmora {

namespace {

bool isKeptFormat(QImage::Format f) {
    switch (f) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
    case QImage::Format_Indexed8:
    case QImage::Format_RGB32:
    case QImage::Format_RGB888:
        return true;
    default:
        return false;
    }
}

QImage checked(QImage image) {
    if (image.isNull())
        throw PelmoraError(outOfMemoryText());
    return image;
}

// Any image as one of the kept formats, colour bits unchanged.
QImage normalised(const QImage& image) {
    if (image.isNull() || isKeptFormat(image.format()))
        return image;
    if (!image.hasAlphaChannel())
        return checked(image.convertToFormat(QImage::Format_RGB32));
    // Converting to RGB32 would blend the colours onto black; alpha plays no
    // part here, so keep the colour bits and make every pixel opaque.
    QImage opaque = checked(image.convertToFormat(QImage::Format_ARGB32));
    for (int y = 0; y < opaque.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(opaque.scanLine(y));
        for (int x = 0; x < opaque.width(); ++x)
            line[x] |= 0xFF000000u;
    }
    opaque.reinterpretAsFormat(QImage::Format_RGB32);
    return opaque;
}

// Smaller pictures come cheaply from the heap.
constexpr qint64 kRecycledFrom = qint64(1) << 20;

qint64 bytesPerLineOf(int width, QImage::Format format) {
    return (qint64(width) * QImage::toPixelFormat(format).bitsPerPixel() + 31) / 32 * 4;
}

} // namespace

QImage allocateImage(int width, int height, QImage::Format format) {
    if (width <= 0 || height <= 0)
        return QImage();
    const qint64 bytesPerLine = bytesPerLineOf(width, format);
    const qint64 bytes = bytesPerLine * height;
    // Beyond its share of the machine's memory a picture would only thrash or be killed.
    if (bytes > pictureMemoryCap())
        throw PelmoraError(outOfMemoryText());
    if (bytes < kRecycledFrom)
        return checked(QImage(width, height, format));
    void* buffer = takePixelBuffer(size_t(bytes));
    if (!buffer)
        throw PelmoraError(outOfMemoryText());
    QImage image(static_cast<uchar*>(buffer), width, height, bytesPerLine, format, releasePixelBuffer, buffer);
    if (image.isNull()) {
        releasePixelBuffer(buffer);
        throw PelmoraError(outOfMemoryText());
    }
    return image;
}

void prepareSpareRgb32(int width, int height) {
    if (width <= 0 || height <= 0)
        return;
    const qint64 bytes = bytesPerLineOf(width, QImage::Format_RGB32) * height;
    if (bytes >= kRecycledFrom && bytes <= pictureMemoryCap())
        prepareSpareBuffer(size_t(bytes));
}

Bitmap::Bitmap(const QImage& image, int bitsPerPixel)
    : image_(normalised(image)) {
    if (!image_.isNull()) {
        format_ = image_.format();
        width_ = image_.width();
        height_ = image_.height();
    }
    if (bitsPerPixel != 0)
        bitsPerPixel_ = bitsPerPixel;
    else if (isIndexed(format_))
        bitsPerPixel_ = image_.depth();
}

Bitmap Bitmap::white(int width, int height) {
    Bitmap b;
    b.resize(width, height);
    return b;
}

Bitmap Bitmap::drawnOnWhite(const QImage& image) {
    Bitmap picture = white(image.width(), image.height());
    QPainter painter(&picture.rgb32());
    painter.drawImage(0, 0, image);
    painter.end();
    return picture;
}

void Bitmap::setWidth(int width) { resize(width, height_); }
void Bitmap::setHeight(int height) { resize(width_, height); }

void Bitmap::resize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_)
        return;
    changed();
    if (isIndexed(format_) && !image_.isNull() && paletteIndex(image_, 0xFFFFFFFFu) < 0) {
        if (format_ == QImage::Format_Indexed8 && image_.colorCount() < 256) {
            auto table = image_.colorTable();
            table.append(0xFFFFFFFFu);
            image_.setColorTable(table);
        } else {
            widenToRgb32();
        }
    }
    QImage next = allocateImage(width, height, image_.isNull() ? format_ : image_.format());
    if (!next.isNull()) {
        if (isIndexed(next.format())) {
            next.setColorTable(image_.isNull() ? QList<QRgb>{0xFF000000u, 0xFFFFFFFFu} : image_.colorTable());
            next.fill(uint(paletteIndex(next, 0xFFFFFFFFu)));
        } else {
            next.fill(Qt::white);
        }
        const int keepW = std::min(width, width_);
        const int keepH = std::min(height, height_);
        if (!image_.isNull() && keepW > 0 && keepH > 0) {
            if (next.depth() >= 8) {
                const size_t rowBytes = size_t(keepW) * size_t(next.depth() / 8);
                for (int y = 0; y < keepH; ++y)
                    std::memcpy(next.scanLine(y), image_.constScanLine(y), rowBytes);
            } else {
                for (int y = 0; y < keepH; ++y)
                    for (int x = 0; x < keepW; ++x)
                        next.setPixel(x, y, uint(image_.pixelIndex(x, y)));
            }
        }
    }
    if (!image_.isNull())
        format_ = image_.format();
    image_ = next;
    width_ = width;
    height_ = height;
}

Colour Bitmap::pixel(int x, int y) const {
    return colourFromRgb(image_.pixel(x, y));
}

void Bitmap::setPixel(int x, int y, Colour colour) {
    changed();
    const QRgb rgb = rgbFromColour(resolveColour(colour));
    if (isIndexed(image_.format())) {
        const int index = paletteIndex(image_, rgb);
        if (index >= 0) {
            ownPixels();
            image_.setPixel(x, y, uint(index));
            return;
        }
        widenToRgb32();
    }
    ownPixels();
    image_.setPixel(x, y, rgb);
}

QImage& Bitmap::ownedImage() {
    changed();
    ownPixels();
    return image_;
}

QImage& Bitmap::rgb32() {
    changed();
    if (format_ != QImage::Format_RGB32)
        widenToRgb32();
    ownPixels();
    return image_;
}

// Copy on write through allocateImage rather than QImage's own detach, so a
// copy of a large picture takes recycled memory and a failed copy throws.
void Bitmap::ownPixels() {
    if (image_.isNull() || image_.isDetached())
        return;
    QImage own = allocateImage(width_, height_, image_.format());
    own.setColorTable(image_.colorTable());
    own.setDotsPerMeterX(image_.dotsPerMeterX());
    own.setDotsPerMeterY(image_.dotsPerMeterY());
    const size_t rowBytes = size_t(std::min(own.bytesPerLine(), image_.bytesPerLine()));
    uchar* bits = own.bits();
    for (int y = 0; y < height_; ++y)
        std::memcpy(bits + own.bytesPerLine() * y, image_.constScanLine(y), rowBytes);
    image_ = own;
}

void Bitmap::widenToRgb32() {
    if (isIndexed(format_))
        bitsPerPixel_ = 24;
    if (!image_.isNull()) {
        QImage wide = image_.convertToFormat(QImage::Format_RGB32);
        if (wide.isNull())
            throw PelmoraError(outOfMemoryText());
        image_ = wide;
    }
    format_ = QImage::Format_RGB32;
}

bool operator==(const Bitmap& a, const Bitmap& b) {
    if (a.width_ != b.width_ || a.height_ != b.height_)
        return false;
    for (int y = 0; y < a.height_; ++y)
        for (int x = 0; x < a.width_; ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return false;
    return true;
}

} // namespace pelmora
