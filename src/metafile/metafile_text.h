// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QString>

// Local
#include "pelmora_error.h"

namespace pelmora {

// The reader's one text for a metafile it cannot play.
inline QString invalidMetafileText() { return QStringLiteral("メタファイルが不正です"); }

[[noreturn]] inline void refuseMetafile() { throw PelmoraError(invalidMetafileText()); }

} // namespace pelmora
