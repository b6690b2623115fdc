// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Local
#include "batch_options.h"

// Std
#include <cstdio>

namespace pelmora::batch {

// Runs every input, several at once, and prints each one's --info line or
// error in input order as soon as it and all before it are done: the lines
// of --info on standard output, errors on `messages`, where a progress line
// is kept when that is a terminal. Returns 0 when
// every input succeeded, 1 otherwise.
int runAll(const Options& options, std::FILE* messages);

} // namespace pelmora::batch
