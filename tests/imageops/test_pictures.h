#pragma once

// Qt
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

// Local
#include "imageops/bitmap.h"
#include "imageops/colour.h"

// Std
#include <vector>

namespace pelmora::test {

inline constexpr Colour kRed = 0x0000FF;
inline constexpr Colour kGreen = 0x00FF00;
inline constexpr Colour kBlue = 0xFF0000;

// Pixels written as text, one string per row: '.' white, '#' black,
// 'r' red, 'g' green, 'b' blue.
Colour colourOfGlyph(QChar glyph);
Bitmap pictureFromRows(const QStringList& rows);
QStringList rowsOfPicture(const Bitmap& picture);   // '?' for other colours

// A picture as a plain grid of colour values, for reference scans.
struct Grid {
    int width = 0;
    int height = 0;
    std::vector<Colour> cells;

    Colour& at(int x, int y) { return cells[size_t(y) * size_t(width) + size_t(x)]; }
};
Grid gridOf(const Bitmap& picture);

// The same colours held in another pixel format (32-bit RGB, 24-bit RGB or
// 8-bit with a palette of exactly the colours used).
Bitmap inFormat(const Grid& grid, QImage::Format format);

} // namespace pelmora::test
