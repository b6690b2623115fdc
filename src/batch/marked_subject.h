// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QImage>

// Local
#include "batch_options.h"
#include "bitmap.h"

namespace pelmora::batch {

// The subject by the rules beyond the top-left colour's: transparency, a
// chosen background colour, a tolerance, specks and smooth edges.

// Whether the options ask for those rules whatever the picture.
bool needsMarks(const Options& options);

// Subject marks (subject_marks.h) when background is by transparency
// (`alpha` not null) or by the rules of needsMarks().
QImage subjectMarks(const Bitmap& picture, const QImage& alpha, const Options& options);

// The picture with its background as marked made white and any white of its
// subject a shade off white, so that the rule of one background colour finds
// the marked subject: offsets and traced outputs work from that rule.
Bitmap flattenedByMarks(const Bitmap& picture, const QImage& marks);

} // namespace pelmora::batch
