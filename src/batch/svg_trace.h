// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QByteArray>
#include <QImage>

// Local
#include "background.h"
#include "bitmap.h"

// Std
#include <functional>

namespace pelmora::batch {

// How the traced subject is drawn: one filled path, or its line alone.
struct SvgPaint {
    Colour colour;
    bool stroke;
};

// The picture's subject (every pixel that is not background) traced into
// smooth closed curves with potrace's default parameters, as an SVG document
// whose width, height and view box are the picture's size in pixels. A
// picture without a subject gives a document with nothing drawn. Tracing a
// large, busy picture takes a while: `progress` hears how far it is, from 0
// to 1, from the calling thread.
QByteArray traceToSvg(const Bitmap& picture, const Background& background, const SvgPaint& paint,
                      const std::function<void(double)>& progress);

// The same from background marks (connected_background.h, subject_marks.h).
QByteArray traceMarksToSvg(const QImage& marks, bool solid, const SvgPaint& paint,
                           const std::function<void(double)>& progress);

// The subject of settled marks (subject_marks.h) traced as above and drawn
// back at the marks' size with antialiasing, as Format_Alpha8: the smooth
// edge of a silhouette whatever its pixels looked like.
QImage smoothSubjectAlpha(const QImage& marks, const std::function<void(double)>& progress);

} // namespace pelmora::batch
