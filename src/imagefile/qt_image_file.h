// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QByteArray>
#include <QString>

// Local
#include "bitmap.h"
#include "picture_kind.h"

namespace pelmora {

// "PNG", "GIF", "TIFF" or "WEBP".
QString qtImageKindName(QtImageKind kind);

// The file's first image (the first frame of an animation, the first page
// of a multi-page file) drawn through its transparency onto white. Throws
// PelmoraError with "<KIND> イメージが不正です" when it cannot be read, and
// with the out-of-memory text for a picture too large to hold.
Bitmap decodeQtImage(const QByteArray& bytes, QtImageKind kind);

} // namespace pelmora
