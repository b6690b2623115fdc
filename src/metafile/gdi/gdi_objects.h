// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QColor>
#include <QImage>
#include <QList>
#include <QRegion>
#include <QString>

// Std
#include <optional>
#include <variant>

namespace pelmora {

// The graphics objects a metafile creates, selects and deletes, as plain
// values: selecting one copies it into the device context.

struct GdiPen {
    quint32 style = 0;       // PS_* style, end cap, join and type bits
    double width = 0;        // logical units; 0 is one device pixel
    QRgb colour = 0xFF000000u;
    QList<double> dashes;    // PS_USERSTYLE lengths, logical units
};

struct GdiBrush {
    enum class Kind { Solid, Null, Hatched, Pattern };
    Kind kind = Kind::Solid;
    QRgb colour = 0xFFFFFFFFu;
    int hatch = 0;
    QImage pattern;          // Pattern: Indexed8 or RGB32
    bool monochrome = false; // Pattern: 1-bit, drawn in text and background colours
};

struct GdiFont {
    int height = 0;          // logical units; negative is the character height
    int width = 0;
    int escapement = 0;      // tenths of a degree, anticlockwise: the baseline
    int orientation = 0;     // the same: each character's own (GM_ADVANCED)
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charSet = 0;
    QString face;
};

// A region in the units it was recorded in (logical for WMF, device for EMF).
struct GdiRegion {
    QRegion region;
};

// A logical palette; colour references may name its entries.
struct GdiPalette {
    QList<QRgb> entries;
};

// Objects that only hold a slot in the table.
struct GdiPlaceholder {};

using GdiObject = std::variant<GdiPen, GdiBrush, GdiFont, GdiRegion, GdiPalette, GdiPlaceholder>;

// The stock objects an EMF may select by index (WHITE_BRUSH ... DC_PEN).
std::optional<GdiObject> stockObject(quint32 index);

// The 20 colours of the palette every device context starts with.
const QList<QRgb>& defaultPalette();

// The colour a COLORREF names: 0x00BBGGRR, 0x01000000 with an index into
// the palette, or 0x02BBGGRR for the palette's nearest entry.
QRgb resolveColorRef(quint32 ref, const QList<QRgb>& palette);

} // namespace pelmora
