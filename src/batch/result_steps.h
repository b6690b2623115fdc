// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QImage>

// Local
#include "batch_options.h"
#include "bitmap.h"

// Std
#include <cstddef>
#include <optional>

namespace pelmora::batch {

// The turns, mirrors and scales of the command line, in the order given.

// The picture after all steps but the last `leftOut`.
Bitmap afterSteps(Bitmap picture, const Options& options, size_t leftOut = 0);

// A plane of one byte a pixel (marks or alpha) through the same steps as
// the picture, as grey.
QImage planeAfterSteps(const QImage& plane, const Options& options);

// A quarter turn last before a BMP is made as the file is written, without
// a turned copy of the picture.
std::optional<TurnOrMirror> turnWhileWriting(const Options& options, OutputType type);

} // namespace pelmora::batch
