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
// Making a picture that does not fit in memory throws PelmoraError.
class Bitmap {
public:
    Bitmap() = default;                     // 0 x 0
    explicit Bitmap(const QImage& image);   // takes the image's size, format and pixels

    // A white picture of the given size in 32-bit RGB.
    static Bitmap white(int width, int height);

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

    // The pixels in 32-bit RGB for in-place work: widens the picture when it
    // is held in another format, makes its pixels its own when they are
    // shared with a copy, and counts as a change.
    QImage& rgb32();

    // The bytes of the run-length-compressed file the picture was read from,
    // kept for the writer until the picture first changes.
    const QByteArray& compressedFileBytes() const { return compressedFileBytes_; }
    void setCompressedFileBytes(const QByteArray& bytes) { compressedFileBytes_ = bytes; }

    friend bool operator==(const Bitmap& a, const Bitmap& b);

private:
    void resize(int width, int height);
    void widenToRgb32();
    void ownPixels();
    void changed() { compressedFileBytes_.clear(); }

    QImage image_;
    QImage::Format format_ = QImage::Format_RGB32;
    int width_ = 0;
    int height_ = 0;
    QByteArray compressedFileBytes_;
};

// Makes an image of the given size and format, or throws PelmoraError when
// it cannot be made (no memory, or a size no picture may have). Its pixels
// are not set.
QImage allocateImage(int width, int height, QImage::Format format);

} // namespace pelmora
