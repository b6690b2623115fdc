// SPDX-License-Identifier: GPL-2.0-or-later
#include "availability.h"

namespace pelmora {

namespace {

enum Change : char { on, off, keep };

struct AvailabilityRow {
    CommandId command;
    Change create, openPicture, openJpeg, outlineDone, fillDone;
};

// Act180 and Act270 come with Act90 at an open: the view menu lists all
// three turns, so all three work together.
constexpr AvailabilityRow kMatrix[] = {
    //                         create open   jpeg   outline fill
    {CommandId::ActOpen,       on,    off,   off,   keep,  keep},
    {CommandId::ActSave,       off,   on,    on,    keep,  keep},
    {CommandId::ActClose,      off,   on,    on,    keep,  keep},
    {CommandId::ActEdge,       off,   on,    off,   off,   keep},
    {CommandId::ActPaint,      off,   on,    off,   keep,  off},
    {CommandId::ActBA,         off,   off,   off,   on,    on},
    {CommandId::ActSpoid,      off,   on,    on,    keep,  off},
    {CommandId::ActSpoid2,     off,   on,    on,    off,   keep},
    {CommandId::ActNew,        off,   on,    on,    keep,  keep},
    {CommandId::ActVer,        keep,  keep,  keep,  keep,  keep},
    {CommandId::Act90,         off,   on,    on,    keep,  keep},
    {CommandId::Act180,        off,   on,    on,    keep,  keep},
    {CommandId::Act270,        off,   on,    on,    keep,  keep},
    {CommandId::ActHantenRL,   off,   on,    on,    keep,  keep},
    {CommandId::ActHantenTB,   off,   on,    on,    keep,  keep},
    {CommandId::ActSize,       off,   on,    on,    keep,  keep},
    {CommandId::ActBColor,     keep,  keep,  keep,  keep,  keep},
};

Change changeAt(const AvailabilityRow& row, AvailabilityStep step) {
    switch (step) {
    case AvailabilityStep::Create: return row.create;
    case AvailabilityStep::OpenPicture: return row.openPicture;
    case AvailabilityStep::OpenJpeg: return row.openJpeg;
    case AvailabilityStep::OutlineDone: return row.outlineDone;
    case AvailabilityStep::FillDone: return row.fillDone;
    }
    return keep;
}

} // namespace

std::optional<bool> availabilityAfter(AvailabilityStep step, CommandId command) {
    for (const AvailabilityRow& row : kMatrix) {
        if (row.command != command)
            continue;
        const Change change = changeAt(row, step);
        if (change == keep)
            return std::nullopt;
        return change == on;
    }
    return std::nullopt;
}

} // namespace pelmora
