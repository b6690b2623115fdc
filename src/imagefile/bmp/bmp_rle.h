// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QByteArray>
#include <QImage>

// Local
#include "bmp_layout.h"

namespace pelmora {

// Decodes the pixels of a run-length-compressed BMP file (RLE8 or RLE4) into
// an 8-bit picture with the file's palette. Pixels the stream skips or never
// reaches take palette index 0. Returns a null image when a run, literal or
// skip leaves the picture or the file, or an index leaves the palette.
//
// Qt's reader leaves skipped pixels uninitialised, so the same file could
// open differently each time; this decoder defines them.
QImage decodeRunLengths(const QByteArray& bytes, const BmpLayout& layout);

} // namespace pelmora
