// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QByteArray>

// Local
#include "bmp_layout.h"
#include "byte_source.h"
#include "bitmap.h"

namespace pelmora {

// A Windows BMP file as a picture in the file's own pixel format where a
// QImage has it (1-bit, 8-bit with palette for 4 and 8 bits); 16, 24 and
// 32-bit pixels are held as 32-bit RGB. The bytes of a run-length, 16-bit or
// 32-bit file stay with the picture. An index beyond the palette is black.
// Only the bytes the picture uses are read. An empty file is an empty
// picture. Anything else that is not a sound BMP file throws
// PelmoraError("ビットマップイメージが不正です").
Bitmap readBmp(const ByteSource& source);
Bitmap decodeBmp(const QByteArray& bytes);

// The picture as an uncompressed BMP file in its own format (1, 4 or 8 bits
// with palette, 24 or 32 bits), or the kept bytes of the file it was read
// from. An empty picture is an empty file, which reads back as one.
void writeBmp(const Bitmap& picture, const ByteSink& sink);
QByteArray encodeBmp(const Bitmap& picture);

// The layout of a non-empty BMP file; throws as readBmp does when unsound.
BmpLayout readBmpLayout(const ByteSource& source);

// Rows are read and written in pieces of about this size, small enough to
// stay in the processor's cache between the file and the picture.
constexpr std::int64_t kBmpPieceBytes = 256 << 10;

// Bytes of one uncompressed row, padded to four.
std::int64_t rowBytesOf(std::int64_t width, int bits);

// The headers and palette of the uncompressed BMP file writeBmp writes.
QByteArray bmpHeaders(int width, int height, int bits, const QList<QRgb>& palette);

} // namespace pelmora
