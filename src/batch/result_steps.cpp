// SPDX-License-Identifier: GPL-2.0-or-later
#include "result_steps.h"

// Qt
#include <QSize>

// Local
#include "rotate_mirror.h"
#include "stretch_copy.h"

// Std
#include <algorithm>

namespace pelmora::batch {

namespace {

// side * to / from, rounded, at least 1.
int proportional(int side, int to, int from) {
    return int(std::max<qint64>(1, (2 * qint64(side) * to + from) / (2 * qint64(from))));
}

// The size that keeps the picture's proportions: a side of 0 follows the
// other; with `fit`, the larger size inside the box.
QSize keepingProportions(const Bitmap& picture, int width, int height, bool fit) {
    const int w = picture.width(), h = picture.height();
    const bool widthRules = fit ? qint64(width) * h <= qint64(height) * w : height == 0;
    if (widthRules)
        return QSize(width, proportional(h, width, w));
    return QSize(proportional(w, height, h), height);
}

// Percentages in the resize dialog's arithmetic: 32-bit, truncating.
Bitmap applyStep(const Bitmap& picture, const Step& step) {
    if (const auto* turn = std::get_if<Turn>(&step))
        return rotateOrFlipPicture(picture, turn->turn);
    if (const auto* scale = std::get_if<Scale>(&step))
        return stretched(picture, int(qint64(picture.width()) * scale->percent / 100),
                         int(qint64(picture.height()) * scale->percent / 100));
    if (picture.isEmpty())
        return picture;
    if (const auto* fit = std::get_if<Fit>(&step)) {
        const QSize size = keepingProportions(picture, fit->width, fit->height, true);
        return stretched(picture, size.width(), size.height());
    }
    const Size& size = std::get<Size>(step);
    if (size.width > 0 && size.height > 0)
        return stretched(picture, size.width, size.height);
    const QSize kept = keepingProportions(picture, size.width, size.height, false);
    return stretched(picture, kept.width(), kept.height());
}

} // namespace

Bitmap afterSteps(Bitmap picture, const Options& options, size_t leftOut) {
    for (size_t i = 0; i + leftOut < options.steps.size(); ++i)
        picture = applyStep(picture, options.steps[i]);
    return picture;
}

std::optional<TurnOrMirror> turnWhileWriting(const Options& options, OutputType type) {
    const Turn* turn = options.steps.empty() ? nullptr : std::get_if<Turn>(&options.steps.back());
    if (type != OutputType::Bmp || !turn || (turn->turn != TurnOrMirror::Turn90 && turn->turn != TurnOrMirror::Turn270))
        return std::nullopt;
    return turn->turn;
}

QImage planeAfterSteps(const QImage& plane, const Options& options) {
    if (options.steps.empty() || plane.isNull())
        return plane;
    const QImage grey(plane.constBits(), plane.width(), plane.height(), plane.bytesPerLine(),
                      QImage::Format_Grayscale8);
    return afterSteps(Bitmap(grey.convertToFormat(QImage::Format_RGB32)), options)
        .image()
        .convertToFormat(QImage::Format_Grayscale8);
}

} // namespace pelmora::batch
