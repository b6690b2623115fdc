// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QString>

// Local
#include "batch_options.h"

// Std
#include <functional>

namespace pelmora::batch {

struct JobResult {
    bool ok = false;
    QString line{};     // the --info line, or the error text without the file names
    QString output{};   // for an error while writing the result: the file being written
    bool skipped = false;   // -n: the output exists and was kept
    QString notice{};       // for a success: what standard error should hear of it
};

// Opens one input (read from `source`, a copy of standard input for "-")
// with the window's readers and rules, or Qt's for the kinds the window
// does not read, then prints its facts (--info) or makes and writes its
// result. `progress` hears how far a slow step is, from 0 to 1. Never
// throws.
JobResult runJob(const Options& options, const QString& input, const QString& source,
                 const std::function<void(double)>& progress);

// A product text on one line: its line breaks become spaces, empty lines
// disappear.
QString oneLine(const QString& text);

} // namespace pelmora::batch
