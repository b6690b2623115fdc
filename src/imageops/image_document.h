// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QString>
#include <QtGlobal>

// Local
#include "bitmap.h"

namespace pelmora {

// The main window's one document: the picture as opened, its outlined and
// filled versions, the file's path and the display cycle over the three.
struct ImageDocument {
    bool FillDone = false;
    bool OutlineDone = false;
    QString CurrentFileName;
    qint32 ViewCounter = 0, ViewStep = 0, ViewModulus = 0, ViewIndex = 0;
    Bitmap SourceImage, OutlineImage, FillImage;
};

// The document side of an open, once SourceImage holds the picture: clears
// both flags and takes the path. Returns SourceImage, the bitmap to show.
const Bitmap& resetAfterOpen(ImageDocument& document, const QString& path);

// The document side of ActNewExecute: three new empty bitmaps; the flags,
// the cycle and the file name are kept.
void startOver(ImageDocument& document);

enum class MadeOperation { Outline, Fill };

// Arms the display cycle after an operation has set its own flag.
void armViewCycle(ImageDocument& document, MadeOperation made);

// ActBAExecute: advances the cycle and returns the bitmap to show, or
// nullptr when the step shows nothing (also when the cycle is not armed).
const Bitmap* stepView(ImageDocument& document);

} // namespace pelmora
