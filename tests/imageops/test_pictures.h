// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QGuiApplication>
#include <QPalette>
#include <QRandomGenerator>
#include <QStringList>

// Local
#include "bitmap.h"

namespace pelmora::test {

inline constexpr Colour kRed = 0x0000FF;
inline constexpr Colour kBlue = 0xFF0000;

// Pixels written as text, rows joined by '|': '.' white, '#' black, 'r' red,
// 'g' green, 'b' blue; '?' stands for any other colour.
inline const QString kGlyphs = QStringLiteral(".#rgb");
inline const QList<Colour> kGlyphColours{kWhite, kBlack, kRed, 0x00FF00, kBlue};

// A colour of the application palette as a Colour, 0x00BBGGRR.
inline Colour paletteColour(QPalette::ColorRole role, QPalette::ColorGroup group = QPalette::Active) {
    const QColor c = QGuiApplication::palette().color(group, role);
    return Colour(c.blue() << 16 | c.green() << 8 | c.red());
}

inline Bitmap pictureFromRows(const QString& text) {
    const QStringList rows = text.split('|', Qt::SkipEmptyParts);
    Bitmap picture = Bitmap::white(rows.isEmpty() ? 0 : int(rows.first().size()), int(rows.size()));
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, kGlyphColours[kGlyphs.indexOf(rows[y][x])]);
    return picture;
}

inline QString rowsOfPicture(const Bitmap& picture) {
    QStringList rows(picture.height());
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const qsizetype glyph = kGlyphColours.indexOf(picture.pixel(x, y));
            rows[y] += glyph < 0 ? QChar('?') : kGlyphs[glyph];
        }
    return rows.join('|');
}

// A 32-bit picture whose every pixel is drawn from the colours given, or
// from all colours when none are.
inline Bitmap randomPicture(int width, int height, QRandomGenerator& random, QList<Colour> colours = {}) {
    Bitmap picture = Bitmap::white(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, colours.isEmpty() ? Colour(random.bounded(0x1000000))
                                                     : colours[random.bounded(int(colours.size()))]);
    return picture;
}

} // namespace pelmora::test
