// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QByteArray>
#include <QString>

// Std
#include <optional>

// Local
#include "bitmap.h"

namespace pelmora {

// Picture files that Qt's image readers decode, beyond the window's five
// kinds; only pelmora-batch reads them.
enum class QtImageKind { Png, Gif, Tiff, Webp };

// The kind for a path by its extension (".png", ".gif", ".tif", ".tiff",
// ".webp", in any case), or nothing.
std::optional<QtImageKind> qtImageKindOf(const QString& path);

// "PNG", "GIF", "TIFF" or "WEBP".
QString qtImageKindName(QtImageKind kind);

// The file's first image (the first frame of an animation, the first page
// of a multi-page file) drawn through its transparency onto white. Throws
// PelmoraError with "<KIND> イメージが不正です" when it cannot be read, and
// with the out-of-memory text for a picture too large to hold.
Bitmap decodeQtImage(const QByteArray& bytes, QtImageKind kind);

} // namespace pelmora
