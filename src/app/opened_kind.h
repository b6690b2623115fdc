// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QString>

// Local
#include "picture_kind.h"

namespace pelmora {

// The text of Label1 after opening a picture of this kind ("元画像 BMP", ...).
QString sourceKindText(PictureKind kind);

// Pictures from JPEG files are never outlined or filled in the window.
bool allowsOutlineAndFill(PictureKind kind);

} // namespace pelmora
