// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QImage>

// Local
#include "bitmap.h"
#include "colour.h"

// Std
#include <functional>

namespace pelmora {

// What a pixel is once only the background joined to the picture's border
// counts as background.
enum BackgroundMark : uchar {
    kSubjectPixel = 0,         // not of the background colour
    kEnclosedBackground = 1,   // of the background colour, walled in by the subject
    kOpenBackground = 2,       // of the background colour and joined to the border
                               // through edge neighbours of that colour
};

// The mark of every pixel, one byte each, as an 8-bit grey image of the
// picture's size; a null image for an empty picture. Colours are compared
// on their 24 RGB bits.
QImage backgroundMarks(const Bitmap& picture, Colour background);

// Marks one row, kEnclosedBackground for background and kSubjectPixel for
// subject, from row y of whatever decides; the flood then turns background
// joined to the border into kOpenBackground.
using MarkRow = std::function<void(int y, uchar* marks)>;

// The marks of a picture of that size, its rows marked top to bottom.
QImage floodedMarks(int width, int height, const MarkRow& markRow);

// Whether a marked pixel is background: with `solid`, only the open
// background; otherwise every pixel of the background colour.
inline bool isBackgroundMark(uchar mark, bool solid) {
    return solid ? mark == kOpenBackground : mark != kSubjectPixel;
}

// outlined() and filled() with the enclosed background counted as subject:
// the outline follows only the open background, and holes are filled.
Bitmap solidOutlined(const Bitmap& source, Colour outlineColour);
Bitmap solidFilled(const Bitmap& source, Colour fillColour);

} // namespace pelmora
