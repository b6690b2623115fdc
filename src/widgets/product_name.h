// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QString>

namespace pelmora::texts {

// The title of every message box, and the application's name.
inline const QString kProductName = QStringLiteral("Pelmora");

} // namespace pelmora::texts
