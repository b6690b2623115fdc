// SPDX-License-Identifier: GPL-2.0-or-later
#include "gdi_device.h"

// Std
#include <algorithm>
#include <cmath>

namespace pelmora {

namespace {

// Deeper save levels are not kept; no real metafile comes near.
constexpr std::size_t maxSavedDcs = 1024;

// A call's fixed cost, as many pixels.
constexpr double callCost = 16;
// A region operation makes a new region and walks the rectangles of both;
// the painter turns a clip into a span for every row of every rectangle.
constexpr double regionCost = 1024;
constexpr double rectCost = 64;
constexpr double spanCost = 8;
// Turning a path into rectangles scans it as a fill does, then gathers the
// rows' rectangles in blocks at a cost that grows with their square; before
// that, its figures are grouped by comparing every one with every other.
constexpr double pathRegionFactor = 64;
constexpr double figurePairCost = 32;

// Repeated scale records could otherwise take an extent to 0, infinity or
// NaN, and the font height with it.
bool usableExtent(QSizeF e) {
    auto fine = [](double v) { return std::abs(v) >= 1e-9 && std::abs(v) <= 1e12; };
    return fine(e.width()) && fine(e.height());
}

double millimetresPerUnit(int mapMode) {
    switch (mapMode) {
    case 2: return 0.1;
    case 3: return 0.01;
    case 4: return 0.254;
    case 5: return 0.0254;
    case 6: return 25.4 / 1440;
    default: return 0;
    }
}

} // namespace

bool usableTransform(const QTransform& t) {
    const double values[] = {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy()};
    for (double v : values)
        if (!std::isfinite(v) || std::abs(v) > 1e9)
            return false;
    return std::abs(t.determinant()) > 1e-12;
}

GdiDevice::GdiDevice(QImage& target, QSizeF pixelsPerMm, const QTransform& output, WorkBudget& budget)
    : target_(target), painter_(&target), pixelsPerMm_(pixelsPerMm), output_(output),
      targetRect_(0, 0, target.width(), target.height()), budget_(budget) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, false);
    dc_.pen.colour = qRgb(0, 0, 0);
    dc_.font.face = QStringLiteral("MS Sans Serif");
}

GdiDevice::~GdiDevice() = default;

void GdiDevice::setTableSize(std::size_t size) {
    objects_.assign(size, std::nullopt);
    firstFree_ = 0;
}

void GdiDevice::createObject(std::size_t index, const GdiObject& object) {
    if (index < objects_.size())
        objects_[index] = object;
}

std::optional<std::size_t> GdiDevice::insertObject(const GdiObject& object) {
    // Every slot below firstFree_ is taken, so a full table costs nothing.
    for (; firstFree_ < objects_.size(); ++firstFree_) {
        if (!objects_[firstFree_]) {
            objects_[firstFree_] = object;
            return firstFree_++;
        }
    }
    return std::nullopt;
}

const GdiObject* GdiDevice::object(std::size_t index) const {
    if (index >= objects_.size() || !objects_[index])
        return nullptr;
    return &*objects_[index];
}

void GdiDevice::selectObject(std::size_t index) {
    const GdiObject* chosen = object(index);
    if (!chosen)
        return;
    if (const auto* pen = std::get_if<GdiPen>(chosen))
        dc_.pen = *pen;
    else if (const auto* brush = std::get_if<GdiBrush>(chosen))
        dc_.brush = *brush;
    else if (const auto* font = std::get_if<GdiFont>(chosen))
        dc_.font = *font;
    else if (const auto* region = std::get_if<GdiRegion>(chosen))
        selectLogicalClipRegion(region->region);
}

void GdiDevice::selectStockObject(quint32 index) {
    const auto stock = stockObject(index);
    if (!stock)
        return;
    if (const auto* pen = std::get_if<GdiPen>(&*stock))
        dc_.pen = *pen;
    else if (const auto* brush = std::get_if<GdiBrush>(&*stock))
        dc_.brush = *brush;
    else if (const auto* font = std::get_if<GdiFont>(&*stock))
        dc_.font = *font;
}

void GdiDevice::deleteObject(std::size_t index) {
    if (index < objects_.size()) {
        objects_[index].reset();
        firstFree_ = std::min(firstFree_, index);
    }
}

void GdiDevice::saveDc() {
    if (saved_.size() < maxSavedDcs)
        saved_.push_back(dc_);
}

void GdiDevice::restoreDc(int level) {
    // Negative: relative to the current level; positive: an absolute level.
    const qint64 depth = qint64(saved_.size());
    const qint64 keep = level < 0 ? depth + level : qint64(level) - 1;
    if (keep < 0 || keep >= depth)
        return;
    dc_ = saved_[std::size_t(keep)];
    saved_.resize(std::size_t(keep));
    clipApplied_ = false;
}

void GdiDevice::setMapMode(int mode) {
    if (mode < 1 || mode > 8)
        return;
    dc_.mapMode = mode;
}

void GdiDevice::setWindowOrg(QPointF origin) { dc_.windowOrg = origin; }
void GdiDevice::setViewportOrg(QPointF origin) { dc_.viewportOrg = origin; }
void GdiDevice::offsetWindowOrg(QPointF offset) { dc_.windowOrg += offset; }
void GdiDevice::offsetViewportOrg(QPointF offset) { dc_.viewportOrg += offset; }

void GdiDevice::setWindowExt(QSizeF extent) {
    if (usableExtent(extent))
        dc_.windowExt = extent;
}

void GdiDevice::setViewportExt(QSizeF extent) {
    if (usableExtent(extent))
        dc_.viewportExt = extent;
}

void GdiDevice::scaleWindowExt(double xNum, double xDenom, double yNum, double yDenom) {
    if (xDenom == 0 || yDenom == 0)
        return;
    setWindowExt(QSizeF(dc_.windowExt.width() * xNum / xDenom, dc_.windowExt.height() * yNum / yDenom));
}

void GdiDevice::scaleViewportExt(double xNum, double xDenom, double yNum, double yDenom) {
    if (xDenom == 0 || yDenom == 0)
        return;
    setViewportExt(QSizeF(dc_.viewportExt.width() * xNum / xDenom, dc_.viewportExt.height() * yNum / yDenom));
}

void GdiDevice::setWorldTransform(const QTransform& transform) {
    if (usableTransform(transform))
        dc_.world = transform;
}

void GdiDevice::modifyWorldTransform(const QTransform& transform, int mode) {
    // MWT_IDENTITY 1, MWT_LEFTMULTIPLY 2, MWT_RIGHTMULTIPLY 3, MWT_SET 4.
    switch (mode) {
    case 1: dc_.world = QTransform(); break;
    case 2: setWorldTransform(transform * dc_.world); break;
    case 3: setWorldTransform(dc_.world * transform); break;
    case 4: setWorldTransform(transform); break;
    default: break;
    }
}

QTransform GdiDevice::pageTransform() const {
    double sx = 1;
    double sy = 1;
    const double mm = millimetresPerUnit(dc_.mapMode);
    if (mm > 0) {
        sx = mm * pixelsPerMm_.width();
        sy = -mm * pixelsPerMm_.height();
    } else if (dc_.mapMode == 7 || dc_.mapMode == 8) {
        sx = dc_.viewportExt.width() / dc_.windowExt.width();
        sy = dc_.viewportExt.height() / dc_.windowExt.height();
        if (dc_.mapMode == 7) {
            const double m = std::min(std::abs(sx), std::abs(sy));
            sx = std::copysign(m, sx);
            sy = std::copysign(m, sy);
        }
    }
    return QTransform(sx, 0, 0, sy, dc_.viewportOrg.x() - dc_.windowOrg.x() * sx,
                      dc_.viewportOrg.y() - dc_.windowOrg.y() * sy);
}

QTransform GdiDevice::transform() const {
    return dc_.world * pageTransform() * output_;
}

bool GdiDevice::axisAligned() const {
    const QTransform t = transform();
    return t.m12() == 0 && t.m21() == 0;
}

namespace {

// Far outside the picture nothing is visible; the rasteriser gets bounded values.
constexpr double coordinateLimit = 1e7;

double clampCoordinate(double v) {
    if (!std::isfinite(v))
        return 0;
    return std::clamp(v, -coordinateLimit, coordinateLimit);
}

} // namespace

QPointF GdiDevice::toTarget(QPointF logical) const {
    const QPointF p = transform().map(logical);
    return QPointF(clampCoordinate(std::round(p.x())), clampCoordinate(std::round(p.y())));
}

QPolygonF GdiDevice::toTarget(const QPolygonF& logical) const {
    const QTransform t = transform();
    QPolygonF result;
    result.reserve(logical.size());
    for (const QPointF& p : logical) {
        const QPointF q = t.map(p);
        result.append(QPointF(clampCoordinate(std::round(q.x())), clampCoordinate(std::round(q.y()))));
    }
    return result;
}

QPainterPath GdiDevice::toTarget(const QPainterPath& logical) const {
    QPainterPath path = transform().map(logical);
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        path.setElementPositionAt(i, clampCoordinate(e.x), clampCoordinate(e.y));
    }
    return path;
}

QRectF GdiDevice::targetBox(const QRectF& logical) const {
    const QPointF a = toTarget(logical.topLeft());
    const QPointF b = toTarget(logical.bottomRight());
    const double left = std::min(a.x(), b.x());
    const double right = std::max(a.x(), b.x());
    const double top = std::min(a.y(), b.y());
    const double bottom = std::max(a.y(), b.y());
    return QRectF(QPointF(left, top), QPointF(std::max(left, right - 1), std::max(top, bottom - 1)));
}

bool GdiDevice::spend(const QRectF& targetBounds) {
    const QRectF touched = targetBounds.normalized().adjusted(-1, -1, 1, 1).intersected(targetRect_);
    const double clip = clipApplied_ ? 0 : dc_.clipSpans * spanCost;
    return budget_.spend(touched.width() * touched.height() + callCost + clip);
}

std::optional<QRegion> GdiDevice::regionOf(const std::vector<QRect>& rects) {
    // United in pairs, then pairs of pairs: whatever the order of the
    // rectangles, each round walks every rectangle once.
    std::vector<QRegion> parts(rects.begin(), rects.end());
    for (std::size_t step = 1; step < parts.size(); step *= 2) {
        double cost = 0;
        for (std::size_t i = 0; i + step < parts.size(); i += 2 * step) {
            cost += regionCost + double(parts[i].rectCount() + parts[i + step].rectCount()) * rectCost;
            parts[i] = parts[i].united(parts[i + step]);
        }
        if (!budget_.spend(cost))
            return std::nullopt;
    }
    return parts.empty() ? QRegion() : parts.front();
}

void GdiDevice::applyClip() {
    if (clipApplied_)
        return;
    if (dc_.clip)
        painter_.setClipRegion(*dc_.clip);
    else
        painter_.setClipping(false);
    clipApplied_ = true;
}

void GdiDevice::setClip(std::optional<QRegion> clip) {
    dc_.clip = std::move(clip);
    dc_.clipSpans = 0;
    if (dc_.clip)
        for (const QRect& r : *dc_.clip)
            dc_.clipSpans += r.height();
    clipApplied_ = false;
}

void GdiDevice::combineClip(const QRegion& region, int mode) {
    const QRegion base = dc_.clip ? *dc_.clip : QRegion(targetRect_.toRect());
    if (!budget_.spend(regionCost + double(base.rectCount() + region.rectCount()) * rectCost))
        return;
    switch (mode) {
    case 1: setClip(base.intersected(region)); break;
    case 2: setClip(base.united(region)); break;
    case 3: setClip(base.xored(region)); break;
    case 4: setClip(base.subtracted(region)); break;
    case 5: setClip(region); break;
    default: break;
    }
}

void GdiDevice::intersectClipRect(const QRectF& logical) {
    combineClip(QRegion(targetBox(logical).adjusted(0, 0, 1, 1).toRect()), 1);
}

void GdiDevice::excludeClipRect(const QRectF& logical) {
    combineClip(QRegion(targetBox(logical).adjusted(0, 0, 1, 1).toRect()), 4);
}

void GdiDevice::offsetClip(QPointF logical) {
    if (!dc_.clip)
        return;
    const QPointF shift = toTarget(logical) - toTarget(QPointF(0, 0));
    setClip(dc_.clip->translated(shift.toPoint()));
}

std::optional<QRegion> GdiDevice::targetRegion(const QRegion& region, bool logical) {
    const QTransform t = logical ? transform() : output_;
    const QRect bounds = targetRect_.toRect().adjusted(-1, -1, 1, 1);
    std::vector<QRect> rects;
    rects.reserve(std::size_t(region.rectCount()));
    for (const QRect& r : region) {
        const QPointF a = t.map(QPointF(r.left(), r.top()));
        const QPointF b = t.map(QPointF(r.right() + 1, r.bottom() + 1));
        const QRectF box = QRectF(QPointF(clampCoordinate(std::round(a.x())), clampCoordinate(std::round(a.y()))),
                                  QPointF(clampCoordinate(std::round(b.x())), clampCoordinate(std::round(b.y()))))
                               .normalized();
        rects.push_back(box.toRect().intersected(bounds));
    }
    return regionOf(rects);
}

void GdiDevice::selectClipRegion(const std::optional<QRegion>& deviceRegion, int mode) {
    if (!deviceRegion) {
        if (mode == 5)
            setClip(std::nullopt);
        return;
    }
    if (const auto target = targetRegion(*deviceRegion, false))
        combineClip(*target, mode);
}

void GdiDevice::selectLogicalClipRegion(const std::optional<QRegion>& logicalRegion) {
    if (!logicalRegion)
        setClip(std::nullopt);
    else if (const auto target = targetRegion(*logicalRegion, true))
        setClip(*target);
}

void GdiDevice::beginPath() {
    path_ = QPainterPath();
    pathOpen_ = true;
}

void GdiDevice::abortPath() {
    path_ = QPainterPath();
    pathOpen_ = false;
}

void GdiDevice::closeFigure() {
    if (pathOpen_)
        path_.closeSubpath();
}

void GdiDevice::fillPath() {
    QPainterPath path = path_;
    abortPath();
    drawTargetPath(path, true, false);
}

void GdiDevice::strokePath() {
    QPainterPath path = path_;
    abortPath();
    drawTargetPath(path, false, true);
}

void GdiDevice::strokeAndFillPath() {
    QPainterPath path = path_;
    abortPath();
    drawTargetPath(path, true, true);
}

void GdiDevice::selectClipPath(int mode) {
    QPainterPath path = path_;
    abortPath();
    const Qt::FillRule rule = dc_.winding ? Qt::WindingFill : Qt::OddEvenFill;
    path.setFillRule(rule);
    QPainterPath visible;
    visible.addRect(targetRect_.adjusted(-1, -1, 1, 1));
    const QPainterPath shown = path.intersected(visible);
    double figures = 0;
    for (int i = 0; i < shown.elementCount(); ++i)
        figures += shown.elementAt(i).isMoveTo() ? 1 : 0;
    if (!budget_.spend(pathRegionFactor * rasterCost(shown, QTransform(), target_.size(), false, Raster::Fill)
                       + figures * figures * figurePairCost))
        return;
    QRegion region;
    for (const QPolygonF& figure : shown.toFillPolygons()) {
        const QRegion part(figure.toPolygon(), rule);
        if (!budget_.spend(regionCost + double(region.rectCount() + part.rectCount()) * rectCost))
            return;
        region = region.xored(part);
    }
    combineClip(region, mode);
}

void GdiDevice::widenPath() {
    QPainterPathStroker stroker(qtPen());
    path_ = stroker.createStroke(path_);
}

} // namespace pelmora
