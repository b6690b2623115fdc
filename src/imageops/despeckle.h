// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QImage>

namespace pelmora {

// Removes specks from subject marks (see subject_marks.h): every island of
// subject and every hole of background not joined to the border, of fewer
// than `area` pixels, takes the class around it. Pixels are joined through
// their edge neighbours.
void despeckle(QImage& marks, qint64 area);

} // namespace pelmora
