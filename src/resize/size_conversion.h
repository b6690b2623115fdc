// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QtGlobal>

// Std
#include <algorithm>
#include <limits>

namespace pelmora {

// The resize arithmetic: whole numbers, every division truncating. The
// products are taken in 64 bits so that no picture size can overflow them;
// a quotient beyond 32 bits saturates (the fields clamp it anyway, and no
// picture can be made that large).
inline int mulDiv(qint64 value, qint64 factor, qint64 divisor) {
    const qint64 quotient = value * factor / divisor;
    return int(std::clamp<qint64>(quotient, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

inline int pixelsFromPercent(int percent, int side) { return mulDiv(percent, side, 100); }
// A side of 0 has no percentage to give: 0 rather than a division by 0.
inline int percentFromPixels(int pixels, int side) { return side == 0 ? 0 : mulDiv(pixels, 100, side); }

// 3.405 pixels per millimetre.
inline int millimetresFromPixels(int pixels) { return mulDiv(pixels, 1000, 3405); }
inline int pixelsFromMillimetres(int millimetres) { return mulDiv(millimetres, 3405, 1000); }

} // namespace pelmora
