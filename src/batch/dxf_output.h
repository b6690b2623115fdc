// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QString>

// Local
#include "traced_page.h"

namespace pelmora::batch {

// The curves' greatest departure from the polylines that stand for them.
inline constexpr double kDxfToleranceMm = 0.05;

// Writes the page's shape as a DXF drawing for laser and CNC software: each
// traced curve one closed polyline in millimetres (y upwards, the page's
// bottom-left corner at the origin), flattened within kDxfToleranceMm, all on
// the one layer CUT. The file is replaced all or nothing; throws
// PelmoraError when it cannot be written.
void saveDxf(const TracedPage& page, const QString& path);

} // namespace pelmora::batch
