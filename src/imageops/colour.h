// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QColor>
#include <QRgb>

// Std
#include <cstdint>

namespace pelmora {

// A colour value as the program passes it around: 0x00BBGGRR when
// non-negative; a negative value names a system colour by its low byte.
using Colour = std::int32_t;

// Windows system colour indices the program may meet (low byte of a
// negative Colour).
inline constexpr Colour systemColour(int index) {
    return static_cast<Colour>(0x80000000u | static_cast<std::uint32_t>(index & 0xFF));
}
inline constexpr Colour clBtnFace = systemColour(15);
inline constexpr Colour clWindow = systemColour(5);
inline constexpr Colour clWindowText = systemColour(8);

inline constexpr Colour kBlack = 0x000000;
inline constexpr Colour kWhite = 0xFFFFFF;

// The RGB value a colour stands for now: system colours follow the
// application palette. Never negative.
Colour resolveColour(Colour colour);

// 0x00BBGGRR <-> QRgb (0xAARRGGBB, opaque).
inline constexpr QRgb rgbFromColour(Colour rgb) {
    const auto v = static_cast<std::uint32_t>(rgb);
    return 0xFF000000u | ((v & 0xFFu) << 16) | (v & 0xFF00u) | ((v >> 16) & 0xFFu);
}
inline constexpr Colour colourFromRgb(QRgb rgb) {
    return static_cast<Colour>(((rgb >> 16) & 0xFFu) | (rgb & 0xFF00u) | ((rgb & 0xFFu) << 16));
}

inline QColor qColorFromColour(Colour colour) { return QColor::fromRgb(rgbFromColour(resolveColour(colour))); }
inline Colour colourFromQColor(const QColor& c) { return colourFromRgb(c.rgb()); }

} // namespace pelmora
