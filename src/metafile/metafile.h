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

} // namespace pelmora
