// SPDX-License-Identifier: GPL-2.0-or-later
#include "gdi_objects.h"

// Std
#include <algorithm>

namespace pelmora {

const QList<QRgb>& defaultPalette() {
    static const QList<QRgb> colours = [] {
        const QRgb rgb[20] = {
            0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0, 0xC0DCC0, 0xA6CAF0,
            0xFFFBF0, 0xA0A0A4, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
        QList<QRgb> list;
        for (QRgb c : rgb)
            list.append(c | 0xFF000000u);
        return list;
    }();
    return colours;
}

QRgb resolveColorRef(quint32 ref, const QList<QRgb>& palette) {
    const QRgb plain = qRgb(int(ref & 0xFF), int(ref >> 8 & 0xFF), int(ref >> 16 & 0xFF));
    const quint32 kind = ref >> 24;
    if (palette.isEmpty() || (kind != 1 && kind != 2))
        return plain;
    if (kind == 1) {
        // An index past the palette's end takes its first entry.
        const quint32 index = ref & 0xFFFF;
        return index < quint32(palette.size()) ? palette[index] : palette.first();
    }
    auto distance = [&](QRgb c) {
        const int r = qRed(c) - qRed(plain);
        const int g = qGreen(c) - qGreen(plain);
        const int b = qBlue(c) - qBlue(plain);
        return r * r + g * g + b * b;
    };
    return *std::min_element(palette.begin(), palette.end(),
                             [&](QRgb a, QRgb b) { return distance(a) < distance(b); });
}

std::optional<GdiObject> stockObject(quint32 index) {
    auto solidBrush = [](int grey) {
        GdiBrush brush;
        brush.colour = qRgb(grey, grey, grey);
        return GdiObject(brush);
    };
    auto pen = [](quint32 style, QRgb colour) {
        GdiPen p;
        p.style = style;
        p.colour = colour;
        return GdiObject(p);
    };
    switch (index) {
    case 0: return solidBrush(255);
    case 1: return solidBrush(192);
    case 2: return solidBrush(128);
    case 3: return solidBrush(64);
    case 4: return solidBrush(0);
    case 5: {
        GdiBrush brush;
        brush.kind = GdiBrush::Kind::Null;
        return GdiObject(brush);
    }
    case 6: return pen(0, qRgb(255, 255, 255));
    case 7: return pen(0, qRgb(0, 0, 0));
    case 8: return pen(5, qRgb(0, 0, 0));
    case 10:
    case 11:
    case 16: {
        GdiFont font;
        font.face = QStringLiteral("Courier New");
        return GdiObject(font);
    }
    case 12:
    case 13:
    case 14:
    case 17: {
        GdiFont font;
        font.face = QStringLiteral("MS Sans Serif");
        return GdiObject(font);
    }
    case 18: return solidBrush(255);
    case 19: return pen(0, qRgb(0, 0, 0));
    default: return std::nullopt;
    }
}

} // namespace pelmora
