// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QByteArray>
#include <QImage>

// Local
#include "colour.h"

namespace pelmora {

// A picture in memory: a value type around QImage (implicitly shared, so a
// copy is cheap and independent on write).
//
// It keeps the pixel format it was given where it can (1-bit, 8-bit with a
// palette, 24-bit or 32-bit RGB); any format with alpha is held as 32-bit RGB
// with the colour bits unchanged, since alpha never takes part. A write that
// the format cannot store exactly widens the picture to 32-bit RGB first.
//
// Apart from how it is held in memory, a picture knows the bits per pixel of
// its own format, the one a file of it is written in: 1, 4 or 8 with a
// palette, 24, or 32. Copies keep it; widening a palette picture makes it 24.
//
// Making a picture that does not fit in memory throws PelmoraError.
class Bitmap {
public:
    Bitmap() = default;                     // 0 x 0
    // Takes the image's size, format and pixels. Without bits per pixel, a
    // palette image has 1 or 8 and any other 24.
    explicit Bitmap(const QImage& image, int bitsPerPixel = 0);

    // A white picture of the given size in 32-bit RGB.
    static Bitmap white(int width, int height);
    // The image drawn through its transparency onto white, so that its
    // transparent pixels take part in the top-left rule as white.
    static Bitmap drawnOnWhite(const QImage& image);

    int width() const { return width_; }
    int height() const { return height_; }
    bool isEmpty() const { return width_ == 0 || height_ == 0; }

    // One dimension at a time: the remaining area keeps its pixels, new area
    // is white. Negative sizes count as 0.
    void setWidth(int width);
    void setHeight(int height);

    // 0x00BBGGRR; x and y must lie inside the picture.
    Colour pixel(int x, int y) const;
    // System colours are resolved first; RGB values are stored unchanged.
    void setPixel(int x, int y, Colour colour);

    // Read-only view of the pixels; a null image when the picture is empty.
    const QImage& image() const { return image_; }
    QImage::Format format() const { return format_; }
    int bitsPerPixel() const { return bitsPerPixel_; }

    // The pixels in 32-bit RGB for in-place work: widens the picture when it
    // is held in another format, makes its pixels its own when they are
    // shared with a copy, and counts as a change.
    QImage& rgb32();
    // The pixels in their own format for in-place work that keeps it: makes
    // them the picture's own and counts as a change.
    QImage& ownedImage();

    // The bytes of the file the picture was read from, when its pixels are
    // held in a format other than the file's (run-length compression, 16-bit
    // and bit-field pixels, the fourth bytes of 32-bit ones), kept for the
    // writer until the picture first changes.
    const QByteArray& keptFileBytes() const { return keptFileBytes_; }
    void setKeptFileBytes(const QByteArray& bytes) { keptFileBytes_ = bytes; }

    friend bool operator==(const Bitmap& a, const Bitmap& b);

private:
    void resize(int width, int height);
    void widenToRgb32();
    void ownPixels();
    void changed() { keptFileBytes_.clear(); }

    QImage image_;
    QImage::Format format_ = QImage::Format_RGB32;
    int width_ = 0;
    int height_ = 0;
    int bitsPerPixel_ = 24;
    QByteArray keptFileBytes_;
};

// Makes an image of the given size and format, or throws PelmoraError when
// it cannot be made (no memory, or a size no picture may have). Its pixels
// are not set.
QImage allocateImage(int width, int height, QImage::Format format);

// Readies memory in the background for one more 32-bit RGB picture of the
// given size, the size of every turn, outline and fill of a picture of that
// size, so that the next one made need not wait for fresh pages.
void prepareSpareRgb32(int width, int height);

} // namespace pelmora
