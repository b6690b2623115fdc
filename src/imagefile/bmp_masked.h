#pragma once

// Qt
#include <QByteArray>
#include <QImage>

// Local
#include "bmp_check.h"

namespace pelmora {

// Decodes uncompressed 16-bit pixels and 32-bit pixels with bit fields into
// 32-bit RGB, each channel scaled from its mask's width to 0..255 with
// rounding, so that full intensity stays full (Qt's reader shifts 5-bit
// channels, turning white into 248, 248, 248). The rows must lie inside the
// file (checkedBmpLayout makes sure).
QImage decodeMaskedPixels(const QByteArray& bytes, const BmpLayout& layout);

} // namespace pelmora
