// SPDX-License-Identifier: GPL-2.0-or-later
#include "shadow_rows.h"

// Local
#include "connected_background.h"
#include "pixel_rows.h"
#include "rgb_rows.h"

// Std
#include <memory>
#include <vector>

namespace pelmora::batch {

namespace {

// Row reading with a scratch row of its own, shared by the copies of the
// row function that std::function makes.
struct RowReader {
    explicit RowReader(const Bitmap& picture) : image(picture.image()), scratch(size_t(picture.width())) {}
    const QRgb* row(int y) { return rgbRow(image, y, scratch.data()); }

    QImage image;
    std::vector<QRgb> scratch;
};

// The background marks a solid background needs; a null image otherwise.
QImage marksFor(const Bitmap& plain, const Background& background) {
    return background.solid ? backgroundMarks(plain, background.colour) : QImage();
}

// Row y of the marks, or nothing when the background is not solid.
const uchar* marksRow(const QImage& marks, int y) {
    return marks.isNull() ? nullptr : marks.constScanLine(y);
}

bool isBackground(QRgb plainPixel, const uchar* marks, int x, QRgb key) {
    return marks ? marks[x] == kOpenBackground : (plainPixel & kRgbBits) == key;
}

} // namespace

RowPicture opaqueRows(const Bitmap& picture) {
    auto reader = std::make_shared<RowReader>(picture);
    return {picture.width(), picture.height(),
            [reader](int y, QRgb* out) {
                const QRgb* in = reader->row(y);
                for (int x = 0; x < reader->image.width(); ++x)
                    out[x] = in[x] | 0xFF000000u;
            },
            0};
}

RowPicture rowsWithAlpha(const Bitmap& picture, const QImage& alpha) {
    auto reader = std::make_shared<RowReader>(picture);
    return {picture.width(), picture.height(),
            [reader, alpha](int y, QRgb* out) {
                const QRgb* in = reader->row(y);
                const uchar* cover = alpha.constScanLine(y);
                for (int x = 0; x < reader->image.width(); ++x)
                    out[x] = cover[x] == 0 ? 0 : (in[x] & 0xFFFFFFu) | QRgb(cover[x]) << 24;
            },
            0};
}

RowPicture transparentRows(const Bitmap& result, const Bitmap& plain, const Background& background) {
    auto results = std::make_shared<RowReader>(result);
    auto plains = std::make_shared<RowReader>(plain);
    const QImage marks = marksFor(plain, background);
    const QRgb key = rgbFromColour(background.colour) & kRgbBits;
    return {result.width(), result.height(),
            [results, plains, marks, key](int y, QRgb* out) {
                const QRgb* in = results->row(y);
                const QRgb* bare = plains->row(y);
                const uchar* mark = marksRow(marks, y);
                for (int x = 0; x < results->image.width(); ++x) {
                    const bool transparent = (in[x] & kRgbBits) == key && isBackground(bare[x], mark, x, key);
                    out[x] = transparent ? in[x] & kRgbBits : in[x] | 0xFF000000u;
                }
            },
            0};
}

RowPicture filledRows(const Bitmap& plain, std::optional<Colour> paint, const Background& background) {
    auto plains = std::make_shared<RowReader>(plain);
    const QImage marks = marksFor(plain, background);
    const QRgb key = rgbFromColour(background.colour) & kRgbBits;
    const bool painted = paint.has_value();
    const QRgb ink = painted ? rgbFromColour(resolveColour(*paint)) : 0;
    return {plain.width(), plain.height(),
            [plains, marks, key, painted, ink](int y, QRgb* out) {
                const QRgb* in = plains->row(y);
                const uchar* mark = marksRow(marks, y);
                for (int x = 0; x < plains->image.width(); ++x) {
                    if (isBackground(in[x], mark, x, key))
                        out[x] = in[x] & kRgbBits;
                    else
                        out[x] = painted ? ink : in[x] | 0xFF000000u;
                }
            },
            0};
}

} // namespace pelmora::batch
