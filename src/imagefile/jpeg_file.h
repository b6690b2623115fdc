// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QByteArray>

// Local
#include "byte_source.h"
#include "bitmap.h"

namespace pelmora {

// Decodes a JPEG file with libjpeg at full size, smooth upsampling and the
// accurate integer transform: colour files give 24-bit pictures (held in
// 32-bit rows), grey-scale files 8 bits with a 256-level grey palette, CMYK
// and YCCK files are turned into RGB. Throws PelmoraError("JPEG エラー #n") with libjpeg's message code.
// Only the bytes up to the picture's end are read.
Bitmap readJpeg(const ByteSource& source);
Bitmap decodeJpeg(const QByteArray& bytes);

// Encodes the picture in 24-bit colour with libjpeg's defaults at the given
// quality (baseline-compatible tables, sequential).
QByteArray encodeJpeg(const Bitmap& picture, int quality);

} // namespace pelmora
