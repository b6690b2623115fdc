// SPDX-License-Identifier: GPL-2.0-or-later
#include "emfplus_player.h"

// Local
#include "metafile_player.h"
#include "pelmora_error.h"

// libUEMF
#include <upmf.h>

// Std
#include <algorithm>
#include <cmath>
#include <numbers>

namespace pelmora {

namespace {

constexpr quint16 flagDirectColour = 0x8000;
constexpr quint16 flagWinding = 0x2000;
constexpr quint16 flagClosed = 0x2000;
constexpr double elementCost = 16;

// A metafile drawn as an image is rendered at most this big, at most this
// many times a file; a metafile inside one inside another is not drawn.
constexpr int maxNestedSide = 4096;
constexpr qint64 maxNestedPixels = qint64(1) << 24;
constexpr int maxNestedPlays = 32;
thread_local int nesting = 0;
// Reading a byte of a metafile drawn as an image, and a pixel of a picture
// made for it (fresh memory, filled, then read), as pixels painted.
constexpr double byteCost = 4;
constexpr double newPixelCost = 16;

// A point's angle on the ellipse in the box, as GDI+ measures it (the true
// angle, clockwise), turned into the angle Qt's arcs take (parametric,
// anticlockwise), keeping whole turns.
double qtAngle(const QRectF& box, double degrees) {
    const double radians = degrees * std::numbers::pi / 180;
    const double parametric =
        std::atan2(box.width() * std::sin(radians), box.height() * std::cos(radians)) * 180 / std::numbers::pi;
    return -(parametric + 360 * std::round((degrees - parametric) / 360));
}

QPainterPath arcPath(const QRectF& box, double start, double sweep, bool pie) {
    QPainterPath path;
    sweep = std::clamp(sweep, -360.0, 360.0);
    const double from = qtAngle(box, start);
    const double length = std::abs(sweep) >= 360 ? -sweep : qtAngle(box, start + sweep) - from;
    if (pie) {
        path.moveTo(box.center());
        path.arcTo(box, from, length);
        path.closeSubpath();
    } else {
        path.arcMoveTo(box, from);
        path.arcTo(box, from, length);
    }
    return path;
}

// A cardinal spline through the points as Bézier segments: segments from
// the first, count of them, each point's tangent from its neighbours.
QPainterPath cardinalSpline(const QPolygonF& p, double tension, bool closed, qsizetype first, qsizetype count) {
    const qsizetype n = p.size();
    auto at = [&](qsizetype i) {
        if (closed)
            return p[((i % n) + n) % n];
        return p[std::clamp<qsizetype>(i, 0, n - 1)];
    };
    const double t = tension / 3;
    QPainterPath path;
    path.moveTo(at(first));
    for (qsizetype i = first; i < first + count; ++i) {
        const QPointF c1 = at(i) + t * (at(i + 1) - at(i - 1));
        const QPointF c2 = at(i + 1) - t * (at(i + 2) - at(i));
        path.cubicTo(c1, c2, at(i + 1));
    }
    if (closed)
        path.closeSubpath();
    return path;
}

// A cap placed on a figure's end at tip, the line leaving it along
// direction (a unit vector), for a pen width wide.
QPainterPath placedCap(const EmfPlusCap& cap, QPointF tip, QPointF direction, double width) {
    const QPointF across(-direction.y(), direction.x());
    return QTransform(across.x() * width, across.y() * width, direction.x() * width, direction.y() * width, tip.x(),
                      tip.y())
        .map(cap.shape);
}

// Every figure's ends as the pen's caps.
void addCaps(const QPainterPath& path, const EmfPlusPen& pen, double width, QPainterPath& filled,
             QPainterPath& stroked) {
    auto unit = [](QPointF v) {
        const double length = std::hypot(v.x(), v.y());
        return length > 0 ? v / length : QPointF(1, 0);
    };
    auto add = [&](const std::optional<EmfPlusCap>& cap, QPointF tip, QPointF from) {
        if (cap)
            (cap->filled ? filled : stroked).addPath(placedCap(*cap, tip, unit(tip - from), width));
    };
    int first = 0;
    for (int i = 1; i <= path.elementCount(); ++i) {
        if (i < path.elementCount() && !path.elementAt(i).isMoveTo())
            continue;
        if (i - first >= 2) {
            add(pen.startCap, path.elementAt(first), path.elementAt(first + 1));
            add(pen.endCap, path.elementAt(i - 1), path.elementAt(i - 2));
        }
        first = i;
    }
}

// Counts a metafile as nested for as long as it plays, however its play
// ends.
class NestedPlay {
public:
    NestedPlay() { ++nesting; }
    ~NestedPlay() { --nesting; }
    NestedPlay(const NestedPlay&) = delete;
    NestedPlay& operator=(const NestedPlay&) = delete;
};

// Plays a WMF or EMF onto the picture, its frame filling it, charging the
// outer file's budget; false when the metafile does not hold together.
bool playNested(const QByteArray& metafile, QImage& picture, WorkBudget& budget) {
    const NestedPlay nested;
    try {
        MetafilePlayer(metafile).play(picture, budget);
    } catch (const PelmoraError&) {
        return false;
    }
    return true;
}

// The metafile with what it leaves unpainted transparent: played over
// white and over black, a pixel that differs between the two was not
// painted, or painted partly.
QImage coverage(const QByteArray& metafile, QSize size, WorkBudget& budget) {
    QImage onWhite(size, QImage::Format_RGB32);
    QImage onBlack(size, QImage::Format_RGB32);
    if (onWhite.isNull() || onBlack.isNull())
        return {};
    onWhite.fill(Qt::white);
    onBlack.fill(Qt::black);
    if (!playNested(metafile, onWhite, budget) || !playNested(metafile, onBlack, budget))
        return {};
    QImage picture(size, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < size.height(); ++y) {
        const auto* white = reinterpret_cast<const QRgb*>(onWhite.constScanLine(y));
        const auto* black = reinterpret_cast<const QRgb*>(onBlack.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const QRgb w = white[x], b = black[x];
            const int alpha = 255 - std::max({qRed(w) - qRed(b), qGreen(w) - qGreen(b), qBlue(w) - qBlue(b), 0});
            out[x] = qRgba(std::min(qRed(b), alpha), std::min(qGreen(b), alpha), std::min(qBlue(b), alpha), alpha);
        }
    }
    return picture;
}

double scaleOf(const QTransform& t) {
    return std::sqrt(std::abs(t.determinant()));
}

} // namespace

double EmfPlusPlayer::rasterWork(const QPainterPath& path, Raster kind, double penPixels) const {
    if (budget_.spent())
        return 0;
    return rasterCost(path, transform(), target_.size(), state_.antialias, kind, penPixels);
}

bool EmfPlusPlayer::prepare(const QRectF& worldBounds, qsizetype elements, double work) {
    const QTransform t = transform();
    if (!painter_.isActive() || !usableTransform(t))
        return false;
    const QRectF touched = t.mapRect(worldBounds).adjusted(-1, -1, 1, 1).intersected(QRectF(target_.rect()));
    // A clip not yet handed to the painter is rasterised first, as a fill is.
    const double clip = clipApplied_ || !state_.clip || budget_.spent()
        ? 0
        : rasterCost(*state_.clip, QTransform(), target_.size(), state_.antialias, Raster::Fill);
    if (!spend(touched.width() * touched.height() + double(elements + 1) * elementCost + work + clip)
        || touched.isEmpty())
        return false;
    if (!clipApplied_) {
        painter_.resetTransform();
        if (state_.clip)
            painter_.setClipPath(*state_.clip);
        else
            painter_.setClipping(false);
        clipApplied_ = true;
    }
    painter_.setTransform(t);
    painter_.setRenderHint(QPainter::Antialiasing, state_.antialias);
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, true);
    return true;
}

void EmfPlusPlayer::fill(const QPainterPath& path, const EmfPlusBrush& brush) {
    double work = rasterWork(path, Raster::Fill) * (brush.background ? 2 : 1);
    if (brush.boundary)
        work += rasterWork(*brush.boundary, Raster::Fill);
    if (!prepare(path.controlPointRect(), path.elementCount(), work))
        return;
    if (brush.background)
        painter_.fillPath(path, *brush.background);
    if (brush.boundary) {
        painter_.save();
        painter_.setClipPath(*brush.boundary, Qt::IntersectClip);
        painter_.fillPath(path, brush.brush);
        painter_.restore();
        return;
    }
    painter_.fillPath(path, brush.brush);
}

void EmfPlusPlayer::stroke(const QPainterPath& path, const EmfPlusPen& pen) {
    const double width = worldLength(pen.width, pen.unit);
    const double pixels = std::abs(width) * scaleOf(transform());
    if (!usableNumber(pixels)
        || !prepare(path.controlPointRect().adjusted(-width, -width, width, width), path.elementCount(),
                    rasterWork(path, pixels <= 1 ? Raster::CosmeticStroke : Raster::WideStroke, pixels)))
        return;
    // However thin, a GDI+ line covers a pixel.
    QPen qtPen(pen.brush.brush, pixels < 1 ? 0 : std::abs(width), Qt::SolidLine, pen.cap, pen.join);
    qtPen.setMiterLimit(pen.miterLimit);
    if (!pen.dashes.isEmpty()) {
        qtPen.setDashPattern(pen.dashes);
        qtPen.setDashOffset(pen.dashOffset);
    }
    painter_.strokePath(path, qtPen);
    if (pen.startCap || pen.endCap) {
        QPainterPath filled, stroked;
        addCaps(path, pen, pixels < 1 ? 1 / scaleOf(transform()) : std::abs(width), filled, stroked);
        if (!spend(rasterWork(filled, Raster::Fill) + rasterWork(stroked, Raster::WideStroke, pixels)))
            return;
        painter_.fillPath(filled, pen.brush.brush);
        qtPen.setStyle(Qt::SolidLine);
        painter_.strokePath(stroked, qtPen);
    }
}

void EmfPlusPlayer::shape(quint16 type, quint16 flags, ByteView data) {
    const EmfPlusReader r(data);
    const bool compressed = flags & U_PPF_C;
    const bool relative = flags & U_PPF_P;
    const bool fills = type == U_PMR_FILLRECTS || type == U_PMR_FILLPOLYGON || type == U_PMR_FILLELLIPSE
        || type == U_PMR_FILLPIE || type == U_PMR_FILLREGION || type == U_PMR_FILLPATH || type == U_PMR_FILLCLOSEDCURVE;
    // Fill records start with their brush; DrawPath names its pen there.
    const std::size_t body = fills || type == U_PMR_DRAWPATH ? 4 : 0;
    QPainterPath path;
    switch (type) {
    case U_PMR_FILLRECTS:
    case U_PMR_DRAWRECTS: {
        const auto rects = r.rects(body + 4, data.u32(body), compressed);
        if (!rects)
            return;
        for (const QRectF& rect : *rects)
            path.addRect(rect);
        break;
    }
    case U_PMR_FILLPOLYGON:
    case U_PMR_DRAWLINES:
    case U_PMR_DRAWBEZIERS: {
        const auto points = r.points(body + 4, data.u32(body), compressed, relative);
        if (!points || points->isEmpty())
            return;
        if (type == U_PMR_DRAWBEZIERS) {
            path.moveTo(points->front());
            for (qsizetype i = 1; i + 2 < points->size(); i += 3)
                path.cubicTo((*points)[i], (*points)[i + 1], (*points)[i + 2]);
        } else {
            path.addPolygon(*points);
            if (type == U_PMR_FILLPOLYGON || (flags & flagClosed))
                path.closeSubpath();
        }
        break;
    }
    case U_PMR_FILLELLIPSE:
    case U_PMR_DRAWELLIPSE: {
        const auto box = r.rect(body, compressed);
        if (!box)
            return;
        path.addEllipse(*box);
        break;
    }
    case U_PMR_FILLPIE:
    case U_PMR_DRAWPIE:
    case U_PMR_DRAWARC: {
        const double start = data.f32(body);
        const double sweep = data.f32(body + 4);
        const auto box = r.rect(body + 8, compressed);
        if (!box || !usableNumber(start) || !usableNumber(sweep))
            return;
        path = arcPath(*box, start, sweep, type != U_PMR_DRAWARC);
        break;
    }
    case U_PMR_FILLREGION: {
        const auto* region = find<EmfPlusRegion>(flags & 0xFF);
        const QTransform t = transform();
        if (!region || !usableTransform(t) || !spendOnRegion(*region))
            return;
        path = t.inverted().map(regionPath(*region, 0, 0));
        break;
    }
    case U_PMR_FILLPATH:
    case U_PMR_DRAWPATH: {
        const auto* found = find<EmfPlusPath>(flags & 0xFF);
        if (!found)
            return;
        path = found->path;
        break;
    }
    case U_PMR_FILLCLOSEDCURVE:
    case U_PMR_DRAWCLOSEDCURVE:
    case U_PMR_DRAWCURVE: {
        const double tension = data.f32(body);
        const bool open = type == U_PMR_DRAWCURVE;
        const std::size_t countAt = body + (open ? 12 : 4);
        const auto points = r.points(countAt + 4, data.u32(countAt), compressed, relative && !open);
        if (!points || points->size() < 2 || !usableNumber(tension))
            return;
        qsizetype first = 0;
        qsizetype count = points->size() - (open ? 1 : 0);
        if (open) {
            first = std::min<qsizetype>(data.u32(body + 4), points->size() - 1);
            count = std::min<qsizetype>(data.u32(body + 8), points->size() - 1 - first);
        }
        path = cardinalSpline(*points, tension, !open, first, count);
        if (flags & flagWinding && type == U_PMR_FILLCLOSEDCURVE)
            path.setFillRule(Qt::WindingFill);
        break;
    }
    default:
        return;
    }
    if (fills) {
        if (const auto b = brush(flags & flagDirectColour, data.u32(0)))
            fill(path, *b);
        return;
    }
    const quint32 penId = type == U_PMR_DRAWPATH ? data.u32(0) : flags & 0xFF;
    if (const auto* pen = find<EmfPlusPen>(penId))
        stroke(path, *pen);
}

void EmfPlusPlayer::drawImage(const EmfPlusImage& image, const QRectF& source, const QTransform& sourceToWorld) {
    if (!usableTransform(sourceToWorld) || !prepare(sourceToWorld.mapRect(source)))
        return;
    if (!image.bitmap.isNull()) {
        painter_.setTransform(sourceToWorld * transform());
        painter_.drawImage(source, image.bitmap, source);
        return;
    }
    if (nesting > 0 || nestedPlays_++ >= maxNestedPlays)
        return;
    // A metafile is drawn whole into the destination, at the size it has
    // there. Upright, it plays over a copy of what lies beneath, so that its
    // raster operations meet the colours they would meet drawn in place.
    const QTransform toTarget = sourceToWorld * transform();
    const QRect area = toTarget.mapRect(source).toAlignedRect();
    const bool upright = toTarget.type() <= QTransform::TxScale && toTarget.m11() > 0 && toTarget.m22() > 0
        && qint64(area.width()) * area.height() <= maxNestedPixels;
    // Each play reads the metafile afresh, onto a picture of its own made
    // for it (two more for the coverage: on black, and the two combined):
    // work the outer file pays for, as it pays for what the plays draw.
    const QSize size = upright ? area.size()
                               : QSize(std::clamp(area.width(), 1, maxNestedSide),
                                       std::clamp(area.height(), 1, maxNestedSide));
    const double plays = upright ? 1 : 2;
    const double pictures = upright ? 1 : 3;
    if (!spend(plays * double(image.metafile.size()) * byteCost
               + pictures * double(size.width()) * double(size.height()) * newPixelCost))
        return;
    QImage picture;
    if (upright)
        picture = target_.copy(area).convertToFormat(QImage::Format_RGB32);
    else
        picture = coverage(image.metafile, size, budget_);
    if (picture.isNull() || (upright && !playNested(image.metafile, picture, budget_)))
        return;
    if (upright) {
        painter_.resetTransform();
        painter_.drawImage(area.topLeft(), picture);
        return;
    }
    const QTransform pictureToSource =
        QTransform::fromScale(source.width() / picture.width(), source.height() / picture.height())
        * QTransform::fromTranslate(source.x(), source.y());
    painter_.setTransform(pictureToSource * toTarget);
    painter_.drawImage(QPointF(0, 0), picture);
}

} // namespace pelmora
