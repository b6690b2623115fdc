// SPDX-License-Identifier: GPL-2.0-or-later
#include "gdi_device.h"

// Std
#include <cmath>
#include <numbers>

namespace pelmora {

namespace {

std::optional<QPainter::CompositionMode> rop2Mode(int rop) {
    switch (rop) {
    case 2: return QPainter::RasterOp_NotSourceAndNotDestination;
    case 3: return QPainter::RasterOp_NotSourceAndDestination;
    case 4: return QPainter::RasterOp_NotSource;
    case 5: return QPainter::RasterOp_SourceAndNotDestination;
    case 6: return QPainter::RasterOp_NotDestination;
    case 7: return QPainter::RasterOp_SourceXorDestination;
    case 8: return QPainter::RasterOp_NotSourceOrNotDestination;
    case 9: return QPainter::RasterOp_SourceAndDestination;
    case 10: return QPainter::RasterOp_NotSourceXorDestination;
    case 12: return QPainter::RasterOp_NotSourceOrDestination;
    case 14: return QPainter::RasterOp_SourceOrNotDestination;
    case 15: return QPainter::RasterOp_SourceOrDestination;
    default: return std::nullopt;
    }
}

QList<qreal> stockDashes(int style, bool geometric) {
    switch (style) {
    case 1: return geometric ? QList<qreal>{3, 1} : QList<qreal>{18, 6};
    case 2: return geometric ? QList<qreal>{1, 1} : QList<qreal>{3, 3};
    case 3: return geometric ? QList<qreal>{3, 1, 1, 1} : QList<qreal>{9, 6, 3, 6};
    case 4: return geometric ? QList<qreal>{3, 1, 1, 1, 1, 1} : QList<qreal>{9, 3, 3, 3, 3, 3};
    case 8: return {1, 1};
    default: return {};
    }
}

Qt::BrushStyle hatchStyle(int hatch) {
    switch (hatch) {
    case 0: return Qt::HorPattern;
    case 1: return Qt::VerPattern;
    case 2: return Qt::FDiagPattern;
    case 3: return Qt::BDiagPattern;
    case 4: return Qt::CrossPattern;
    default: return Qt::DiagCrossPattern;
    }
}

// Qt's arc angles are parametric on the ellipse; GDI gives points on radials.
double parametricAngle(const QRectF& box, QPointF p) {
    const QPointF c = box.center();
    const double rx = std::max(box.width() / 2, 1e-9);
    const double ry = std::max(box.height() / 2, 1e-9);
    return std::atan2(-(p.y() - c.y()) / ry, (p.x() - c.x()) / rx) * 180 / std::numbers::pi;
}

} // namespace

double GdiDevice::penWidthPixels() const {
    const bool geometric = (dc_.pen.style & 0x10000) != 0;
    const bool extended = (dc_.pen.style & 0xF0000) != 0 || (dc_.pen.style & 0xFF00) != 0;
    if (dc_.pen.width <= 0 || (extended && !geometric))
        return 1;
    const QTransform t = transform();
    const double scale = std::sqrt(std::abs(t.determinant()));
    return std::clamp(dc_.pen.width * scale, 1.0, 1e5);
}

bool GdiDevice::applyRop2(QRgb& colour) {
    switch (dc_.rop2) {
    case 11: return false;
    case 1: colour = qRgb(0, 0, 0); break;
    case 16: colour = qRgb(255, 255, 255); break;
    default: break;
    }
    const auto mode = rop2Mode(dc_.rop2);
    painter_.setCompositionMode(mode ? *mode : QPainter::CompositionMode_SourceOver);
    return true;
}

QPen GdiDevice::qtPen() const {
    const int style = int(dc_.pen.style & 0xF);
    if (style == 5)
        return Qt::NoPen;
    const bool geometric = (dc_.pen.style & 0x10000) != 0;
    const double width = penWidthPixels();
    QPen pen(QColor::fromRgb(dc_.pen.colour), width <= 1.5 ? 1 : std::round(width));
    const bool extended = (dc_.pen.style & 0xFFFF0000u) != 0 || (dc_.pen.style & 0xFF00) != 0;
    if (extended) {
        const quint32 cap = dc_.pen.style & 0xF00;
        pen.setCapStyle(cap == 0x100 ? Qt::SquareCap : cap == 0x200 ? Qt::FlatCap : Qt::RoundCap);
        const quint32 join = dc_.pen.style & 0xF000;
        pen.setJoinStyle(join == 0x1000 ? Qt::BevelJoin : join == 0x2000 ? Qt::MiterJoin : Qt::RoundJoin);
        pen.setMiterLimit(dc_.miterLimit);
    } else {
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
    }
    // Old-style pens wider than one logical unit are always solid.
    if (!extended && dc_.pen.width > 1)
        return pen;
    QList<qreal> dashes;
    if (style == 7) {
        const double unit = geometric ? std::max(dc_.pen.width, 1.0) : 1;
        for (double d : dc_.pen.dashes)
            dashes.append(std::max(d / unit, 0.1));
        if (dashes.size() % 2 == 1)
            dashes += dashes;
    } else {
        dashes = stockDashes(style, geometric);
    }
    if (!dashes.isEmpty()) {
        pen.setCapStyle(Qt::FlatCap);
        pen.setDashPattern(dashes);
    }
    return pen;
}

QBrush GdiDevice::qtBrush(const GdiBrush& brush) {
    switch (brush.kind) {
    case GdiBrush::Kind::Null:
        return Qt::NoBrush;
    case GdiBrush::Kind::Solid:
        return QBrush(QColor::fromRgb(brush.colour));
    case GdiBrush::Kind::Hatched:
        return QBrush(QColor::fromRgb(brush.colour), hatchStyle(brush.hatch));
    case GdiBrush::Kind::Pattern: {
        if (!budget_.spend(double(brush.pattern.width()) * double(brush.pattern.height()) * rawPixelCost))
            return Qt::NoBrush;
        QImage pattern = brush.pattern;
        if (brush.monochrome && pattern.format() == QImage::Format_Indexed8)
            pattern.setColorTable({dc_.textColour, dc_.bkColour});
        return QBrush(pattern.convertToFormat(QImage::Format_RGB32));
    }
    }
    return Qt::NoBrush;
}

bool GdiDevice::spendOnRaster(const QPainterPath& path, bool fill, bool stroke) {
    double cost = 0;
    if (fill && dc_.brush.kind != GdiBrush::Kind::Null)
        cost += rasterCost(path, QTransform(), target_.size(), false, Raster::Fill);
    // The painter strokes pens of one pixel line by line, wider ones as outlines it fills.
    if (stroke && (dc_.pen.style & 0xF) != 5) {
        const double width = penWidthPixels();
        cost += rasterCost(path, QTransform(), target_.size(), false,
                           width <= 1.5 ? Raster::CosmeticStroke : Raster::WideStroke, width);
    }
    return budget_.spend(cost);
}

void GdiDevice::drawTargetPath(const QPainterPath& path, bool fill, bool stroke) {
    const double margin = stroke ? penWidthPixels() : 0;
    if (path.isEmpty() || !spend(path.controlPointRect().adjusted(-margin, -margin, margin, margin))
        || !spendOnRaster(path, fill, stroke))
        return;
    applyClip();
    painter_.setBackgroundMode(dc_.bkOpaque ? Qt::OpaqueMode : Qt::TransparentMode);
    painter_.setBackground(QColor::fromRgb(dc_.bkColour));
    if (fill && dc_.brush.kind != GdiBrush::Kind::Null) {
        QBrush brush = qtBrush(dc_.brush);
        QRgb colour = brush.color().rgb();
        if (applyRop2(colour)) {
            if (brush.style() == Qt::SolidPattern || brush.style() == hatchStyle(dc_.brush.hatch))
                brush.setColor(QColor::fromRgb(colour));
            QPainterPath filled = path;
            filled.setFillRule(dc_.winding ? Qt::WindingFill : Qt::OddEvenFill);
            painter_.fillPath(filled, brush);
        }
    }
    if (stroke) {
        QPen pen = qtPen();
        QRgb colour = pen.color().rgb();
        if (pen.style() != Qt::NoPen && applyRop2(colour)) {
            pen.setColor(QColor::fromRgb(colour));
            painter_.strokePath(path, pen);
        }
    }
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void GdiDevice::addOrDraw(const QPainterPath& targetPath, bool fill, bool stroke) {
    if (pathOpen_)
        path_.addPath(targetPath);
    else
        drawTargetPath(targetPath, fill, stroke);
}

void GdiDevice::moveTo(QPointF p) {
    dc_.position = p;
    if (pathOpen_)
        path_.moveTo(toTarget(p));
}

void GdiDevice::lineTo(QPointF p) {
    if (pathOpen_) {
        if (path_.elementCount() == 0)
            path_.moveTo(toTarget(dc_.position));
        path_.lineTo(toTarget(p));
    } else {
        QPainterPath line(toTarget(dc_.position));
        line.lineTo(toTarget(p));
        drawTargetPath(line, false, true);
    }
    dc_.position = p;
}

void GdiDevice::polyline(const QPolygonF& points) {
    if (points.size() < 2)
        return;
    QPainterPath path;
    path.addPolygon(toTarget(points));
    addOrDraw(path, false, true);
}

void GdiDevice::polylineTo(const QPolygonF& points) {
    if (points.isEmpty())
        return;
    for (const QPointF& p : points)
        lineTo(p);
}

void GdiDevice::polygon(const QPolygonF& points) {
    if (points.size() < 2)
        return;
    QPainterPath path;
    path.addPolygon(toTarget(points));
    path.closeSubpath();
    addOrDraw(path, true, true);
}

void GdiDevice::polyPolygon(const std::vector<QPolygonF>& polygons) {
    QPainterPath path;
    for (const QPolygonF& points : polygons) {
        if (points.size() < 2)
            continue;
        path.addPolygon(toTarget(points));
        path.closeSubpath();
    }
    addOrDraw(path, true, true);
}

void GdiDevice::polyPolyline(const std::vector<QPolygonF>& polylines) {
    QPainterPath path;
    for (const QPolygonF& points : polylines)
        if (points.size() >= 2)
            path.addPolygon(toTarget(points));
    addOrDraw(path, false, true);
}

void GdiDevice::polyBezier(const QPolygonF& points) {
    if (points.size() < 4)
        return;
    const QPolygonF t = toTarget(points);
    QPainterPath path(t[0]);
    for (qsizetype i = 1; i + 2 < t.size(); i += 3)
        path.cubicTo(t[i], t[i + 1], t[i + 2]);
    addOrDraw(path, false, true);
}

void GdiDevice::polyBezierTo(const QPolygonF& points) {
    if (points.size() < 3)
        return;
    QPolygonF all;
    all.append(dc_.position);
    all += points.mid(0, points.size() / 3 * 3);
    const QPolygonF t = toTarget(all);
    if (pathOpen_ && path_.elementCount() == 0)
        path_.moveTo(t[0]);
    QPainterPath path(t[0]);
    for (qsizetype i = 1; i + 2 < t.size(); i += 3) {
        if (pathOpen_)
            path_.cubicTo(t[i], t[i + 1], t[i + 2]);
        else
            path.cubicTo(t[i], t[i + 1], t[i + 2]);
    }
    if (!pathOpen_)
        drawTargetPath(path, false, true);
    dc_.position = all.last();
}

void GdiDevice::polyDraw(const QPolygonF& points, const std::vector<quint8>& types) {
    // PT_CLOSEFIGURE 1, PT_LINETO 2, PT_BEZIERTO 4, PT_MOVETO 6.
    QPainterPath path(toTarget(dc_.position));
    const QPolygonF t = toTarget(points);
    for (qsizetype i = 0; i < t.size() && std::size_t(i) < types.size(); ++i) {
        const int type = types[std::size_t(i)] & 6;
        if (type == 6) {
            path.moveTo(t[i]);
        } else if (type == 2) {
            path.lineTo(t[i]);
        } else if (type == 4 && i + 2 < t.size()) {
            path.cubicTo(t[i], t[i + 1], t[i + 2]);
            i += 2;
        }
        if (types[std::size_t(std::min<qsizetype>(i, t.size() - 1))] & 1)
            path.closeSubpath();
        dc_.position = points[std::min<qsizetype>(i, points.size() - 1)];
    }
    addOrDraw(path, false, true);
}

void GdiDevice::rectangle(const QRectF& box) {
    QPainterPath path;
    if (axisAligned()) {
        path.addRect(targetBox(box));
    } else {
        QPainterPath logical;
        logical.addRect(box);
        path = toTarget(logical);
    }
    addOrDraw(path, true, true);
}

void GdiDevice::roundRect(const QRectF& box, QSizeF corner) {
    QPainterPath path;
    if (axisAligned()) {
        const QTransform t = transform();
        const double rx = std::min(std::abs(corner.width() * t.m11()) / 2, 1e7);
        const double ry = std::min(std::abs(corner.height() * t.m22()) / 2, 1e7);
        path.addRoundedRect(targetBox(box), rx, ry);
    } else {
        QPainterPath logical;
        logical.addRoundedRect(box, corner.width() / 2, corner.height() / 2);
        path = toTarget(logical);
    }
    addOrDraw(path, true, true);
}

void GdiDevice::ellipse(const QRectF& box) {
    QPainterPath path;
    if (axisAligned()) {
        path.addEllipse(targetBox(box));
    } else {
        QPainterPath logical;
        logical.addEllipse(box);
        path = toTarget(logical);
    }
    addOrDraw(path, true, true);
}

void GdiDevice::arc(const QRectF& box, QPointF start, QPointF end, ArcKind kind) {
    // Arcs run anticlockwise on the device by default; built in logical
    // units, so a mapping that flips needs the other sweep.
    const QRectF b = box.normalized();
    const double a1 = parametricAngle(b, start);
    const double a2 = parametricAngle(b, end);
    double sweep = std::fmod(a2 - a1 + 720, 360);
    const bool flipped = transform().determinant() < 0;
    const bool clockwise = dc_.clockwise != flipped;
    if (sweep == 0)
        sweep = 360;
    if (clockwise)
        sweep -= 360;
    QPainterPath logical;
    if (kind == ArcKind::Pie) {
        logical.moveTo(b.center());
        logical.arcTo(b, a1, sweep);
        logical.closeSubpath();
    } else {
        logical.arcMoveTo(b, a1);
        if (kind == ArcKind::ArcTo) {
            QPainterPath lead(dc_.position);
            lead.lineTo(logical.currentPosition());
            lead.arcTo(b, a1, sweep);
            logical = lead;
        } else {
            logical.arcTo(b, a1, sweep);
        }
        if (kind == ArcKind::Chord)
            logical.closeSubpath();
    }
    if (kind == ArcKind::ArcTo)
        dc_.position = logical.currentPosition();
    const bool closed = kind == ArcKind::Chord || kind == ArcKind::Pie;
    addOrDraw(toTarget(logical), closed, true);
}

void GdiDevice::angleArc(QPointF centre, double radius, double startDeg, double sweepDeg) {
    if (!std::isfinite(startDeg) || !std::isfinite(sweepDeg) || radius < 0)
        return;
    sweepDeg = std::clamp(sweepDeg, -3600.0, 3600.0);
    const QRectF b(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    QPainterPath logical(dc_.position);
    QPainterPath arcStart;
    arcStart.arcMoveTo(b, startDeg);
    logical.lineTo(arcStart.currentPosition());
    logical.arcTo(b, startDeg, sweepDeg);
    dc_.position = logical.currentPosition();
    addOrDraw(toTarget(logical), false, true);
}

void GdiDevice::setPixel(QPointF p, QRgb colour) {
    const QPointF t = toTarget(p);
    if (!spend(QRectF(t, QSizeF(1, 1))))
        return;
    applyClip();
    painter_.fillRect(QRectF(t, QSizeF(1, 1)), QColor::fromRgb(colour));
}

void GdiDevice::fillRegion(const QRegion& region, bool logical, const GdiBrush& brush) {
    const QBrush b = qtBrush(brush);
    const auto target = b.style() == Qt::NoBrush ? std::nullopt : targetRegion(region, logical);
    if (!target || !spend(target->boundingRect()))
        return;
    applyClip();
    for (const QRect& r : *target)
        painter_.fillRect(r, b);
}

void GdiDevice::frameRegion(const QRegion& region, bool logical, const GdiBrush& brush, QSizeF frame) {
    const auto shape = targetRegion(region, logical);
    if (!shape)
        return;
    const QRegion& target = *shape;
    const QTransform t = logical ? transform() : output_;
    const int w = int(std::clamp(std::round(std::abs(frame.width() * t.m11())), 1.0, 1000.0));
    const int h = int(std::clamp(std::round(std::abs(frame.height() * t.m22())), 1.0, 1000.0));
    const QRegion inner = target.intersected(target.translated(w, 0)).intersected(target.translated(-w, 0))
                              .intersected(target.translated(0, h)).intersected(target.translated(0, -h));
    const QBrush b = qtBrush(brush);
    if (b.style() == Qt::NoBrush || !spend(target.boundingRect()))
        return;
    applyClip();
    for (const QRect& r : target.subtracted(inner))
        painter_.fillRect(r, b);
}

void GdiDevice::invertRegion(const QRegion& region, bool logical) {
    const auto target = targetRegion(region, logical);
    if (!target || !spend(target->boundingRect()))
        return;
    applyClip();
    painter_.setCompositionMode(QPainter::RasterOp_NotDestination);
    for (const QRect& r : *target)
        painter_.fillRect(r, Qt::black);
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void GdiDevice::paintRegion(const QRegion& region, bool logical) {
    fillRegion(region, logical, dc_.brush);
}

void GdiDevice::gradientRect(const QRectF& box, QRgb from, QRgb to, bool vertical) {
    const QRectF target = targetBox(box).adjusted(0, 0, 1, 1);
    if (target.isEmpty() || !spend(target))
        return;
    applyClip();
    QLinearGradient gradient(target.topLeft(), vertical ? target.bottomLeft() : target.topRight());
    gradient.setColorAt(0, QColor::fromRgb(from));
    gradient.setColorAt(1, QColor::fromRgb(to));
    painter_.fillRect(target, gradient);
}

void GdiDevice::gradientTriangle(const QPolygonF& corners, const std::vector<QRgb>& colours) {
    int red = 0;
    int green = 0;
    int blue = 0;
    for (QRgb c : colours) {
        red += qRed(c);
        green += qGreen(c);
        blue += qBlue(c);
    }
    const int n = std::max<int>(1, int(colours.size()));
    QPainterPath path;
    path.addPolygon(toTarget(corners));
    path.closeSubpath();
    if (!spend(path.controlPointRect()))
        return;
    applyClip();
    painter_.fillPath(path, QColor(red / n, green / n, blue / n));
}

} // namespace pelmora
