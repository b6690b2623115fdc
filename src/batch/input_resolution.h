// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QString>

// Std
#include <optional>

namespace pelmora::batch {

// The horizontal resolution a picture file records, in dots per metre:
// a BMP's header, a PNG's pHYs chunk, a JPEG's JFIF density. Nothing when
// the file records none (or an aspect ratio only), or is of another kind.
std::optional<double> recordedDotsPerMeter(const QString& path);

inline constexpr double kMetresPerInch = 0.0254;
// What a picture that says nothing of its resolution is taken to have.
inline constexpr double kDefaultDotsPerInch = 96;

} // namespace pelmora::batch
