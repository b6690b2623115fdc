// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QByteArray>

// Local
#include "background.h"
#include "bitmap.h"

namespace pelmora::batch {

// The picture as a PNG file, as it is, all opaque.
QByteArray encodeOpaquePng(const Bitmap& picture);

// The picture as a PNG file in RGBA: a pixel is fully transparent where it
// has the background colour and `plain`, the same picture without its
// outline or fill, has background; every other pixel is opaque. So an
// outline never walls background in, and a fill in the background colour
// stays.
// Given `alpha` (Format_Alpha8 of the picture's size), each pixel takes its
// alpha from there instead, and `plain` and `background` are not read.
QByteArray encodeTransparentPng(const Bitmap& picture, const Bitmap& plain, const Background& background,
                                const QImage& alpha = QImage());

// Both throw PelmoraError for a picture of no pixels, which PNG cannot hold.

} // namespace pelmora::batch
