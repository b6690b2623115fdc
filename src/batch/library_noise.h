// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Std
#include <cstdio>

namespace pelmora::batch {

// libpng, under Qt's PNG reader, prints its complaints about a damaged file
// straight to standard error, with no file name, across the progress line,
// and Qt's image plugins warn through Qt's messages; the file's failure is
// reported anyway. From here on standard error is a pipe whose lines from
// the image libraries are dropped and whose other lines pass through, and
// Qt's messages are dropped but for critical ones. The program's own
// messages go to the stream returned.
std::FILE* catchLibraryNoise();

} // namespace pelmora::batch
