// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QString>

// Local
#include "bitmap.h"
#include "picture_kind.h"

namespace pelmora {

// Reads the picture file at path as the given kind into a new picture.
// Throws PelmoraError with the reader's text when it cannot.
Bitmap importPicture(const QString& path, PictureKind kind);

} // namespace pelmora
