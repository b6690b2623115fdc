#include "test_pictures.h"

// Std
#include <algorithm>

namespace pelmora::test {

Colour colourOfGlyph(QChar glyph) {
    switch (glyph.toLatin1()) {
    case '#': return kBlack;
    case 'r': return kRed;
    case 'g': return kGreen;
    case 'b': return kBlue;
    default: return kWhite;
    }
}

Bitmap pictureFromRows(const QStringList& rows) {
    Bitmap picture;
    picture.setWidth(rows.isEmpty() ? 0 : int(rows.first().size()));
    picture.setHeight(int(rows.size()));
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, colourOfGlyph(rows[y][x]));
    return picture;
}

QStringList rowsOfPicture(const Bitmap& picture) {
    QStringList rows;
    for (int y = 0; y < picture.height(); ++y) {
        QString row;
        for (int x = 0; x < picture.width(); ++x) {
            QChar glyph = '?';
            for (QChar candidate : QStringLiteral(".#rgb"))
                if (colourOfGlyph(candidate) == picture.pixel(x, y))
                    glyph = candidate;
            row += glyph;
        }
        rows << row;
    }
    return rows;
}

Grid gridOf(const Bitmap& picture) {
    Grid grid{picture.width(), picture.height(), {}};
    for (int y = 0; y < grid.height; ++y)
        for (int x = 0; x < grid.width; ++x)
            grid.cells.push_back(picture.pixel(x, y));
    return grid;
}

Bitmap inFormat(const Grid& grid, QImage::Format format) {
    if (grid.width == 0 || grid.height == 0) {
        Bitmap empty;
        empty.setWidth(grid.width);
        empty.setHeight(grid.height);
        return empty;
    }
    QImage image(grid.width, grid.height, format);
    QList<QRgb> palette;
    for (Colour c : grid.cells)
        if (!palette.contains(rgbFromColour(c)))
            palette << rgbFromColour(c);
    if (format == QImage::Format_Indexed8)
        image.setColorTable(palette);
    for (int y = 0; y < grid.height; ++y)
        for (int x = 0; x < grid.width; ++x) {
            const QRgb rgb = rgbFromColour(grid.cells[size_t(y) * size_t(grid.width) + size_t(x)]);
            if (format == QImage::Format_Indexed8)
                image.setPixel(x, y, uint(palette.indexOf(rgb)));
            else
                image.setPixel(x, y, rgb);
        }
    return Bitmap(image);
}

} // namespace pelmora::test
