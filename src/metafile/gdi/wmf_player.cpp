// SPDX-License-Identifier: GPL-2.0-or-later
#include "wmf_player.h"

// Local
#include "dib.h"
#include "gdi_device.h"
#include "metafile_text.h"
#include "picture_limits.h"

// libUEMF
#include <uwmf.h>

// Std
#include <cmath>

namespace pelmora {

namespace {

constexpr quint32 placeableKey = 0x9AC6CDD7;
constexpr std::size_t placeableSize = 22;
constexpr std::size_t recordsStart = placeableSize + 18;
constexpr double screenDpi = 96;

struct WmfHeader {
    QRectF box;          // bounding box, metafile units
    double unitsPerInch;
    int objects;
};

WmfHeader readHeader(ByteView file) {
    if (!file.has(0, recordsStart) || file.u32(0) != placeableKey)
        refuseMetafile();
    quint16 checksum = 0;
    for (std::size_t i = 0; i < 10; ++i)
        checksum ^= file.u16(2 * i);
    if (checksum != file.u16(20))
        refuseMetafile();
    // METAHEADER: type 1 (memory) or 2 (disk), nine words long.
    const quint16 type = file.u16(placeableSize);
    if ((type != 1 && type != 2) || file.u16(placeableSize + 2) != 9)
        refuseMetafile();
    WmfHeader h;
    h.box = QRectF(QPointF(file.i16(6), file.i16(8)), QPointF(file.i16(10), file.i16(12))).normalized();
    const quint16 inch = file.u16(14);
    h.unitsPerInch = inch == 0 ? screenDpi : inch;
    h.objects = file.u16(placeableSize + 10);
    return h;
}

bool checkRecords(ByteView file) {
    std::size_t at = recordsStart;
    const char* end = file.data() + file.size();
    while (file.has(at, 6)) {
        const std::size_t size = U_WMRRECSAFE_get(file.data() + at, end);
        if (size < 6 || !file.has(at, size))
            return false;
        if (file.u16(at + 4) == 0)
            return true;
        at += size;
    }
    return at == file.size();
}

} // namespace

QSize wmfSize(ByteView file) {
    const WmfHeader h = readHeader(file);
    const double width = std::round(h.box.width() * screenDpi / h.unitsPerInch);
    const double height = std::round(h.box.height() * screenDpi / h.unitsPerInch);
    // A box with no width or height is an empty picture, not a broken file.
    const bool empty = (width == 0 || height == 0) && std::max(width, height) <= maxPictureSide;
    const QSize size = empty ? QSize(int(width), int(height)) : checkedPictureSize(width, height);
    if (!checkRecords(file))
        refuseMetafile();
    return size;
}

namespace {

QPointF pointOf(const U_POINT16& p) { return QPointF(p.x, p.y); }
QRectF boxOf(const U_RECT16& r) { return QRectF(QPointF(r.left, r.top), QPointF(r.right, r.bottom)); }

class WmfPlayer {
public:
    WmfPlayer(ByteView file, const WmfHeader& header, QImage& target, WorkBudget& budget)
        : file_(file), budget_(budget),
          device_(target, QSizeF(screenDpi / 25.4, screenDpi / 25.4), QTransform(), budget),
          targetSize_(target.size()),
          deviceScale_(target.width() / std::max(header.box.width(), 1.0),
                       target.height() / std::max(header.box.height(), 1.0)) {
        device_.setTableSize(std::size_t(std::max(header.objects, 1)));
        device_.setMapMode(8);
        device_.setWindowOrg(header.box.topLeft());
        device_.setWindowExt(header.box.size());
        device_.setViewportExt(QSizeF(target.width(), target.height()));
    }

    void play() {
        std::size_t at = recordsStart;
        const char* end = file_.data() + file_.size();
        while (file_.has(at, 6)) {
            const std::size_t size = U_WMRRECSAFE_get(file_.data() + at, end);
            if (size < 6 || !file_.has(at, size))
                return;
            const quint16 function = file_.u16(at + 4);
            if (function == 0)
                return;
            record_ = file_.sub(at, size);
            dispatch(function & U_WMR_MASK);
            at += size;
        }
    }

private:
    const char* raw() const { return record_.data(); }
    QPointF point(std::size_t at) const { return QPointF(record_.i16(at + 2), record_.i16(at)); }

    QPolygonF points(std::size_t at, std::size_t count) const {
        if (!record_.has(at, count * 4))
            return {};
        QPolygonF result;
        result.reserve(qsizetype(count));
        for (std::size_t i = 0; i < count; ++i)
            result.append(QPointF(record_.i16(at + 4 * i), record_.i16(at + 4 * i + 2)));
        return result;
    }

    template <typename T>
    const T* objectAs(std::size_t index) const {
        const GdiObject* o = device_.object(index);
        return o ? std::get_if<T>(o) : nullptr;
    }

    void create(const GdiObject& object) { device_.insertObject(object); }

    void dispatch(int function);
    void polyPolygon();
    void textOut();
    void extTextOut();
    void createFont();
    void createRegion();
    void createDibPatternBrush();
    void createPatternBrush(const QImage& pattern);
    // A BITMAP16 header at one offset, its bits at another.
    QImage deviceBitmapAt(std::size_t at, std::size_t bitsAt) const;
    void blit(int function);
    QImage deviceBitmap(const U_BITMAP16& bitmap, ByteView bits) const;
    void regionRecord(int function);

    // The file's viewport is in its device units. The first viewport extent
    // it sets is taken as the picture's size on that device; until then a
    // device unit is a unit of the bounding box.
    QPointF deviceUnits(const U_POINT16& p) const {
        return QPointF(p.x * deviceScale_.width(), p.y * deviceScale_.height());
    }
    void setViewportExt(const U_POINT16& extent);

    ByteView file_;
    ByteView record_;
    WorkBudget& budget_;
    GdiDevice device_;
    QSizeF targetSize_;
    QSizeF deviceScale_;
    bool deviceSized_ = false;
};

void WmfPlayer::setViewportExt(const U_POINT16& extent) {
    if (extent.x == 0 || extent.y == 0)
        return;
    if (!deviceSized_) {
        deviceScale_ = QSizeF(targetSize_.width() / std::abs(extent.x), targetSize_.height() / std::abs(extent.y));
        deviceSized_ = true;
    }
    const QPointF size = deviceUnits(extent);
    device_.setViewportExt(QSizeF(size.x(), size.y()));
}

void WmfPlayer::dispatch(int function) {
    const ByteView& r = record_;
    U_POINT16 a{};
    U_POINT16 b{};
    U_RECT16 rect{};
    switch (function) {
    case U_WMR_SETBKCOLOR: device_.setBkColour(device_.colour(r.u32(6))); break;
    case U_WMR_SETTEXTCOLOR: device_.setTextColour(device_.colour(r.u32(6))); break;
    case U_WMR_SETBKMODE: device_.setBkMode(r.u16(6)); break;
    case U_WMR_SETMAPMODE:
        // The bounding box is always the window: only the aspect rule applies.
        device_.setMapMode(r.u16(6) == 7 ? 7 : 8);
        break;
    case U_WMR_SETROP2: device_.setRop2(r.u16(6)); break;
    case U_WMR_SETPOLYFILLMODE: device_.setPolyFillMode(r.u16(6)); break;
    case U_WMR_SETTEXTALIGN: device_.setTextAlign(r.u16(6)); break;
    case U_WMR_SETSTRETCHBLTMODE: device_.setStretchMode(r.u16(6)); break;
    case U_WMR_FLOODFILL: device_.floodFill(point(10), device_.colour(r.u32(6)), false); break;
    case U_WMR_EXTFLOODFILL: device_.floodFill(point(12), device_.colour(r.u32(8)), r.u16(6) == 1); break;
    case U_WMR_SETTEXTCHAREXTRA: device_.setTextCharExtra(r.i16(6)); break;
    case U_WMR_SETWINDOWORG:
        if (U_WMRSETWINDOWORG_get(raw(), &a))
            device_.setWindowOrg(pointOf(a));
        break;
    case U_WMR_SETWINDOWEXT:
        if (U_WMRSETWINDOWEXT_get(raw(), &a))
            device_.setWindowExt(QSizeF(a.x, a.y));
        break;
    case U_WMR_OFFSETWINDOWORG:
        if (U_WMROFFSETWINDOWORG_get(raw(), &a))
            device_.offsetWindowOrg(pointOf(a));
        break;
    case U_WMR_SCALEWINDOWEXT:
        if (r.has(6, 8))
            device_.scaleWindowExt(r.i16(12), r.i16(10), r.i16(8), r.i16(6));
        break;
    case U_WMR_SETVIEWPORTORG:
        if (U_WMRSETVIEWPORTORG_get(raw(), &a))
            device_.setViewportOrg(deviceUnits(a));
        break;
    case U_WMR_SETVIEWPORTEXT:
        if (U_WMRSETVIEWPORTEXT_get(raw(), &a))
            setViewportExt(a);
        break;
    case U_WMR_OFFSETVIEWPORTORG:
        if (U_WMROFFSETVIEWPORTORG_get(raw(), &a))
            device_.offsetViewportOrg(deviceUnits(a));
        break;
    case U_WMR_SCALEVIEWPORTEXT:
        if (r.has(6, 8))
            device_.scaleViewportExt(r.i16(12), r.i16(10), r.i16(8), r.i16(6));
        break;
    case U_WMR_LINETO:
        if (U_WMRLINETO_get(raw(), &a))
            device_.lineTo(pointOf(a));
        break;
    case U_WMR_MOVETO:
        if (U_WMRMOVETO_get(raw(), &a))
            device_.moveTo(pointOf(a));
        break;
    case U_WMR_EXCLUDECLIPRECT:
        if (U_WMREXCLUDECLIPRECT_get(raw(), &rect))
            device_.excludeClipRect(boxOf(rect));
        break;
    case U_WMR_INTERSECTCLIPRECT:
        if (U_WMRINTERSECTCLIPRECT_get(raw(), &rect))
            device_.intersectClipRect(boxOf(rect));
        break;
    case U_WMR_OFFSETCLIPRGN:
        if (U_WMROFFSETCLIPRGN_get(raw(), &a))
            device_.offsetClip(pointOf(a));
        break;
    case U_WMR_ARC:
        if (U_WMRARC_get(raw(), &a, &b, &rect))
            device_.arc(boxOf(rect), pointOf(a), pointOf(b), GdiDevice::ArcKind::Arc);
        break;
    case U_WMR_PIE:
        if (U_WMRPIE_get(raw(), &a, &b, &rect))
            device_.arc(boxOf(rect), pointOf(a), pointOf(b), GdiDevice::ArcKind::Pie);
        break;
    case U_WMR_CHORD:
        if (U_WMRCHORD_get(raw(), &a, &b, &rect))
            device_.arc(boxOf(rect), pointOf(a), pointOf(b), GdiDevice::ArcKind::Chord);
        break;
    case U_WMR_ELLIPSE:
        if (U_WMRELLIPSE_get(raw(), &rect))
            device_.ellipse(boxOf(rect));
        break;
    case U_WMR_RECTANGLE:
        if (U_WMRRECTANGLE_get(raw(), &rect))
            device_.rectangle(boxOf(rect));
        break;
    case U_WMR_ROUNDRECT: {
        int16_t width = 0;
        int16_t height = 0;
        if (U_WMRROUNDRECT_get(raw(), &width, &height, &rect))
            device_.roundRect(boxOf(rect), QSizeF(width, height));
        break;
    }
    case U_WMR_SETPIXEL: {
        U_COLORREF colour{};
        if (U_WMRSETPIXEL_get(raw(), &colour, &a))
            device_.setPixel(pointOf(a), device_.colour(r.u32(6)));
        break;
    }
    case U_WMR_POLYGON:
        device_.polygon(points(8, r.u16(6)));
        break;
    case U_WMR_POLYLINE:
        device_.polyline(points(8, r.u16(6)));
        break;
    case U_WMR_POLYPOLYGON: polyPolygon(); break;
    case U_WMR_SAVEDC: device_.saveDc(); break;
    case U_WMR_RESTOREDC: device_.restoreDc(r.i16(6)); break;
    case U_WMR_SELECTOBJECT: device_.selectObject(r.u16(6)); break;
    case U_WMR_DELETEOBJECT: device_.deleteObject(r.u16(6)); break;
    case U_WMR_CREATEPENINDIRECT: {
        GdiPen pen;
        pen.style = r.u16(6);
        pen.width = r.i16(8);
        pen.colour = device_.colour(r.u32(12));
        create(pen);
        break;
    }
    case U_WMR_CREATEBRUSHINDIRECT: {
        GdiBrush brush;
        const quint16 style = r.u16(6);
        brush.colour = device_.colour(r.u32(8));
        brush.hatch = r.u16(12);
        brush.kind = style == U_BS_NULL ? GdiBrush::Kind::Null
                   : style == U_BS_HATCHED ? GdiBrush::Kind::Hatched : GdiBrush::Kind::Solid;
        create(brush);
        break;
    }
    case U_WMR_CREATEFONTINDIRECT: createFont(); break;
    case U_WMR_CREATEREGION: createRegion(); break;
    case U_WMR_DIBCREATEPATTERNBRUSH: createDibPatternBrush(); break;
    case U_WMR_CREATEPALETTE: create(GdiPalette{decodePaletteEntries(r, 10, r.u16(8))}); break;
    case U_WMR_SELECTPALETTE: device_.selectPalette(r.u16(6)); break;
    // These two change the selected palette.
    case U_WMR_SETPALENTRIES:
        if (const auto selected = device_.selectedPalette())
            device_.setPaletteEntries(*selected, r.u16(6), decodePaletteEntries(r, 10, r.u16(8)));
        break;
    case U_WMR_RESIZEPALETTE:
        if (const auto selected = device_.selectedPalette())
            device_.resizePalette(*selected, r.u16(6));
        break;
    // A bitmap header whose bits pointer is unused, 18 reserved bytes, the bits.
    case U_WMR_CREATEPATTERNBRUSH: createPatternBrush(deviceBitmapAt(6, 38)); break;
    case U_WMR_CREATEBITMAP:
    case U_WMR_CREATEBITMAPINDIRECT:
        create(GdiPlaceholder{});
        break;
    case U_WMR_TEXTOUT: textOut(); break;
    case U_WMR_EXTTEXTOUT: extTextOut(); break;
    case U_WMR_SELECTCLIPREGION:
    case U_WMR_FILLREGION:
    case U_WMR_FRAMEREGION:
    case U_WMR_INVERTREGION:
    case U_WMR_PAINTREGION:
        regionRecord(function);
        break;
    case U_WMR_PATBLT:
    case U_WMR_BITBLT:
    case U_WMR_STRETCHBLT:
    case U_WMR_DIBBITBLT:
    case U_WMR_DIBSTRETCHBLT:
    case U_WMR_STRETCHDIB:
    case U_WMR_SETDIBTODEV:
        blit(function);
        break;
    default:
        break;   // escapes, palette animation, ...
    }
}

void WmfPlayer::polyPolygon() {
    const std::size_t polys = record_.u16(6);
    if (!record_.has(8, polys * 2))
        return;
    std::size_t at = 8 + polys * 2;
    std::vector<QPolygonF> figures;
    for (std::size_t i = 0; i < polys; ++i) {
        const std::size_t n = record_.u16(8 + 2 * i);
        QPolygonF figure = points(at, n);
        if (figure.size() != qsizetype(n))
            return;
        figures.push_back(std::move(figure));
        at += n * 4;
    }
    device_.polyPolygon(figures);
}

void WmfPlayer::textOut() {
    const std::size_t count = record_.u16(6);
    const std::size_t textAt = 8;
    const std::size_t after = textAt + (count + 1) / 2 * 2;
    if (!record_.has(after, 4))
        return;
    const QString text = device_.decodeText(QByteArray(record_.data() + textAt, qsizetype(count)));
    device_.textOut(QPointF(record_.i16(after + 2), record_.i16(after)), text, 0, QRectF(), {});
}

void WmfPlayer::extTextOut() {
    const ByteView& r = record_;
    const QPointF reference(r.i16(8), r.i16(6));
    const std::size_t count = r.u16(10);
    const quint16 options = r.u16(12);
    std::size_t textAt = 14;
    QRectF box;
    if (options & (U_ETO_OPAQUE | U_ETO_CLIPPED)) {
        box = QRectF(QPointF(r.i16(14), r.i16(16)), QPointF(r.i16(18), r.i16(20)));
        textAt = 22;
    }
    if (!r.has(textAt, count))
        return;
    const QString text = device_.decodeText(QByteArray(r.data() + textAt, qsizetype(count)));
    std::vector<double> advances;
    const std::size_t dxAt = textAt + (count + 1) / 2 * 2;
    if (r.has(dxAt, count * 2) && qsizetype(count) == text.size()) {
        for (std::size_t i = 0; i < count; ++i)
            advances.push_back(r.i16(dxAt + 2 * i));
    }
    device_.textOut(reference, text, options, box, advances);
}

void WmfPlayer::createFont() {
    const ByteView& r = record_;
    GdiFont font;
    font.height = r.i16(6);
    font.width = r.i16(8);
    font.escapement = r.i16(10);
    font.orientation = r.i16(12);
    font.weight = r.i16(14);
    font.italic = r.u8(16) != 0;
    font.underline = r.u8(17) != 0;
    font.strikeOut = r.u8(18) != 0;
    font.charSet = r.u8(19);
    QByteArray face;
    for (std::size_t i = 24; i < 24 + 32 && r.has(i, 1) && r.u8(i) != 0; ++i)
        face.append(char(r.u8(i)));
    font.face = decodeAnsi(face, font.charSet);
    create(font);
}

void WmfPlayer::createRegion() {
    // Header words, then scans: count, top, bottom, count/2 pairs, count.
    const ByteView& r = record_;
    if (!r.has(0, 26)) {
        // Too short for a region: the slot stays taken but holds none, so
        // selecting it as the clip selects no clip, as a failed handle does.
        create(GdiPlaceholder{});
        return;
    }
    const int scans = r.i16(14);
    std::vector<QRect> rects;
    std::size_t at = 26;
    for (int s = 0; s < scans && rects.size() < GdiDevice::maxRegionRects; ++s) {
        const std::size_t count = r.u16(at);
        if (!r.has(at, 8 + count * 2))
            break;
        const int top = r.i16(at + 2);
        const int bottom = r.i16(at + 4);
        for (std::size_t i = 0; i + 1 < count && rects.size() < GdiDevice::maxRegionRects; i += 2) {
            const int left = r.i16(at + 6 + 2 * i);
            const int right = r.i16(at + 8 + 2 * i);
            if (right > left && bottom > top)
                rects.push_back(QRect(left, top, right - left, bottom - top));
        }
        at += 8 + count * 2;
    }
    if (scans == 0) {
        const QRect bounds(QPoint(r.i16(18), r.i16(20)), QPoint(r.i16(22) - 1, r.i16(24) - 1));
        if (bounds.isValid())
            rects = {bounds};
    }
    // Past the budget the slot is taken but holds no region.
    if (const auto region = device_.regionOf(rects))
        create(GdiRegion{*region});
    else
        create(GdiPlaceholder{});
}

QImage WmfPlayer::deviceBitmapAt(std::size_t at, std::size_t bitsAt) const {
    const ByteView& r = record_;
    U_BITMAP16 bitmap{};
    bitmap.Width = r.i16(at + 2);
    bitmap.Height = r.i16(at + 4);
    bitmap.WidthBytes = r.i16(at + 6);
    bitmap.Planes = r.u8(at + 8);
    bitmap.BitsPixel = r.u8(at + 9);
    return deviceBitmap(bitmap, r.sub(bitsAt, r.size() - std::min(r.size(), bitsAt)));
}

void WmfPlayer::createPatternBrush(const QImage& pattern) {
    // A brush that cannot be made still takes its slot.
    if (pattern.isNull()) {
        create(GdiPlaceholder{});
        return;
    }
    GdiBrush brush;
    brush.kind = GdiBrush::Kind::Pattern;
    brush.pattern = pattern;
    create(brush);
}

void WmfPlayer::createDibPatternBrush() {
    const ByteView& r = record_;
    const quint16 style = r.u16(6);
    const quint16 usage = r.u16(8);
    // BS_PATTERN (3) carries a device-dependent bitmap, the rest a DIB.
    createPatternBrush(style == 3 ? deviceBitmapAt(10, 20)
                                  : decodePackedDib(r.sub(10, r.size() - 10), usage, device_.palette(), budget_));
}

void WmfPlayer::regionRecord(int function) {
    const ByteView& r = record_;
    const GdiRegion* region = objectAs<GdiRegion>(r.u16(6));
    if (function == U_WMR_SELECTCLIPREGION) {
        device_.selectLogicalClipRegion(region ? std::optional<QRegion>(region->region) : std::nullopt);
        return;
    }
    if (!region)
        return;
    if (function == U_WMR_INVERTREGION) {
        device_.invertRegion(region->region, true);
    } else if (function == U_WMR_PAINTREGION) {
        device_.paintRegion(region->region, true);
    } else if (const GdiBrush* brush = objectAs<GdiBrush>(r.u16(8))) {
        if (function == U_WMR_FILLREGION)
            device_.fillRegion(region->region, true, *brush);
        else
            device_.frameRegion(region->region, true, *brush, QSizeF(r.i16(12), r.i16(10)));
    }
}

QImage WmfPlayer::deviceBitmap(const U_BITMAP16& bitmap, ByteView bits) const {
    // A device-dependent bitmap: rows top first, of 1 bit (text and
    // background colours, as GDI draws a monochrome bitmap) or 24/32 bits.
    const int width = bitmap.Width;
    const int height = bitmap.Height;
    const int depth = bitmap.BitsPixel;
    const std::size_t stride = std::size_t(std::max<int>(bitmap.WidthBytes, 0));
    if (width <= 0 || height <= 0 || bitmap.Planes != 1 || (depth != 1 && depth != 24 && depth != 32)
        || stride * 8 < std::size_t(width) * std::size_t(depth) || !bits.has(0, stride * std::size_t(height)))
        return QImage();
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return QImage();
    for (int y = 0; y < height; ++y) {
        const std::size_t row = stride * std::size_t(y);
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (depth == 1) {
                const bool set = (bits.u8(row + std::size_t(x) / 8) >> (7 - x % 8)) & 1;
                line[x] = set ? device_.bkColour() : device_.textColour();
            } else {
                const std::size_t at = row + std::size_t(x) * std::size_t(depth / 8);
                line[x] = qRgb(bits.u8(at + 2), bits.u8(at + 1), bits.u8(at));
            }
        }
    }
    return image;
}

void WmfPlayer::blit(int function) {
    U_POINT16 dst{};
    U_POINT16 dstSize{};
    U_POINT16 src{};
    U_POINT16 srcSize{};
    uint32_t rop = 0;
    const char* dibAt = nullptr;
    QImage source;
    const char* end = record_.data() + record_.size();
    auto dibImage = [&](quint32 usage) {
        if (!dibAt || dibAt < record_.data() || dibAt >= end)
            return QImage();
        return decodePackedDib(ByteView(dibAt, std::size_t(end - dibAt)), usage, device_.palette(), budget_);
    };
    switch (function) {
    case U_WMR_PATBLT:
        if (!U_WMRPATBLT_get(raw(), &dst, &dstSize, &rop))
            return;
        srcSize = dstSize;
        break;
    case U_WMR_DIBBITBLT:
        if (!U_WMRDIBBITBLT_get(raw(), &dst, &dstSize, &src, &rop, &dibAt))
            return;
        srcSize = dstSize;
        source = dibImage(0);
        break;
    case U_WMR_DIBSTRETCHBLT:
        if (!U_WMRDIBSTRETCHBLT_get(raw(), &dst, &dstSize, &src, &srcSize, &rop, &dibAt))
            return;
        source = dibImage(0);
        break;
    case U_WMR_STRETCHDIB: {
        uint16_t usage = 0;
        if (!U_WMRSTRETCHDIB_get(raw(), &dst, &dstSize, &src, &srcSize, &usage, &rop, &dibAt))
            return;
        source = dibImage(usage);
        break;
    }
    case U_WMR_SETDIBTODEV: {
        uint16_t usage = 0;
        uint16_t scans = 0;
        uint16_t startScan = 0;
        if (!U_WMRSETDIBTODEV_get(raw(), &dst, &dstSize, &src, &usage, &scans, &startScan, &dibAt))
            return;
        srcSize = dstSize;
        rop = 0xCC0020;
        source = dibImage(usage);
        break;
    }
    case U_WMR_BITBLT:
    case U_WMR_STRETCHBLT: {
        U_BITMAP16 bitmap{};
        const char* bits = nullptr;
        const int size = function == U_WMR_BITBLT
            ? U_WMRBITBLT_get(raw(), &dst, &dstSize, &src, &rop, &bitmap, &bits)
            : U_WMRSTRETCHBLT_get(raw(), &dst, &dstSize, &src, &srcSize, &rop, &bitmap, &bits);
        if (!size)
            return;
        if (function == U_WMR_BITBLT)
            srcSize = dstSize;
        if (bits && bits >= record_.data() && bits < end)
            source = deviceBitmap(bitmap, ByteView(bits, std::size_t(end - bits)));
        break;
    }
    default:
        return;
    }
    QRectF from(pointOf(src), QSizeF(srcSize.x, srcSize.y));
    if (function == U_WMR_STRETCHDIB || function == U_WMR_SETDIBTODEV) {
        if (source.isNull())
            return;
        // These count source rows from the bottom of the bitmap.
        from.moveTop(source.height() - src.y - srcSize.y);
    }
    device_.blit(QRectF(pointOf(dst), QSizeF(dstSize.x, dstSize.y)), source, from, rop);
}

} // namespace

void playWmf(ByteView file, QImage& target, WorkBudget& budget) {
    const WmfHeader h = readHeader(file);
    WmfPlayer player(file, h, target, budget);
    player.play();
}

} // namespace pelmora
