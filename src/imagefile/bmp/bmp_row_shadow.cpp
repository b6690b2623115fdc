// SPDX-License-Identifier: GPL-2.0-or-later
#include "bmp_row_shadow.h"

// Local
#include "bmp_rows.h"
#include "fill.h"
#include "outline.h"
#include "pelmora_error.h"
#include "picture_file_texts.h"

// Std
#include <algorithm>
#include <vector>

namespace pelmora {

namespace {

// File rows in order, a piece at a time; each is given as 32-bit pixels.
class RowReader {
public:
    RowReader(const ByteSource& source, const BmpLayout& layout)
        : source_(source), layout_(layout), rowBytes_(rowBytesOf(layout.width, 24)),
          rowsPerPiece_(int(std::clamp<std::int64_t>(kBmpPieceBytes / rowBytes_, 1, layout.height))),
          piece_(size_t(rowBytes_ * rowsPerPiece_)) {}

    // Rows must be asked for in order, each once.
    void expand(int row, QRgb* out) {
        if (row >= first_ + rowsPerPiece_ || first_ < 0) {
            first_ = row;
            const int rows = std::min<int>(rowsPerPiece_, int(layout_.height) - row);
            if (!source_.readAt(layout_.pixelOffset + rowBytes_ * row, piece_.data(), rowBytes_ * rows))
                throw PelmoraError(texts::invalidBitmap());
        }
        expandBgrRow(piece_.data() + rowBytes_ * (row - first_), out, int(layout_.width));
    }

private:
    const ByteSource& source_;
    const BmpLayout& layout_;
    const std::int64_t rowBytes_;
    const int rowsPerPiece_;
    std::vector<std::uint8_t> piece_;
    int first_ = -1;
};

} // namespace

bool shadeBmp(const ByteSource& source, RowShadow shadow, Colour colour, const ByteSink& sink) {
    if (source.size() == 0)
        return false;
    const BmpLayout layout = readBmpLayout(source);
    if (layout.bitsPerPixel != 24 || layout.compression != 0 || layout.topDown)
        return false;
    const int width = int(layout.width);
    const int height = int(layout.height);
    const std::int64_t rowBytes = rowBytesOf(width, 24);

    // The top-left pixel is the start of the last row of the file.
    std::uint8_t corner[3];
    if (!source.readAt(layout.pixelOffset + rowBytes * (height - 1), corner, 3))
        throw PelmoraError(texts::invalidBitmap());
    const QRgb background = QRgb(corner[2]) << 16 | QRgb(corner[1]) << 8 | corner[0];
    const QRgb paint = rgbFromColour(resolveColour(colour));

    const QByteArray header = bmpHeaders(width, height, 24, {});
    sink(header.constData(), header.size());

    // Three rows in turn: the one before, the one at hand, the one after;
    // the outline is the same read upwards or downwards.
    RowReader reader(source, layout);
    std::vector<QRgb> rows(size_t(width) * 4);
    QRgb* before = rows.data();
    QRgb* at = before + width;
    QRgb* after = at + width;
    QRgb* result = after + width;
    const int rowsPerPiece = int(std::clamp<std::int64_t>(kBmpPieceBytes / rowBytes, 1, height));
    std::vector<std::uint8_t> piece(size_t(rowBytes * rowsPerPiece));
    int inPiece = 0;
    reader.expand(0, at);
    for (int row = 0; row < height; ++row) {
        if (shadow == RowShadow::Fill) {
            fillRow(at, result, width, background, paint);
            if (row + 1 < height)
                reader.expand(row + 1, at);
        } else {
            if (row + 1 < height)
                reader.expand(row + 1, after);
            outlineRow(row > 0 ? before : at, at, row + 1 < height ? after : at, result, width, background, paint);
            std::swap(before, at);
            std::swap(at, after);
        }
        narrowToBgrRow(result, piece.data() + rowBytes * inPiece, width);
        if (++inPiece == rowsPerPiece || row + 1 == height) {
            sink(reinterpret_cast<const char*>(piece.data()), rowBytes * inPiece);
            inPiece = 0;
        }
    }
    return true;
}

} // namespace pelmora
