// SPDX-License-Identifier: GPL-2.0-or-later
#include "bmp_row_picture.h"

// Local
#include "bmp_file.h"
#include "bmp_rows.h"
#include "file_io.h"
#include "pelmora_error.h"
#include "picture_file_texts.h"
#include "pixel_rows.h"

// Std
#include <algorithm>
#include <memory>
#include <vector>

namespace pelmora::batch {

namespace {

// The file's rows top to bottom, read a piece of rows at a time.
class BmpRows {
public:
    BmpRows(const BmpLayout& layout, std::unique_ptr<ReadFile> file)
        : file_(std::move(file)), layout_(layout), rowBytes_(rowBytesOf(layout.width, 24)),
          rowsPerPiece_(int(std::clamp<std::int64_t>(kBmpPieceBytes / rowBytes_, 1, layout.height))),
          piece_(size_t(rowBytes_ * rowsPerPiece_)) {}

    int width() const { return int(layout_.width); }
    int height() const { return int(layout_.height); }

    // Row y from the top.
    void expand(int y, QRgb* out) {
        if (first_ < 0 || y < first_ || y >= first_ + rowsPerPiece_) {
            first_ = y;
            const int rows = std::min(rowsPerPiece_, height() - y);
            // Bottom-up files hold the piece's rows in the other order.
            const std::int64_t firstInFile = layout_.topDown ? y : height() - y - rows;
            if (!file_->readAt(layout_.pixelOffset + rowBytes_ * firstInFile, piece_.data(), rowBytes_ * rows))
                throw PelmoraError(texts::invalidBitmap());
            piecesRows_ = rows;
        }
        const int inPiece = layout_.topDown ? y - first_ : piecesRows_ - 1 - (y - first_);
        expandBgrRow(piece_.data() + rowBytes_ * inPiece, out, width());
    }

private:
    std::unique_ptr<ReadFile> file_;
    const BmpLayout layout_;
    const std::int64_t rowBytes_;
    const int rowsPerPiece_;
    std::vector<std::uint8_t> piece_;
    int first_ = -1;
    int piecesRows_ = 0;
};

} // namespace

std::optional<RowPicture> filledBmpFileRows(const QString& path, std::optional<Colour> paint) {
    auto file = std::make_unique<ReadFile>(path);
    if (file->size() == 0)
        return std::nullopt;
    const BmpLayout layout = readBmpLayout(*file);
    if (layout.bitsPerPixel != 24 || layout.compression != 0 || layout.width <= 0 || layout.height <= 0)
        return std::nullopt;
    auto rows = std::make_shared<BmpRows>(layout, std::move(file));
    std::vector<QRgb> corner(size_t(rows->width()));
    rows->expand(0, corner.data());
    const QRgb key = corner[0] & kRgbBits;
    const bool painted = paint.has_value();
    const QRgb ink = painted ? rgbFromColour(resolveColour(*paint)) : 0;
    return RowPicture{rows->width(), rows->height(),
                      [rows, key, painted, ink](int y, QRgb* out) {
                          rows->expand(y, out);
                          for (int x = 0; x < rows->width(); ++x) {
                              const QRgb c = out[x] & kRgbBits;
                              out[x] = c == key ? c : painted ? ink : c | 0xFF000000u;
                          }
                      },
                      0};
}

} // namespace pelmora::batch
