// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Local
#include "commands.h"

// Std
#include <optional>

namespace pelmora {

// The steps that change command availability, and nothing else does.
enum class AvailabilityStep {
    Create,       // FormCreate, at start and on New
    OpenPicture,  // an open of any picture but a JPEG file
    OpenJpeg,     // an open of a ".jpg" or ".jpeg" file
    OutlineDone,  // the end of the outline
    FillDone,     // the end of the fill
};

// Whether the step makes the command available, or nothing when it leaves
// the command as it was.
std::optional<bool> availabilityAfter(AvailabilityStep step, CommandId command);

} // namespace pelmora
