// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QImage>
#include <QRgb>

namespace pelmora {

// Row y of a picture's image (1-bit, 8-bit with a palette, 24-bit or 32-bit
// RGB) as opaque 32-bit RGB, without widening the whole picture: a 32-bit
// row is returned as it is held, any other is converted into `scratch`,
// which must hold the image's width.
const QRgb* rgbRow(const QImage& image, int y, QRgb* scratch);

} // namespace pelmora
