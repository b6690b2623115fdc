// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Local
#include "bmp_file.h"

namespace pelmora {

// The picture given a quarter turn (clockwise or not), written as the
// 24-bit BMP file writeBmp writes for the turned picture, a band of rows at
// a time, without making the turned picture. picture must be held in 32-bit
// rows and have no zero side.
void writeTurnedBmp(const Bitmap& picture, bool clockwise, const ByteSink& sink);

} // namespace pelmora
