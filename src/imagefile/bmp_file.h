#pragma once

// Qt
#include <QByteArray>

// Local
#include "imageops/bitmap.h"

namespace pelmora {

// A Windows BMP file's bytes as a picture in the file's own pixel format
// where a QImage has it (1-bit, 8-bit with palette for 4 and 8 bits, 24-bit,
// 32-bit). A run-length-compressed file's bytes stay with the picture. An
// empty file is an empty picture. Anything else that is not a sound BMP file
// throws PelmoraError("ビットマップイメージが不正です").
Bitmap decodeBmp(const QByteArray& bytes);

// The picture as an uncompressed BMP file in its pixel format (1, 4 or 8 bits
// with palette, 24 or 32 bits), or the kept bytes of its compressed file.
QByteArray encodeBmp(const Bitmap& picture);

} // namespace pelmora
