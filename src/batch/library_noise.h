// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Std
#include <cstdio>

namespace pelmora::batch {

// libpng, under Qt's PNG reader, prints its complaints about a damaged file
// straight to standard error, with no file name, across the progress line;
// the file's failure is reported anyway. From here on standard error is a
// pipe whose lines from the image libraries are dropped and whose other
// lines pass through; the program's own messages go to the stream returned.
std::FILE* catchLibraryNoise();

// Qt's own messages: its image plugins' warnings about a file are dropped
// in the same way (its failure is reported), and so are the platform's
// start-up remarks; critical ones pass.
void quietQtMessages();

} // namespace pelmora::batch
