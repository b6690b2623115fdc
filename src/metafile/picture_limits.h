// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QSize>

namespace pelmora {

// The largest picture a metafile may ask for: a side, and in all (800 MB
// of 32-bit pixels), so that a small file cannot demand gigabytes.
inline constexpr int maxPictureSide = 30000;
inline constexpr qint64 maxPicturePixels = 200'000'000;

// The picture size for a metafile's width and height in pixels; throws
// PelmoraError for a size no picture may have (empty, negative, too large).
QSize checkedPictureSize(double width, double height);

} // namespace pelmora
