#pragma once

// Qt
#include <QString>

// Local
#include "batch_options.h"

namespace pelmora::batch {

struct JobResult {
    bool ok = false;
    QString line;   // the --info line, or the error text without the file name
};

// Opens one input with the window's readers and rules, then prints its
// facts (--info) or makes and writes its result. Never throws.
JobResult runJob(const Options& options, const QString& input);

// A product text on one line: its line breaks become spaces, empty lines
// disappear.
QString oneLine(const QString& text);

} // namespace pelmora::batch
