// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Local
#include "batch_options.h"

namespace pelmora::batch {

// Runs every input, several at once, and prints each one's --info line or
// error in input order as soon as it and all before it are done; a progress
// line is kept on standard error when that is a terminal. Returns 0 when
// every input succeeded, 1 otherwise.
int runAll(const Options& options);

} // namespace pelmora::batch
