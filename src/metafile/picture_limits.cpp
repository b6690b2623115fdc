// SPDX-License-Identifier: GPL-2.0-or-later
#include "picture_limits.h"

// Local
#include "metafile_text.h"

// Std
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace pelmora {

namespace {

constexpr double budgetPasses = 32;
constexpr double budgetBase = 1e8;

// A pixel painted is about a quarter of a nanosecond; these costs were
// measured on Qt 6's rasterisers in the same units.
constexpr double edgeCost = 512;          // an edge converted, clipped and sorted
constexpr double lineCost = 256;          // a cosmetic line set up
constexpr double linePixelCost = 4;       // a pixel along it
constexpr double crossingCost = 16;       // a row an edge crosses
constexpr double pairCost = 6;            // two edges on one row, sorted
constexpr double stepCost = 80;           // a row stepped in an antialiased band
// A wide pen's outline has both sides of every edge and a join at every
// corner, as tall as the pen is wide; filling it costs several times as
// much as filling the path, and more the wider the pen.
constexpr double wideStrokeFactor = 8;

// The antialiasing rasteriser has room for about this many cells a band,
// a cell for each row an edge crosses; a band that overflows is halved.
constexpr double bandCells = 150;

// The antialiasing rasteriser's positions are in 64ths of a pixel.
constexpr double subpixels = 64;

// Qt clips a path that reaches further before rasterising it.
constexpr double farthestRow = 1 << 24;

double bounded(double v) {
    return std::isfinite(v) ? std::clamp(v, -farthestRow, farthestRow) : 0;
}

} // namespace

QSize checkedPictureSize(double width, double height) {
    if (!std::isfinite(width) || !std::isfinite(height) || width < 1 || height < 1)
        refuseMetafile();
    // A sound file that only asks for too much is told apart from a broken one.
    if (width > maxPictureSide || height > maxPictureSide || width * height > double(maxPicturePixels))
        throw PelmoraError(outOfMemoryText());
    return QSize(int(width), int(height));
}

WorkBudget::WorkBudget(QSize picture)
    : total_(budgetPasses * double(picture.width()) * double(picture.height()) + budgetBase), left_(total_) {}

double rasterCost(const QPainterPath& path, const QTransform& toPixels, QSize picture, bool antialiased, Raster kind,
                  double penPixels) {
    const double rows = picture.height();
    const double reach = double(picture.width()) + rows;
    double edges = 0;
    double length = 0;
    double crossings = 0;
    double stepped = 0;            // rows of the edges that reach the picture
    double steppedTimesShown = 0;  // the same, each times its rows on the picture
    std::vector<std::pair<double, int>> changes;   // edges starting and ending, by row
    auto edge = [&](QPointF from, QPointF to) {
        edges += 1;
        const double top = std::min(bounded(from.y()), bounded(to.y()));
        const double bottom = std::max(bounded(from.y()), bounded(to.y()));
        const double across = std::abs(bounded(to.x()) - bounded(from.x()));
        length += std::min(std::max(across, bottom - top), reach) + 1;
        if (kind == Raster::CosmeticStroke)
            return;
        const double first = std::floor(std::max(top, 0.0));
        const double last = std::floor(std::min(bottom, rows - 1));
        if (first > last)
            return;
        const double shown = last - first + 1;
        crossings += shown;
        // A band steps a slanted edge from end to end, an upright one over its own rows.
        if (across * subpixels < 1) {
            stepped += shown;
        } else {
            stepped += bottom - top + 1;
            steppedTimesShown += (bottom - top + 1) * shown;
        }
        changes.emplace_back(first, 1);
        changes.emplace_back(last + 1, -1);
    };
    // Every figure is closed, as a fill closes it.
    QPointF start;
    QPointF previous;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const QPointF p = toPixels.map(QPointF(e.x, e.y));
        if (e.isMoveTo()) {
            if (i > 0)
                edge(previous, start);
            start = p;
        } else {
            edge(previous, p);
        }
        previous = p;
    }
    if (path.elementCount() > 0)
        edge(previous, start);
    if (kind == Raster::CosmeticStroke)
        return edges * lineCost + length * linePixelCost;

    std::sort(changes.begin(), changes.end());
    double pairs = 0;
    double crossing = 0;
    for (std::size_t i = 0; i < changes.size(); ++i) {
        crossing += changes[i].second;
        if (i + 1 < changes.size())
            pairs += crossing * crossing * (changes[i + 1].first - changes[i].first);
    }
    double cost = edges * edgeCost + crossings * crossingCost + pairs * pairCost;
    if (antialiased && !changes.empty()) {
        const double span = changes.back().first - changes.front().first;
        const double band = std::clamp(bandCells * span / crossings, 1.0, span + 1);
        cost += (steppedTimesShown / band + stepped + edges * (span / band + 1)) * stepCost;
    }
    return kind == Raster::WideStroke ? cost * (wideStrokeFactor + std::min(penPixels, reach)) : cost;
}

} // namespace pelmora
