// SPDX-License-Identifier: GPL-2.0-or-later
#include "image_document.h"

// Std
#include <limits>

namespace pelmora {

const Bitmap& resetAfterOpen(ImageDocument& document, const QString& path) {
    document.OutlineDone = false;
    document.FillDone = false;
    document.CurrentFileName = path;
    return document.SourceImage;
}

void startOver(ImageDocument& document) {
    document.SourceImage = Bitmap();
    document.OutlineImage = Bitmap();
    document.FillImage = Bitmap();
}

void armViewCycle(ImageDocument& document, MadeOperation made) {
    const bool both = document.OutlineDone && document.FillDone;
    document.ViewCounter = both || made == MadeOperation::Fill ? 2 : 1;
    document.ViewStep = both || made == MadeOperation::Outline ? 1 : 2;
    document.ViewModulus = both ? 3 : made == MadeOperation::Outline ? 2 : 4;
}

const Bitmap* stepView(ImageDocument& document) {
    if (document.ViewModulus == 0)
        return nullptr;
    // Dropping whole cycles keeps the index and keeps the counter from overflowing.
    if (document.ViewCounter > std::numeric_limits<qint32>::max() - document.ViewStep)
        document.ViewCounter %= document.ViewModulus;
    document.ViewCounter += document.ViewStep;
    document.ViewIndex = document.ViewCounter % document.ViewModulus;
    switch (document.ViewIndex) {
    case 0: return &document.SourceImage;
    case 1: return &document.OutlineImage;
    case 2: return &document.FillImage;
    default: return nullptr;
    }
}

} // namespace pelmora
