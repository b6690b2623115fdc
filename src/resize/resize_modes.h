// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QSize>

namespace pelmora {

// The items of the dialog's mode and unit groups, in their order.
enum class ResizeMode { KeepAspect, Separate, Postcard, Icon };
enum class SizeUnit { Percent, Pixels, Millimetres };

inline constexpr QSize postcardSize(341, 504);
inline constexpr QSize iconSize(32, 32);

} // namespace pelmora
