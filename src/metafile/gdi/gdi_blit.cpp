// SPDX-License-Identifier: GPL-2.0-or-later
#include "gdi_device.h"

// Std
#include <cmath>

namespace pelmora {

namespace {

// Ternary raster operations that copy the source, by their index byte.
std::optional<QPainter::CompositionMode> sourceRopMode(int index) {
    switch (index) {
    case 0xCC: return QPainter::CompositionMode_SourceOver;
    case 0xEE: return QPainter::RasterOp_SourceOrDestination;
    case 0x88: return QPainter::RasterOp_SourceAndDestination;
    case 0x66: return QPainter::RasterOp_SourceXorDestination;
    case 0x44: return QPainter::RasterOp_SourceAndNotDestination;
    case 0x33: return QPainter::RasterOp_NotSource;
    case 0x11: return QPainter::RasterOp_NotSourceAndNotDestination;
    case 0xBB: return QPainter::RasterOp_NotSourceOrDestination;
    case 0xC0: return QPainter::CompositionMode_SourceOver;
    default: return std::nullopt;
    }
}

constexpr int halftoneMode = 4;

} // namespace

std::optional<GdiDevice::BlitPlace> GdiDevice::beginBlit(const QRectF& destination) {
    BlitPlace place;
    place.aligned = axisAligned();
    if (place.aligned) {
        const QPointF a = toTarget(destination.topLeft());
        const QPointF b = toTarget(destination.bottomRight());
        place.mirrorX = b.x() < a.x();
        place.mirrorY = b.y() < a.y();
        place.target = QRectF(a, b).normalized();
    } else {
        place.mirrorX = destination.width() < 0;
        place.mirrorY = destination.height() < 0;
        place.target = destination.normalized();
    }
    if (place.target.isEmpty() || !spend(place.aligned ? place.target : transform().mapRect(place.target)))
        return std::nullopt;
    applyClip();
    painter_.save();
    if (!place.aligned)
        painter_.setTransform(transform());
    return place;
}

void GdiDevice::drawSource(const BlitPlace& place, const QImage& source, const QRectF& sourceRect) {
    QRectF from = sourceRect.normalized().intersected(QRectF(source.rect()));
    if (from.isEmpty())
        return;
    // Sources with alpha come from alpha, transparent and masked transfers.
    QImage image = source.convertToFormat(source.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                                    : QImage::Format_RGB32);
    if (place.mirrorX || place.mirrorY) {
        image = image.mirrored(place.mirrorX, place.mirrorY);
        if (place.mirrorX)
            from.moveLeft(image.width() - from.right());
        if (place.mirrorY)
            from.moveTop(image.height() - from.bottom());
    }
    const QSizeF shown = place.aligned ? place.target.size() : transform().mapRect(place.target).size();
    if (dc_.stretchMode == halftoneMode && (shown.width() < from.width() || shown.height() < from.height())) {
        // Halftone averages the source pixels each target pixel covers; Qt's
        // smooth scaling does that when it shrinks. An axis that grows is
        // left to the stretch below, so the copy is never larger than the source.
        const QSize smaller(int(std::ceil(std::min(shown.width(), from.width()))),
                            int(std::ceil(std::min(shown.height(), from.height()))));
        image = image.copy(from.toAlignedRect()).scaled(smaller.expandedTo(QSize(1, 1)), Qt::IgnoreAspectRatio,
                                                        Qt::SmoothTransformation);
        from = QRectF(image.rect());
    }
    painter_.drawImage(place.target, image, from);
}

void GdiDevice::blit(const QRectF& destination, const QImage& source, const QRectF& sourceRect, quint32 rop) {
    const auto place = beginBlit(destination);
    if (!place)
        return;
    auto fill = [&](const QBrush& brush, QPainter::CompositionMode mode) {
        painter_.setCompositionMode(mode);
        painter_.fillRect(place->target, brush);
    };
    const int index = int(rop >> 16 & 0xFF);
    switch (index) {
    case 0x00: fill(Qt::black, QPainter::CompositionMode_SourceOver); break;
    case 0xFF: fill(Qt::white, QPainter::CompositionMode_SourceOver); break;
    case 0x55: fill(Qt::black, QPainter::RasterOp_NotDestination); break;
    case 0xAA: break;
    case 0xF0: fill(qtBrush(dc_.brush), QPainter::CompositionMode_SourceOver); break;
    case 0x5A: fill(qtBrush(dc_.brush), QPainter::RasterOp_SourceXorDestination); break;
    default: {
        if (source.isNull()) {
            fill(qtBrush(dc_.brush), QPainter::CompositionMode_SourceOver);
            break;
        }
        const auto mode = sourceRopMode(index);
        painter_.setCompositionMode(mode ? *mode : QPainter::CompositionMode_SourceOver);
        drawSource(*place, source, sourceRect);
        break;
    }
    }
    painter_.restore();
}

void GdiDevice::alphaBlend(const QRectF& destination, const QImage& source, const QRectF& sourceRect,
                           int constantAlpha) {
    if (source.isNull() || constantAlpha <= 0)
        return;
    const auto place = beginBlit(destination);
    if (!place)
        return;
    // Premultiplied source over the destination, all of it scaled by the
    // constant alpha: what Qt's opacity does.
    painter_.setOpacity(std::min(constantAlpha, 255) / 255.0);
    drawSource(*place, source, sourceRect);
    painter_.restore();
}

void GdiDevice::plgBlt(const QPolygonF& corners, const QImage& source, const QRectF& sourceRect) {
    const QRectF from = sourceRect.normalized().intersected(QRectF(source.rect()));
    if (corners.size() != 3 || from.isEmpty())
        return;
    // The source rectangle's upper-left, upper-right and lower-left corners
    // go to the three points; the fourth follows.
    const QPointF across = (corners[1] - corners[0]) / sourceRect.width();
    const QPointF down = (corners[2] - corners[0]) / sourceRect.height();
    const QPointF origin = corners[0] - sourceRect.left() * across - sourceRect.top() * down;
    const QTransform toLogical(across.x(), across.y(), down.x(), down.y(), origin.x(), origin.y());
    const QTransform toPixels = toLogical * transform();
    const QRectF bounds = toPixels.mapRect(from);
    if (!usableTransform(toPixels) || !QRectF(-1e7, -1e7, 2e7, 2e7).contains(bounds) || !spend(bounds))
        return;
    applyClip();
    painter_.save();
    painter_.setTransform(toPixels);
    painter_.drawImage(from, source.convertToFormat(source.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                                              : QImage::Format_RGB32),
                       from);
    painter_.restore();
}

} // namespace pelmora
