// SPDX-License-Identifier: GPL-2.0-or-later
#include "emf_player.h"

// Local
#include "metafile_text.h"
#include "picture_limits.h"

// libUEMF
#include <uemf.h>
#include <uemf_safe.h>

// Std
#include <cmath>

namespace pelmora {

namespace {

constexpr std::size_t headerMinimum = 88;
constexpr quint32 signature = 0x464D4520;    // " EMF"

// Frame to recording-device pixels.
double frameToDevice(qint64 hundredthsMm, qint64 pixels, qint64 mm) {
    return double(hundredthsMm) * double(pixels) / (double(mm) * 100);
}

// The records the player decodes that libUEMF checks before use. Text
// records are checked here instead: libUEMF wants a spacing array even when
// a record has none (offDx 0), which real files do.
bool checkedByLibrary(quint32 type) {
    return (type >= U_EMR_POLYBEZIER && type <= U_EMR_ABORTPATH) || (type >= U_EMR_FILLRGN && type <= U_EMR_MASKBLT)
        || (type >= U_EMR_SETDIBITSTODEVICE && type <= U_EMR_EXTCREATEFONTINDIRECTW)
        || (type >= U_EMR_POLYBEZIER16 && type <= U_EMR_EXTCREATEPEN) || type == U_EMR_TRANSPARENTBLT
        || type == U_EMR_GRADIENTFILL;
}

bool textFits(ByteView record, bool wide) {
    const quint32 count = record.u32(44);
    const quint32 options = record.u32(52);
    const quint32 offDx = record.u32(options & U_ETO_NO_RECT ? 56 : 72);
    const quint64 dxSize = quint64(count) * (options & U_ETO_PDY ? 8 : 4);
    return record.has(0, 76) && record.has(record.u32(48), quint64(count) * (wide ? 2 : 1))
        && (offDx == 0 || record.has(offDx, dxSize));
}

// Point counts against the record size, in 64 bits: libUEMF's own check
// multiplies in int and lets a huge count through.
bool countsFit(quint32 type, ByteView record) {
    switch (type) {
    case U_EMR_POLYBEZIER: case U_EMR_POLYGON: case U_EMR_POLYLINE: case U_EMR_POLYBEZIERTO:
    case U_EMR_POLYLINETO:
        return record.has(28, quint64(record.u32(24)) * 8);
    case U_EMR_POLYBEZIER16: case U_EMR_POLYGON16: case U_EMR_POLYLINE16: case U_EMR_POLYBEZIERTO16:
    case U_EMR_POLYLINETO16:
        return record.has(28, quint64(record.u32(24)) * 4);
    case U_EMR_POLYDRAW:
        return record.has(28, quint64(record.u32(24)) * 9);
    case U_EMR_POLYDRAW16:
        return record.has(28, quint64(record.u32(24)) * 5);
    case U_EMR_POLYPOLYLINE: case U_EMR_POLYPOLYGON:
        return record.has(32, quint64(record.u32(24)) * 4 + quint64(record.u32(28)) * 8);
    case U_EMR_POLYPOLYLINE16: case U_EMR_POLYPOLYGON16:
        return record.has(32, quint64(record.u32(24)) * 4 + quint64(record.u32(28)) * 4);
    default:
        return true;
    }
}

} // namespace

bool isEmf(ByteView file) {
    return file.has(0, headerMinimum) && file.u32(0) == U_EMR_HEADER && file.u32(40) == signature;
}

EmfHeader readEmfHeader(ByteView file) {
    if (!isEmf(file))
        refuseMetafile();
    EmfHeader h;
    h.headerSize = file.u32(4);
    if (h.headerSize < headerMinimum || h.headerSize % 4 != 0 || !file.has(0, h.headerSize))
        refuseMetafile();
    h.left = file.i32(24);
    h.top = file.i32(28);
    h.right = file.i32(32);
    h.bottom = file.i32(36);
    h.handles = file.u16(56);
    h.deviceWidth = file.i32(72);
    h.deviceHeight = file.i32(76);
    h.mmWidth = file.i32(80);
    h.mmHeight = file.i32(84);
    if (h.deviceWidth <= 0 || h.deviceHeight <= 0 || h.mmWidth <= 0 || h.mmHeight <= 0)
        refuseMetafile();
    return h;
}

QSize emfPictureSize(const EmfHeader& h) {
    const double width = std::round(frameToDevice(h.right - h.left, h.deviceWidth, h.mmWidth));
    const double height = std::round(frameToDevice(h.bottom - h.top, h.deviceHeight, h.mmHeight));
    return checkedPictureSize(width, height);
}

QTransform emfFrameToTarget(const EmfHeader& h, QSize target) {
    const double left = frameToDevice(h.left, h.deviceWidth, h.mmWidth);
    const double top = frameToDevice(h.top, h.deviceHeight, h.mmHeight);
    const double width = frameToDevice(h.right - h.left, h.deviceWidth, h.mmWidth);
    const double height = frameToDevice(h.bottom - h.top, h.deviceHeight, h.mmHeight);
    QTransform output;
    output.scale(target.width() / width, target.height() / height);
    output.translate(-left, -top);
    return output;
}

bool checkEmfRecords(ByteView file, const std::function<void(ByteView record)>& visit) {
    std::size_t at = 0;
    while (file.has(at, 8)) {
        const quint32 type = file.u32(at);
        const quint32 size = file.u32(at + 4);
        if (size < 8 || size % 4 != 0 || !file.has(at, size))
            return false;
        if (type == U_EMR_EOF)
            return true;
        if (at > 0 && type == U_EMR_HEADER)
            return false;
        const ByteView record = file.sub(at, size);
        if (checkedByLibrary(type) && (!countsFit(type, record) || !U_emf_record_safe(record.data())))
            return false;
        if ((type == U_EMR_EXTTEXTOUTA || type == U_EMR_EXTTEXTOUTW) && !textFits(record, type == U_EMR_EXTTEXTOUTW))
            return false;
        visit(record);
        at += size;
    }
    return at == file.size();
}

bool glyphIndexText(ByteView record) {
    switch (record.u32(0)) {
    case U_EMR_EXTTEXTOUTA: case U_EMR_EXTTEXTOUTW:
        return record.u32(44) > 0 && (record.u32(52) & U_ETO_GLYPH_INDEX);
    case U_EMR_SMALLTEXTOUT:
        return record.u32(16) > 0 && (record.u32(20) & U_ETO_GLYPH_INDEX);
    default:
        return false;
    }
}

void EmfPlayer::play() {
    std::size_t at = 0;
    while (file_.has(at, 8)) {
        const quint32 type = file_.u32(at);
        const quint32 size = file_.u32(at + 4);
        if (size < 8 || !file_.has(at, size) || type == U_EMR_EOF)
            return;
        record_ = file_.sub(at, size);
        dispatch(type);
        at += size;
    }
}

void EmfPlayer::dispatch(quint32 type) {
    const ByteView& r = record_;
    switch (type) {
    case U_EMR_POLYBEZIER:
    case U_EMR_POLYBEZIER16:
        device_.polyBezier(points(28, r.u32(24), type == U_EMR_POLYBEZIER16));
        break;
    case U_EMR_POLYGON:
    case U_EMR_POLYGON16:
        device_.polygon(points(28, r.u32(24), type == U_EMR_POLYGON16));
        break;
    case U_EMR_POLYLINE:
    case U_EMR_POLYLINE16:
        device_.polyline(points(28, r.u32(24), type == U_EMR_POLYLINE16));
        break;
    case U_EMR_POLYBEZIERTO:
    case U_EMR_POLYBEZIERTO16:
        device_.polyBezierTo(points(28, r.u32(24), type == U_EMR_POLYBEZIERTO16));
        break;
    case U_EMR_POLYLINETO:
    case U_EMR_POLYLINETO16:
        device_.polylineTo(points(28, r.u32(24), type == U_EMR_POLYLINETO16));
        break;
    case U_EMR_POLYPOLYLINE:
    case U_EMR_POLYPOLYLINE16:
        device_.polyPolyline(polyPoints(type == U_EMR_POLYPOLYLINE16));
        break;
    case U_EMR_POLYPOLYGON:
    case U_EMR_POLYPOLYGON16:
        device_.polyPolygon(polyPoints(type == U_EMR_POLYPOLYGON16));
        break;
    case U_EMR_POLYDRAW:
    case U_EMR_POLYDRAW16: {
        const quint32 count = r.u32(24);
        const bool small = type == U_EMR_POLYDRAW16;
        const QPolygonF pts = points(28, count, small);
        const std::size_t typesAt = 28 + std::size_t(count) * (small ? 4 : 8);
        if (pts.size() != qsizetype(count) || !r.has(typesAt, count))
            break;
        std::vector<quint8> kinds(count);
        for (quint32 i = 0; i < count; ++i)
            kinds[i] = r.u8(typesAt + i);
        device_.polyDraw(pts, kinds);
        break;
    }
    case U_EMR_SETWINDOWEXTEX: device_.setWindowExt(QSizeF(r.i32(8), r.i32(12))); break;
    case U_EMR_SETWINDOWORGEX: device_.setWindowOrg(point(8)); break;
    case U_EMR_SETVIEWPORTEXTEX: device_.setViewportExt(QSizeF(r.i32(8), r.i32(12))); break;
    case U_EMR_SETVIEWPORTORGEX: device_.setViewportOrg(point(8)); break;
    case U_EMR_SETPIXELV: device_.setPixel(point(8), colour(16)); break;
    case U_EMR_SETMAPMODE: device_.setMapMode(int(r.u32(8))); break;
    case U_EMR_SETBKMODE: device_.setBkMode(int(r.u32(8))); break;
    case U_EMR_SETPOLYFILLMODE: device_.setPolyFillMode(int(r.u32(8))); break;
    case U_EMR_SETROP2: device_.setRop2(int(r.u32(8))); break;
    case U_EMR_SETTEXTALIGN: device_.setTextAlign(r.u32(8)); break;
    case U_EMR_SETTEXTCOLOR: device_.setTextColour(colour(8)); break;
    case U_EMR_SETBKCOLOR: device_.setBkColour(colour(8)); break;
    case U_EMR_OFFSETCLIPRGN: device_.offsetClip(point(8)); break;
    case U_EMR_MOVETOEX: device_.moveTo(point(8)); break;
    case U_EMR_EXCLUDECLIPRECT: device_.excludeClipRect(box(8)); break;
    case U_EMR_INTERSECTCLIPRECT: device_.intersectClipRect(box(8)); break;
    case U_EMR_SCALEVIEWPORTEXTEX:
        device_.scaleViewportExt(r.i32(8), r.i32(12), r.i32(16), r.i32(20));
        break;
    case U_EMR_SCALEWINDOWEXTEX:
        device_.scaleWindowExt(r.i32(8), r.i32(12), r.i32(16), r.i32(20));
        break;
    case U_EMR_SAVEDC: device_.saveDc(); break;
    case U_EMR_RESTOREDC: device_.restoreDc(r.i32(8)); break;
    case U_EMR_SETWORLDTRANSFORM:
    case U_EMR_MODIFYWORLDTRANSFORM: {
        const QTransform t(r.f32(8), r.f32(12), r.f32(16), r.f32(20), r.f32(24), r.f32(28));
        if (type == U_EMR_SETWORLDTRANSFORM)
            device_.setWorldTransform(t);
        else
            device_.modifyWorldTransform(t, int(r.u32(32)));
        break;
    }
    case U_EMR_SELECTOBJECT: {
        const quint32 index = r.u32(8);
        if (index & 0x80000000u)
            device_.selectStockObject(index & 0x7FFFFFFFu);
        else
            device_.selectObject(index);
        break;
    }
    case U_EMR_CREATEPEN: createPen(); break;
    case U_EMR_EXTCREATEPEN: createExtPen(); break;
    case U_EMR_CREATEBRUSHINDIRECT: {
        GdiBrush brush;
        const quint32 style = r.u32(12);
        brush.colour = colour(16);
        brush.hatch = int(r.u32(20));
        brush.kind = style == U_BS_NULL ? GdiBrush::Kind::Null
                   : style == U_BS_HATCHED ? GdiBrush::Kind::Hatched : GdiBrush::Kind::Solid;
        device_.createObject(r.u32(8), brush);
        break;
    }
    case U_EMR_CREATEMONOBRUSH: createPatternBrush(true); break;
    case U_EMR_CREATEDIBPATTERNBRUSHPT: createPatternBrush(false); break;
    case U_EMR_EXTCREATEFONTINDIRECTW: createFont(); break;
    case U_EMR_CREATEPALETTE: device_.createObject(r.u32(8), GdiPalette{decodePaletteEntries(r, 16, r.u16(14))}); break;
    case U_EMR_SELECTPALETTE:
        device_.selectPalette(r.u32(8) & 0x80000000u ? std::nullopt : std::optional<std::size_t>(r.u32(8)));
        break;
    case U_EMR_SETPALETTEENTRIES: device_.setPaletteEntries(r.u32(8), r.u32(12), decodePaletteEntries(r, 20, r.u32(16))); break;
    case U_EMR_RESIZEPALETTE: device_.resizePalette(r.u32(8), r.u32(12)); break;
    case U_EMR_DELETEOBJECT: device_.deleteObject(r.u32(8)); break;
    case U_EMR_ANGLEARC:
        device_.angleArc(point(8), r.u32(16), r.f32(20), r.f32(24));
        break;
    case U_EMR_ELLIPSE: device_.ellipse(box(8)); break;
    case U_EMR_RECTANGLE: device_.rectangle(box(8)); break;
    case U_EMR_ROUNDRECT: device_.roundRect(box(8), QSizeF(r.i32(24), r.i32(28))); break;
    case U_EMR_ARC: device_.arc(box(8), point(24), point(32), GdiDevice::ArcKind::Arc); break;
    case U_EMR_CHORD: device_.arc(box(8), point(24), point(32), GdiDevice::ArcKind::Chord); break;
    case U_EMR_PIE: device_.arc(box(8), point(24), point(32), GdiDevice::ArcKind::Pie); break;
    case U_EMR_ARCTO: device_.arc(box(8), point(24), point(32), GdiDevice::ArcKind::ArcTo); break;
    case U_EMR_LINETO: device_.lineTo(point(8)); break;
    case U_EMR_SETARCDIRECTION: device_.setArcDirection(int(r.u32(8))); break;
    case U_EMR_SETMITERLIMIT: device_.setMiterLimit(std::clamp<double>(r.u32(8), 1, 100)); break;
    case U_EMR_BEGINPATH: device_.beginPath(); break;
    case U_EMR_ENDPATH: device_.endPath(); break;
    case U_EMR_CLOSEFIGURE: device_.closeFigure(); break;
    case U_EMR_FILLPATH: device_.fillPath(); break;
    case U_EMR_STROKEANDFILLPATH: device_.strokeAndFillPath(); break;
    case U_EMR_STROKEPATH: device_.strokePath(); break;
    case U_EMR_WIDENPATH: device_.widenPath(); break;
    case U_EMR_SELECTCLIPPATH: device_.selectClipPath(int(r.u32(8))); break;
    case U_EMR_ABORTPATH: device_.abortPath(); break;
    case U_EMR_FILLRGN: {
        const GdiObject* brush = device_.object(r.u32(28));
        const auto area = region(32, r.u32(24));
        if (brush && area && std::holds_alternative<GdiBrush>(*brush))
            device_.fillRegion(*area, false, std::get<GdiBrush>(*brush));
        break;
    }
    case U_EMR_FRAMERGN: {
        const GdiObject* brush = device_.object(r.u32(28));
        const auto area = region(40, r.u32(24));
        if (brush && area && std::holds_alternative<GdiBrush>(*brush))
            device_.frameRegion(*area, false, std::get<GdiBrush>(*brush), QSizeF(r.i32(32), r.i32(36)));
        break;
    }
    case U_EMR_INVERTRGN:
    case U_EMR_PAINTRGN: {
        const auto area = region(28, r.u32(24));
        if (area && type == U_EMR_INVERTRGN)
            device_.invertRegion(*area, false);
        else if (area)
            device_.paintRegion(*area, false);
        break;
    }
    case U_EMR_EXTSELECTCLIPRGN: {
        const quint32 bytes = r.u32(8);
        const auto area = bytes == 0 ? std::nullopt : region(16, bytes);
        if (bytes == 0 || area)
            device_.selectClipRegion(area, int(r.u32(12)));
        break;
    }
    case U_EMR_BITBLT: bitBlt(false); break;
    case U_EMR_STRETCHBLT: bitBlt(true); break;
    case U_EMR_SETDIBITSTODEVICE: setDiBitsToDevice(); break;
    case U_EMR_STRETCHDIBITS: stretchDiBits(); break;
    case U_EMR_TRANSPARENTBLT: transparentBlt(); break;
    case U_EMR_MASKBLT: maskBlt(); break;
    case U_EMR_ALPHABLEND: alphaBlend(); break;
    case U_EMR_PLGBLT: plgBlt(); break;
    case U_EMR_SETSTRETCHBLTMODE: device_.setStretchMode(int(r.u32(8))); break;
    case U_EMR_EXTFLOODFILL: device_.floodFill(point(8), colour(16), r.u32(20) == 1); break;
    case U_EMR_EXTTEXTOUTA: emrText(36, false); break;
    case U_EMR_EXTTEXTOUTW: emrText(36, true); break;
    case U_EMR_POLYTEXTOUTA:
    case U_EMR_POLYTEXTOUTW: polyTextOut(type == U_EMR_POLYTEXTOUTW); break;
    case U_EMR_SMALLTEXTOUT: smallTextOut(); break;
    case U_EMR_GRADIENTFILL: gradientFill(); break;
    default:
        break;   // comments (EMF+ too), colour management, ...
    }
}

} // namespace pelmora
