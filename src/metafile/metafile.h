// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QByteArray>

// Local
#include "bitmap.h"

namespace pelmora {

// Plays a Windows metafile (placeable WMF) or an enhanced metafile, decided
// by the content, onto a white picture of the metafile's own size. Throws
// PelmoraError("メタファイルが不正です") for anything that is neither, or
// whose records do not hold together.
Bitmap importMetafile(const QByteArray& bytes);

// What playing a metafile charged against its work budget, and the budget:
// what tests count of a hostile file instead of timing it.
struct PlayedWork {
    double charged = 0;
    double allowed = 0;
};
Bitmap importMetafile(const QByteArray& bytes, PlayedWork& work);

} // namespace pelmora
