// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QSize>

// Local
#include "resize_modes.h"

namespace pelmora {

// The size OK gives a picture of the given size: both sides by the one scale,
// each side by its own percentage (also when pixels or millimetres were
// typed), or the fixed postcard and icon sizes.
QSize resizeTarget(ResizeMode mode, QSize picture, int scale, int widthPercent, int heightPercent);

} // namespace pelmora
