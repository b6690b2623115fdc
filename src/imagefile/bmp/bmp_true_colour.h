// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QByteArray>
#include <QImage>

// Local
#include "bmp_layout.h"

namespace pelmora {

// Decodes the pixels of a 16 or 32-bit BMP file into 32-bit RGB. Channels of bit-field and 16-bit pixels are
// scaled from their mask's width to 0..255 with rounding, so that full
// intensity stays full (Qt's reader shifts 5-bit channels, turning white
// into 248, 248, 248). The rows must lie inside the file (checkedBmpLayout
// makes sure).
QImage decodeTrueColour(const QByteArray& bytes, const BmpLayout& layout);

} // namespace pelmora
