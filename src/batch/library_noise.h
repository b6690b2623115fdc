// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Std
#include <cstdio>

namespace pelmora::batch {

// libpng, under Qt's PNG reader, prints its complaints about a damaged file
// to stderr, with no file name, across the progress line, and Qt's image
// plugins warn through Qt's messages; the file's failure is reported
// anyway. From here on the lines written to stderr are dropped when they
// come from the image libraries and passed on otherwise, and Qt's messages
// are dropped but for critical ones. The program's own messages go to the
// stream returned, standard error as it was.
std::FILE* catchLibraryNoise();

} // namespace pelmora::batch
