// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QByteArray>

// Local
#include "byte_source.h"
#include "bitmap.h"
#include "reader_limits.h"

namespace pelmora {

// Decodes a JPEG file with libjpeg at full size, smooth upsampling and the
// accurate integer transform: colour files give 24-bit pictures (held in
// 32-bit rows), grey-scale files 8 bits with a 256-level grey palette, CMYK
// and YCCK files are turned into RGB. Throws PelmoraError("JPEG エラー #n") with libjpeg's message code.
// Only the bytes up to the picture's end are read. The blocks of all scans
// are charged to the budget, scan by scan before each is decoded; a file
// that asks for more is refused (JERR_BAD_PROGRESSION).
Bitmap readJpeg(const ByteSource& source, WorkBudget& blocks);
// With jpegBlockBudget of the file's size.
Bitmap readJpeg(const ByteSource& source);
Bitmap decodeJpeg(const QByteArray& bytes);

// The blocks decoded over all scans that a file of this many bytes may ask for.
std::int64_t jpegBlockBudget(std::int64_t fileBytes);

// Encodes the picture in 24-bit colour with libjpeg's defaults at the given
// quality (baseline-compatible tables, sequential).
QByteArray encodeJpeg(const Bitmap& picture, int quality);

} // namespace pelmora
