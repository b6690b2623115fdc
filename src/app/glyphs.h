// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QIcon>
#include <QPixmap>

namespace pelmora {

// ImageList1: 33 glyph slots of 16 x 16 pixels with transparency. The
// slots no command uses are empty.
inline constexpr int kGlyphCount = 33;
inline constexpr int kGlyphSize = 16;
QPixmap glyph(int index);

// The program's own picture at the given size (the About box shows it at
// 64, the window icon uses 16, 32 and 48).
QPixmap programPicture(int size);
QIcon programIcon();

} // namespace pelmora
