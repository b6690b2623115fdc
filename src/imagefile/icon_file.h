// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QByteArray>
#include <QList>
#include <QRgb>

// Local
#include "bitmap.h"
#include "reader_limits.h"

namespace pelmora {

// Which of an ICO file's images is read: the window's, closest to 32 x 32,
// or the one of the most pixels.
enum class IconPick { NearestIconSize, Largest };

// Of the images in an ICO file, the one the pick asks for (ties: the one
// with the most colours), drawn through its transparency onto white. Throws
// PelmoraError with texts::invalidIcon() when no image can be read.
Bitmap decodeIcon(const QByteArray& bytes, IconPick pick);
// The window's pick.
Bitmap decodeIcon(const QByteArray& bytes);
// The same, charging the pixels of each image decoded to the budget; entries
// alike share one decode. The image that overdraws the budget is dropped and
// no more are read.
Bitmap decodeIcon(const QByteArray& bytes, WorkBudget& pixels, IconPick pick = IconPick::NearestIconSize);

// A one-image ICO file of a 32 x 32 picture: 4 bits per pixel in the
// standard 16 colours (nearest colour), and a 1-bit mask marking every pixel
// of the top-left pixel's RGB transparent; those pixels are black in the
// colour image.
QByteArray encodeIcon(const Bitmap& picture);

// The 16 colours of the icon's colour table, in their table order.
const QList<QRgb>& standardSixteenColours();

} // namespace pelmora
