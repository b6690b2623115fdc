// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QImage>
#include <QSize>

// Local
#include "byte_view.h"
#include "picture_limits.h"

namespace pelmora {

// The picture size of a placeable Windows metafile: its bounding box in its
// own units per inch (96 when 0) at 96 pixels per inch. Checks the key, the
// checksum, the header and that the records hold together; throws
// PelmoraError when any of them does not.
QSize wmfSize(ByteView file);

// Plays a checked placeable metafile so that its bounding box fills the
// target, charging the budget for its drawing.
void playWmf(ByteView file, QImage& target, WorkBudget& budget);

} // namespace pelmora
