// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QImage>
#include <QSize>

// Local
#include "byte_view.h"
#include "picture_limits.h"

namespace pelmora {

// True when the bytes carry the enhanced-metafile signature.
bool isEmf(ByteView file);

// The picture size of an EMF: its frame (hundredths of a millimetre) at the
// recording device's pixels per millimetre. Checks the header and that the
// records hold together; throws PelmoraError when they do not.
QSize emfSize(ByteView file);

// Plays a checked EMF so that its frame fills the target, charging the
// budget for its drawing.
void playEmf(ByteView file, QImage& target, WorkBudget& budget);

} // namespace pelmora
