// SPDX-License-Identifier: GPL-2.0-or-later
#include "colour.h"

// Qt
#include <QGuiApplication>
#include <QPalette>

namespace pelmora {

namespace {

// Windows' classic defaults, used when no application palette exists.
QRgb classicSystemColour(int index) {
    switch (index) {
    case 1: return qRgb(0x00, 0x80, 0x80);   // desktop
    case 5: return qRgb(0xFF, 0xFF, 0xFF);   // window
    case 7: case 8: case 9: case 18: case 23:
        return qRgb(0x00, 0x00, 0x00);       // texts
    case 13: return qRgb(0x00, 0x00, 0x80);  // highlight
    case 14: return qRgb(0xFF, 0xFF, 0xFF);  // highlight text
    case 16: case 17: return qRgb(0x80, 0x80, 0x80);
    case 20: return qRgb(0xFF, 0xFF, 0xFF);
    case 21: return qRgb(0x40, 0x40, 0x40);
    case 24: return qRgb(0xFF, 0xFF, 0xE1);
    default: return qRgb(0xC0, 0xC0, 0xC0); // faces and everything else
    }
}

QRgb paletteSystemColour(const QPalette& p, int index) {
    switch (index) {
    case 1: case 15: case 4: case 22: return p.color(QPalette::Button).rgb();
    case 5: return p.color(QPalette::Base).rgb();
    case 7: case 8: return p.color(QPalette::Text).rgb();
    case 13: return p.color(QPalette::Highlight).rgb();
    case 14: return p.color(QPalette::HighlightedText).rgb();
    case 16: return p.color(QPalette::Dark).rgb();
    case 17: return p.color(QPalette::Disabled, QPalette::Text).rgb();
    case 18: return p.color(QPalette::ButtonText).rgb();
    case 20: return p.color(QPalette::Light).rgb();
    case 21: return p.color(QPalette::Shadow).rgb();
    case 23: return p.color(QPalette::ToolTipText).rgb();
    case 24: return p.color(QPalette::ToolTipBase).rgb();
    case 10: case 11: case 6: return p.color(QPalette::Mid).rgb();
    default: return classicSystemColour(index);
    }
}

} // namespace

Colour resolveColour(Colour colour) {
    if (colour >= 0)
        return colour & 0xFFFFFF;
    const int index = colour & 0xFF;
    const QRgb rgb = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                         ? paletteSystemColour(QGuiApplication::palette(), index)
                         : classicSystemColour(index);
    return colourFromRgb(rgb);
}

} // namespace pelmora
