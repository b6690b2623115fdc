// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTransform>

// Local
#include "gdi_objects.h"
#include "picture_limits.h"

// Std
#include <optional>
#include <vector>

namespace pelmora {

// The GDI state machine both metafile players drive: device contexts with
// their stack, the object table, mapping modes, the world transform, paths,
// clipping, and the drawing calls, painting with QPainter onto the target.
//
// Logical coordinates pass through the world transform and the page
// transform (window, viewport, mapping mode) to the recording device's
// pixels, then through the output transform to the target's pixels.
class GdiDevice {
public:
    // pixelsPerMm: the recording device's resolution, for the metric and
    // English mapping modes; output: recording device to target pixels;
    // budget: the file's, charged for what the device draws.
    GdiDevice(QImage& target, QSizeF pixelsPerMm, const QTransform& output, WorkBudget& budget);
    ~GdiDevice();
    GdiDevice(const GdiDevice&) = delete;
    GdiDevice& operator=(const GdiDevice&) = delete;

    // The most rectangles a region record may have.
    static constexpr std::size_t maxRegionRects = 20000;

    // The union of the rectangles, charged to the budget; nothing once the
    // budget is spent.
    std::optional<QRegion> regionOf(const std::vector<QRect>& rects);

    // Object table. Indices outside the table, or empty slots, are ignored.
    void setTableSize(std::size_t size);
    void createObject(std::size_t index, const GdiObject& object);
    // The lowest free slot, as WMF numbers its objects; nothing when full.
    std::optional<std::size_t> insertObject(const GdiObject& object);
    void selectObject(std::size_t index);
    void selectStockObject(quint32 index);
    void deleteObject(std::size_t index);
    const GdiObject* object(std::size_t index) const;

    // Palettes: colour references resolve through the selected one, the
    // default palette when none is.
    void selectPalette(std::optional<std::size_t> index) { dc_.palette = index; }
    std::optional<std::size_t> selectedPalette() const { return dc_.palette; }
    void setPaletteEntries(std::size_t index, quint32 start, const QList<QRgb>& entries);
    void resizePalette(std::size_t index, quint32 count);
    const QList<QRgb>& palette() const;
    QRgb colour(quint32 colorRef) const { return resolveColorRef(colorRef, palette()); }

    // Device-context state.
    void saveDc();
    void restoreDc(int level);
    void setMapMode(int mode);
    void setWindowOrg(QPointF origin);
    void setWindowExt(QSizeF extent);
    void setViewportOrg(QPointF origin);
    void setViewportExt(QSizeF extent);
    void offsetWindowOrg(QPointF offset);
    void offsetViewportOrg(QPointF offset);
    void scaleWindowExt(double xNum, double xDenom, double yNum, double yDenom);
    void scaleViewportExt(double xNum, double xDenom, double yNum, double yDenom);
    void setWorldTransform(const QTransform& transform);
    void modifyWorldTransform(const QTransform& transform, int mode);
    void setBkColour(QRgb colour) { dc_.bkColour = colour; }
    QRgb bkColour() const { return dc_.bkColour; }
    QRgb textColour() const { return dc_.textColour; }
    void setBkMode(int mode) { dc_.bkOpaque = mode == 2; }
    void setTextColour(QRgb colour) { dc_.textColour = colour; }
    void setTextAlign(quint32 align) { dc_.textAlign = align; }
    void setRop2(int rop) { dc_.rop2 = rop; }
    void setPolyFillMode(int mode) { dc_.winding = mode == 2; }
    void setArcDirection(int direction) { dc_.clockwise = direction == 2; }
    void setMiterLimit(double limit) { dc_.miterLimit = limit; }
    void setTextCharExtra(double extra) { dc_.charExtra = extra; }

    // Clipping.
    void intersectClipRect(const QRectF& logical);
    void excludeClipRect(const QRectF& logical);
    void offsetClip(QPointF logical);
    // mode: RGN_AND 1, OR 2, XOR 3, DIFF 4, COPY 5; region in recording
    // device pixels (EMF); nothing with RGN_COPY resets the clip.
    void selectClipRegion(const std::optional<QRegion>& deviceRegion, int mode);
    // A region in logical units (WMF).
    void selectLogicalClipRegion(const std::optional<QRegion>& logicalRegion);

    // Paths (EMF).
    void beginPath();
    void endPath() { pathOpen_ = false; }
    void abortPath();
    void closeFigure();
    void fillPath();
    void strokePath();
    void strokeAndFillPath();
    void selectClipPath(int mode);
    void widenPath();

    // Drawing, in logical units.
    void moveTo(QPointF p);
    void lineTo(QPointF p);
    void polyline(const QPolygonF& points);
    void polylineTo(const QPolygonF& points);
    void polygon(const QPolygonF& points);
    void polyPolygon(const std::vector<QPolygonF>& polygons);
    void polyPolyline(const std::vector<QPolygonF>& polylines);
    void polyBezier(const QPolygonF& points);
    void polyBezierTo(const QPolygonF& points);
    void polyDraw(const QPolygonF& points, const std::vector<quint8>& types);
    void rectangle(const QRectF& box);
    void roundRect(const QRectF& box, QSizeF corner);
    void ellipse(const QRectF& box);
    enum class ArcKind { Arc, Chord, Pie, ArcTo };
    void arc(const QRectF& box, QPointF start, QPointF end, ArcKind kind);
    void angleArc(QPointF centre, double radius, double startDeg, double sweepDeg);
    void setPixel(QPointF p, QRgb colour);
    // Regions in the units selectClipRegion and selectLogicalClipRegion take.
    void fillRegion(const QRegion& region, bool logical, const GdiBrush& brush);
    void frameRegion(const QRegion& region, bool logical, const GdiBrush& brush, QSizeF frame);
    void invertRegion(const QRegion& region, bool logical);
    void paintRegion(const QRegion& region, bool logical);

    // Text: ETO_OPAQUE 2, ETO_CLIPPED 4; advances in logical units.
    // advanced: GM_ADVANCED, the text following the whole transform; else
    // GM_COMPATIBLE, upright and left to right on the device.
    void textOut(QPointF reference, const QString& text, quint32 options, const QRectF& box,
                 const std::vector<double>& advances, bool advanced = false);
    // Decodes 8-bit text by the selected font's character set.
    QString decodeText(const QByteArray& bytes) const;

    // Gradient fills: a box shaded across (or down), a triangle in the mean
    // of its corner colours.
    void gradientRect(const QRectF& box, QRgb from, QRgb to, bool vertical);
    void gradientTriangle(const QPolygonF& corners, const std::vector<QRgb>& colours);

    // Fills with the brush what connects to start (left, right, up, down)
    // on what has been drawn: the pixels of colour with surface, those of
    // any other colour up to a border of colour without.
    void floodFill(QPointF start, QRgb colour, bool surface);

    // Block transfers: rop is a ternary raster operation; a null source
    // paints with the brush only. HALFTONE (4) averages a shrunk source;
    // the other stretch modes pick pixels.
    void setStretchMode(int mode) { dc_.stretchMode = mode; }
    void blit(const QRectF& destination, const QImage& source, const QRectF& sourceRect, quint32 rop);
    // A source with premultiplied alpha, or an opaque one, blended over the
    // destination with a constant alpha of 0 to 255 on top.
    void alphaBlend(const QRectF& destination, const QImage& source, const QRectF& sourceRect, int constantAlpha);
    // The source rectangle onto the parallelogram whose upper-left,
    // upper-right and lower-left corners are given; transparent source
    // pixels (a mask) keep the destination.
    void plgBlt(const QPolygonF& corners, const QImage& source, const QRectF& sourceRect);

private:
    struct Dc {
        int mapMode = 1;
        QPointF windowOrg{0, 0};
        QSizeF windowExt{1, 1};
        QPointF viewportOrg{0, 0};
        QSizeF viewportExt{1, 1};
        QTransform world;
        GdiPen pen;
        GdiBrush brush;
        GdiFont font;
        QRgb bkColour = 0xFFFFFFFFu;
        bool bkOpaque = true;
        QRgb textColour = 0xFF000000u;
        quint32 textAlign = 0;
        int rop2 = 13;
        bool winding = false;
        bool clockwise = false;
        double miterLimit = 10;
        double charExtra = 0;
        QPointF position{0, 0};
        std::optional<QRegion> clip;        // target pixels
        double clipSpans = 0;               // rows of the clip's rectangles
        std::optional<std::size_t> palette; // object index
        int stretchMode = 1;
    };

    // Where a block transfer lands: target pixels when the mapping keeps
    // the axes, logical units drawn through the transform otherwise.
    struct BlitPlace {
        QRectF target;
        bool aligned = true;
        bool mirrorX = false;
        bool mirrorY = false;
    };
    // Charges the budget, applies the clip, saves the painter and sets its
    // transform; the caller restores it. Nothing when nothing shows.
    std::optional<BlitPlace> beginBlit(const QRectF& destination);
    void drawSource(const BlitPlace& place, const QImage& source, const QRectF& sourceRect);

    QTransform transform() const;           // logical to target pixels
    QTransform pageTransform() const;       // logical to recording device
    QPointF toTarget(QPointF logical) const;
    QPolygonF toTarget(const QPolygonF& logical) const;
    QPainterPath toTarget(const QPainterPath& logical) const;
    bool axisAligned() const;
    // A logical box as target pixels, right and bottom excluded as GDI does.
    QRectF targetBox(const QRectF& logical) const;

    void drawTargetPath(const QPainterPath& path, bool fill, bool stroke);
    void addOrDraw(const QPainterPath& targetPath, bool fill, bool stroke);
    QPen qtPen() const;
    // A pattern is converted for every use and charged for it; once the
    // budget is spent, the brush paints nothing.
    QBrush qtBrush(const GdiBrush& brush);
    double penWidthPixels() const;
    bool applyRop2(QRgb& colour);
    void applyClip();
    void setClip(std::optional<QRegion> clip);
    void combineClip(const QRegion& region, int mode);
    // Nothing once the budget is spent.
    std::optional<QRegion> targetRegion(const QRegion& region, bool logical);
    QFont qtFont(double& pixelHeight, bool advanced) const;
    // Charges the pixels a drawing call may touch against the file's
    // budget, and the clip it is about to apply; false once the budget is
    // spent, and the call then draws nothing.
    bool spend(const QRectF& targetBounds);
    // Charges what filling and stroking the path asks of the rasteriser.
    bool spendOnRaster(const QPainterPath& path, bool fill, bool stroke);

    QImage& target_;
    QPainter painter_;
    QSizeF pixelsPerMm_;
    QTransform output_;
    QRectF targetRect_;
    Dc dc_;
    std::vector<Dc> saved_;
    std::vector<std::optional<GdiObject>> objects_;
    std::size_t firstFree_ = 0;
    std::vector<bool> floodMarks_;            // one a target pixel, clear between fills
    QPainterPath path_;                       // target pixels
    bool pathOpen_ = false;
    bool clipApplied_ = false;
    WorkBudget& budget_;
};

// A transform whose values are finite, bounded and invertible.
bool usableTransform(const QTransform& t);

// 8-bit text in a Windows character set (LOGFONT lfCharSet) as Unicode.
QString decodeAnsi(const QByteArray& bytes, int charSet);

} // namespace pelmora
