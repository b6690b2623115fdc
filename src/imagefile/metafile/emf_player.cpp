#include "emf_player.h"

// Local
#include "dib.h"
#include "gdi_device.h"
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

struct EmfHeader {
    qint64 left, top, right, bottom;         // frame, hundredths of a millimetre
    qint64 deviceWidth, deviceHeight;        // pixels
    qint64 mmWidth, mmHeight;
    quint32 handles;
    std::size_t headerSize;
};

EmfHeader readHeader(ByteView file) {
    if (!file.has(0, headerMinimum) || file.u32(0) != U_EMR_HEADER || file.u32(40) != signature)
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

bool checkRecords(ByteView file) {
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
        at += size;
    }
    return at == file.size();
}

} // namespace

bool isEmf(ByteView file) {
    return file.has(0, headerMinimum) && file.u32(0) == U_EMR_HEADER && file.u32(40) == signature;
}

QSize emfSize(ByteView file) {
    const EmfHeader h = readHeader(file);
    const double width = std::round(frameToDevice(h.right - h.left, h.deviceWidth, h.mmWidth));
    const double height = std::round(frameToDevice(h.bottom - h.top, h.deviceHeight, h.mmHeight));
    const QSize size = checkedPictureSize(width, height);
    if (!checkRecords(file))
        refuseMetafile();
    return size;
}

namespace {

class EmfPlayer {
public:
    EmfPlayer(ByteView file, const EmfHeader& header, QImage& target, const QTransform& output)
        : file_(file),
          device_(target, QSizeF(double(header.deviceWidth) / double(header.mmWidth),
                                 double(header.deviceHeight) / double(header.mmHeight)), output) {
        device_.setTableSize(std::min<quint32>(std::max<quint32>(header.handles, 1), 65535));
    }

    void play() {
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

private:
    QPointF point(std::size_t at) const { return QPointF(record_.i32(at), record_.i32(at + 4)); }
    QRectF box(std::size_t at) const {
        return QRectF(QPointF(record_.i32(at), record_.i32(at + 4)), QPointF(record_.i32(at + 8), record_.i32(at + 12)));
    }
    QRgb colour(std::size_t at) const { return rgbFromColorRef(record_.u32(at)); }

    // count points from offset, 32-bit or 16-bit pairs; empty when they do not fit.
    QPolygonF points(std::size_t at, quint32 count, bool small) const {
        const std::size_t stride = small ? 4 : 8;
        if (!record_.has(at, std::size_t(count) * stride))
            return {};
        QPolygonF result;
        result.reserve(count);
        for (quint32 i = 0; i < count; ++i) {
            const std::size_t p = at + i * stride;
            result.append(small ? QPointF(record_.i16(p), record_.i16(p + 2)) : QPointF(record_.i32(p), record_.i32(p + 4)));
        }
        return result;
    }

    std::vector<QPolygonF> polyPoints(bool small) const {
        const quint32 polys = record_.u32(24);
        const quint32 total = record_.u32(28);
        const std::size_t countsAt = 32;
        if (!record_.has(countsAt, std::size_t(polys) * 4))
            return {};
        std::size_t at = countsAt + std::size_t(polys) * 4;
        const std::size_t stride = small ? 4 : 8;
        quint64 used = 0;
        std::vector<QPolygonF> result;
        for (quint32 i = 0; i < polys; ++i) {
            const quint32 n = record_.u32(countsAt + 4 * std::size_t(i));
            used += n;
            if (used > total)
                return {};
            QPolygonF figure = points(at, n, small);
            if (figure.size() != qsizetype(n))
                return {};
            result.push_back(std::move(figure));
            at += std::size_t(n) * stride;
        }
        return result;
    }

    std::optional<QRegion> region(std::size_t at, quint32 bytes) const {
        const ByteView data = record_.sub(at, bytes);
        if (!data.has(0, 32))
            return std::nullopt;
        const quint32 count = data.u32(8);
        if (!data.has(32, std::size_t(count) * 16) || count > maxRegionRects)
            return std::nullopt;
        QRegion result;
        for (quint32 i = 0; i < count; ++i) {
            const std::size_t r = 32 + 16 * std::size_t(i);
            const QRect rect(QPoint(data.i32(r), data.i32(r + 4)), QPoint(data.i32(r + 8) - 1, data.i32(r + 12) - 1));
            if (rect.isValid())
                result += rect;
        }
        return result;
    }

    QImage dib(std::size_t offBmi, quint32 cbBmi, std::size_t offBits, quint32 cbBits, quint32 usage) const {
        if (cbBmi == 0)
            return QImage();
        return decodeDib(record_.sub(offBmi, cbBmi), record_.sub(offBits, cbBits), usage);
    }

    void dispatch(quint32 type);
    void createPen();
    void createExtPen();
    void createFont();
    void createPatternBrush(bool monochrome);
    void extTextOut(bool wide);
    void smallTextOut();
    void bitBlt(bool stretch);
    void stretchDiBits();
    void setDiBitsToDevice();
    void transparentBlt();
    void maskBlt();
    void gradientFill();

    static constexpr quint32 maxRegionRects = 100000;

    ByteView file_;
    ByteView record_;
    GdiDevice device_;
};

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
    case U_EMR_CREATEPALETTE: device_.createObject(r.u32(8), GdiPlaceholder{}); break;
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
    case U_EMR_EXTTEXTOUTA: extTextOut(false); break;
    case U_EMR_EXTTEXTOUTW: extTextOut(true); break;
    case U_EMR_SMALLTEXTOUT: smallTextOut(); break;
    case U_EMR_GRADIENTFILL: gradientFill(); break;
    default:
        break;   // comments (EMF+ too), palettes, colour management, ...
    }
}

void EmfPlayer::createPen() {
    GdiPen pen;
    pen.style = record_.u32(12);
    pen.width = record_.i32(16);
    pen.colour = colour(24);
    device_.createObject(record_.u32(8), pen);
}

void EmfPlayer::createExtPen() {
    const ByteView& r = record_;
    GdiPen pen;
    pen.style = r.u32(28);
    pen.width = r.u32(32);
    pen.colour = colour(40);
    if (r.u32(36) == U_BS_NULL)
        pen.style = (pen.style & ~0xFu) | U_PS_NULL;
    const quint32 entries = r.u32(48);
    if ((pen.style & 0xF) == U_PS_USERSTYLE && entries <= 16 && r.has(52, std::size_t(entries) * 4))
        for (quint32 i = 0; i < entries; ++i)
            pen.dashes.append(r.u32(52 + 4 * std::size_t(i)));
    device_.createObject(r.u32(8), pen);
}

void EmfPlayer::createFont() {
    const ByteView& r = record_;
    GdiFont font;
    font.height = r.i32(12);
    font.width = r.i32(16);
    font.escapement = r.i32(20);
    font.weight = r.i32(28);
    font.italic = r.u8(32) != 0;
    font.underline = r.u8(33) != 0;
    font.strikeOut = r.u8(34) != 0;
    font.charSet = r.u8(35);
    for (std::size_t i = 0; i < 32 && r.has(40 + 2 * i, 2); ++i) {
        const char16_t c = char16_t(r.u16(40 + 2 * i));
        if (c == 0)
            break;
        font.face.append(QChar(c));
    }
    device_.createObject(r.u32(8), font);
}

void EmfPlayer::createPatternBrush(bool monochrome) {
    const ByteView& r = record_;
    const QImage pattern = dib(r.u32(16), r.u32(20), r.u32(24), r.u32(28), r.u32(12));
    // A brush that cannot be made is not made; selecting it changes nothing.
    if (pattern.isNull())
        return;
    GdiBrush brush;
    brush.kind = GdiBrush::Kind::Pattern;
    brush.pattern = pattern;
    brush.monochrome = monochrome && pattern.format() == QImage::Format_Indexed8 && pattern.colorCount() == 2;
    device_.createObject(r.u32(8), brush);
}

void EmfPlayer::extTextOut(bool wide) {
    const ByteView& r = record_;
    const QPointF reference = point(36);
    const quint32 count = r.u32(44);
    const quint32 offString = r.u32(48);
    const quint32 options = r.u32(52);
    const bool hasRect = !(options & U_ETO_NO_RECT);
    const QRectF clipBox = hasRect ? box(56) : QRectF();
    const quint32 offDx = r.u32(hasRect ? 72 : 56);
    if (options & U_ETO_GLYPH_INDEX)
        return;
    const std::size_t charSize = wide ? 2 : 1;
    if (!r.has(offString, std::size_t(count) * charSize))
        return;
    QString text;
    if (wide) {
        text.reserve(count);
        for (quint32 i = 0; i < count; ++i)
            text.append(QChar(char16_t(r.u16(offString + 2 * std::size_t(i)))));
    } else {
        text = device_.decodeText(QByteArray(r.data() + offString, qsizetype(count)));
    }
    // Spacing: one value per character (two with ETO_PDY); only the
    // advances along the line are used.
    std::vector<double> advances;
    const std::size_t step = (options & U_ETO_PDY) ? 8 : 4;
    if (offDx != 0 && r.has(offDx, std::size_t(count) * step) && qsizetype(count) == text.size()) {
        advances.reserve(count);
        for (quint32 i = 0; i < count; ++i)
            advances.push_back(r.i32(offDx + step * i));
    }
    device_.textOut(reference, text, options, clipBox, advances);
}

void EmfPlayer::smallTextOut() {
    const ByteView& r = record_;
    const quint32 count = r.u32(16);
    const quint32 options = r.u32(20);
    const bool hasRect = !(options & U_ETO_NO_RECT);
    const std::size_t textAt = hasRect ? 52 : 36;
    const QRectF clipBox = hasRect ? box(36) : QRectF();
    const bool narrow = options & U_ETO_SMALL_CHARS;
    if ((options & U_ETO_GLYPH_INDEX) || !r.has(textAt, std::size_t(count) * (narrow ? 1 : 2)))
        return;
    QString text;
    if (narrow) {
        text = device_.decodeText(QByteArray(r.data() + textAt, qsizetype(count)));
    } else {
        for (quint32 i = 0; i < count; ++i)
            text.append(QChar(char16_t(r.u16(textAt + 2 * std::size_t(i)))));
    }
    device_.textOut(point(8), text, options, clipBox, {});
}

void EmfPlayer::bitBlt(bool stretch) {
    const ByteView& r = record_;
    const QRectF destination(r.i32(24), r.i32(28), r.i32(32), r.i32(36));
    const quint32 rop = r.u32(40);
    const QImage source = dib(r.u32(84), r.u32(88), r.u32(92), r.u32(96), r.u32(80));
    const QSizeF sourceSize = stretch ? QSizeF(r.i32(100), r.i32(104)) : destination.size();
    device_.blit(destination, source, QRectF(QPointF(r.i32(44), r.i32(48)), sourceSize), rop);
}

void EmfPlayer::stretchDiBits() {
    const ByteView& r = record_;
    const QImage source = dib(r.u32(48), r.u32(52), r.u32(56), r.u32(60), r.u32(64));
    if (source.isNull())
        return;
    const QRectF destination(r.i32(24), r.i32(28), r.i32(72), r.i32(76));
    // The source rectangle counts rows from the bottom of the bitmap.
    const double cy = r.i32(44);
    const QRectF from(r.i32(32), source.height() - r.i32(36) - cy, r.i32(40), cy);
    device_.blit(destination, source, from, r.u32(68));
}

void EmfPlayer::setDiBitsToDevice() {
    const ByteView& r = record_;
    const QImage source = dib(r.u32(48), r.u32(52), r.u32(56), r.u32(60), r.u32(64));
    if (source.isNull())
        return;
    const double cx = r.i32(40);
    const double cy = r.i32(44);
    const QRectF from(r.i32(32), source.height() - r.i32(36) - cy, cx, cy);
    device_.blit(QRectF(r.i32(24), r.i32(28), cx, cy), source, from, 0xCC0020);
}

void EmfPlayer::transparentBlt() {
    const ByteView& r = record_;
    QImage source = dib(r.u32(84), r.u32(88), r.u32(92), r.u32(96), r.u32(80));
    if (source.isNull())
        return;
    // The raster-operation field holds the colour to leave out.
    const QRgb hole = colour(40) & 0xFFFFFFu;
    source = source.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < source.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(source.scanLine(y));
        for (int x = 0; x < source.width(); ++x)
            if ((line[x] & 0xFFFFFFu) == hole)
                line[x] = 0;
    }
    const QRectF destination(r.i32(24), r.i32(28), r.i32(32), r.i32(36));
    device_.blit(destination, source, QRectF(r.i32(44), r.i32(48), r.i32(100), r.i32(104)), 0xCC0020);
}

void EmfPlayer::maskBlt() {
    const ByteView& r = record_;
    QImage source = dib(r.u32(84), r.u32(88), r.u32(92), r.u32(96), r.u32(80));
    const QImage mask = dib(r.u32(112), r.u32(116), r.u32(120), r.u32(124), r.u32(108));
    const QRectF destination(r.i32(24), r.i32(28), r.i32(32), r.i32(36));
    const QRectF from(r.i32(44), r.i32(48), r.i32(32), r.i32(36));
    // ROP4: the foreground operation where the mask is 1, the background
    // one where it is 0. Only a background that keeps the destination is
    // honoured; other backgrounds draw as the foreground.
    const quint32 foreground = r.u32(40) & 0x00FFFFFFu;
    const bool keepBackground = (r.u32(40) >> 24) == 0xAA;
    if (!source.isNull() && !mask.isNull() && keepBackground && mask.format() == QImage::Format_Indexed8) {
        source = source.convertToFormat(QImage::Format_ARGB32);
        const QPoint shift = QPoint(r.i32(100), r.i32(104)) - from.topLeft().toPoint();
        for (int y = 0; y < source.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(source.scanLine(y));
            for (int x = 0; x < source.width(); ++x) {
                const QPoint m = QPoint(x, y) + shift;
                if (mask.rect().contains(m) && mask.pixelIndex(m) == 0)
                    line[x] = 0;
            }
        }
    }
    device_.blit(destination, source, from, foreground);
}

void EmfPlayer::gradientFill() {
    const ByteView& r = record_;
    const quint32 vertices = r.u32(24);
    const quint32 shapes = r.u32(28);
    const quint32 mode = r.u32(32);
    const std::size_t shapesAt = 36 + std::size_t(vertices) * 16;
    const std::size_t shapeSize = mode == 2 ? 12 : 8;
    if (!r.has(36, std::size_t(vertices) * 16) || !r.has(shapesAt, std::size_t(shapes) * shapeSize))
        return;
    auto vertex = [&](quint32 i) { return point(36 + 16 * std::size_t(i)); };
    auto shade = [&](quint32 i) {
        const std::size_t at = 36 + 16 * std::size_t(i) + 8;
        return qRgb(r.u16(at) >> 8, r.u16(at + 2) >> 8, r.u16(at + 4) >> 8);
    };
    for (quint32 s = 0; s < shapes; ++s) {
        const std::size_t at = shapesAt + shapeSize * s;
        const quint32 a = r.u32(at);
        const quint32 b = r.u32(at + 4);
        const quint32 c = mode == 2 ? r.u32(at + 8) : a;
        if (a >= vertices || b >= vertices || c >= vertices)
            continue;
        if (mode == 2)
            device_.gradientTriangle({vertex(a), vertex(b), vertex(c)}, {shade(a), shade(b), shade(c)});
        else
            device_.gradientRect(QRectF(vertex(a), vertex(b)), shade(a), shade(b), mode == 1);
    }
}

} // namespace

void playEmf(ByteView file, QImage& target) {
    const EmfHeader h = readHeader(file);
    const double left = frameToDevice(h.left, h.deviceWidth, h.mmWidth);
    const double top = frameToDevice(h.top, h.deviceHeight, h.mmHeight);
    const double width = frameToDevice(h.right - h.left, h.deviceWidth, h.mmWidth);
    const double height = frameToDevice(h.bottom - h.top, h.deviceHeight, h.mmHeight);
    QTransform output;
    output.scale(target.width() / width, target.height() / height);
    output.translate(-left, -top);
    EmfPlayer player(file, h, target, output);
    player.play();
}

} // namespace pelmora
