// SPDX-License-Identifier: GPL-2.0-or-later
#include "emfplus_objects.h"

// Qt
#include <QBuffer>
#include <QImageReader>
#include <QLinearGradient>
#include <QRadialGradient>

// Local
#include "dib.h"
#include "emfplus_records.h"
#include "gdi_device.h"

// libUEMF
#include <upmf.h>

// Std
#include <algorithm>
#include <cmath>

namespace pelmora {

namespace {

constexpr quint32 brushDataPath = 0x01;
constexpr quint32 brushDataTransform = 0x02;
constexpr quint32 brushDataPresetColors = 0x04;
constexpr quint32 brushDataBlendFactorsH = 0x08;
constexpr quint32 brushDataBlendFactorsV = 0x10;

// A region deeper than this is refused rather than walked.
constexpr int maxRegionDepth = 64;

QColor colour(QRgb argb) {
    return QColor::fromRgba(argb);
}

QGradient::Spread spread(qint32 wrapMode) {
    switch (wrapMode) {
    case 0: return QGradient::RepeatSpread;
    case 4: return QGradient::PadSpread;
    default: return QGradient::ReflectSpread;
    }
}

// Blend colours (positions then colours) or blend factors between two
// colours, as gradient stops; at is moved past them.
std::optional<QGradientStops> blendStops(ByteView data, std::size_t& at, const QColor* from, const QColor* to) {
    const quint32 count = data.u32(at);
    if (count < 2 || !data.has(at + 4, quint64(count) * 8))
        return std::nullopt;
    QGradientStops stops;
    for (quint32 i = 0; i < count; ++i) {
        const double position = data.f32(at + 4 + 4 * std::size_t(i));
        const std::size_t valueAt = at + 4 + 4 * std::size_t(count) + 4 * std::size_t(i);
        if (!std::isfinite(position))
            return std::nullopt;
        QColor c;
        if (from) {
            const double f = std::clamp<double>(data.f32(valueAt), 0, 1);
            c = QColor::fromRgbF(float(from->redF() + f * (to->redF() - from->redF())),
                                 float(from->greenF() + f * (to->greenF() - from->greenF())),
                                 float(from->blueF() + f * (to->blueF() - from->blueF())),
                                 float(from->alphaF() + f * (to->alphaF() - from->alphaF())));
        } else {
            c = colour(data.u32(valueAt));
        }
        stops.append({std::clamp(position, 0.0, 1.0), c});
    }
    at += 4 + 8 * std::size_t(count);
    return stops;
}

Qt::BrushStyle hatchStyle(quint32 style) {
    switch (style) {
    case 0: return Qt::HorPattern;
    case 1: return Qt::VerPattern;
    case 2: return Qt::FDiagPattern;
    case 3: return Qt::BDiagPattern;
    case 4: return Qt::CrossPattern;
    case 5: return Qt::DiagCrossPattern;
    default:
        // The percentage styles by their density; the rest look about half filled.
        if (style >= 6 && style <= 13)
            return Qt::BrushStyle(int(Qt::Dense7Pattern) - int(style - 6) * 6 / 7);
        return Qt::Dense4Pattern;
    }
}

std::optional<QImage> readBitmap(ByteView data, WorkBudget& budget) {
    const qint32 width = data.i32(0);
    const qint32 height = data.i32(4);
    const qint32 stride = data.i32(8);
    const quint32 format = data.u32(12);
    const quint32 type = data.u32(16);
    if (!data.has(0, 20))
        return std::nullopt;
    const ByteView bits = data.sub(20, data.size() - 20);
    if (type == 1) {
        // The size is read before the pixels, so that a small file cannot
        // unpack into a huge picture, or into many.
        QByteArray compressed = QByteArray::fromRawData(bits.data(), qsizetype(bits.size()));
        QBuffer buffer(&compressed);
        QImageReader reader(&buffer);
        const QSize size = reader.size();
        if (size.isEmpty() || size.width() > maxDibSide || size.height() > maxDibSide
            || qint64(size.width()) * size.height() > maxDibPixels
            || !budget.spend(double(size.width()) * double(size.height()) * packedPixelCost))
            return std::nullopt;
        QImage image = reader.read();
        if (image.isNull())
            return std::nullopt;
        return image;
    }
    const int depth = int(format >> 8 & 0xFF);
    if (width <= 0 || height <= 0 || width > maxDibSide || height > maxDibSide
        || qint64(width) * height > maxDibPixels || stride < (qint64(width) * depth + 7) / 8)
        return std::nullopt;
    std::size_t at = 0;
    QList<QRgb> palette;
    if (format & 0x00010000) {
        const quint32 count = bits.u32(4);
        if (count > 256 || !bits.has(8, std::size_t(count) * 4))
            return std::nullopt;
        for (quint32 i = 0; i < count; ++i)
            palette.append(bits.u32(8 + 4 * std::size_t(i)));
        at = 8 + 4 * std::size_t(count);
    }
    if (!bits.has(at, quint64(stride) * quint64(height)) || !budget.spend(double(width) * double(height) * rawPixelCost))
        return std::nullopt;
    const uchar* first = reinterpret_cast<const uchar*>(bits.data() + at);
    QImage::Format qtFormat = QImage::Format_Invalid;
    switch (format) {
    case 0x00101004: qtFormat = QImage::Format_Grayscale16; break;
    case 0x00021005: qtFormat = QImage::Format_RGB555; break;
    case 0x00021006: qtFormat = QImage::Format_RGB16; break;
    case 0x00021808: qtFormat = QImage::Format_BGR888; break;
    case 0x00022009: qtFormat = QImage::Format_RGB32; break;
    case 0x0026200A: qtFormat = QImage::Format_ARGB32; break;
    case 0x000E200B: qtFormat = QImage::Format_ARGB32_Premultiplied; break;
    default: break;
    }
    if (qtFormat != QImage::Format_Invalid)
        return QImage(first, width, height, stride, qtFormat).copy();
    if (depth != 1 && depth != 4 && depth != 8)
        return std::nullopt;
    QImage image(width, height, QImage::Format_Indexed8);
    if (image.isNull())
        return std::nullopt;
    palette.resize(1 << depth, qRgb(0, 0, 0));
    image.setColorTable(palette);
    for (int y = 0; y < height; ++y) {
        const uchar* row = first + qint64(y) * stride;
        uchar* out = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            const int bit = x * depth;
            out[x] = uchar(row[bit / 8] >> (8 - depth - bit % 8) & ((1 << depth) - 1));
        }
    }
    return image;
}

std::optional<EmfPlusImage> readImage(ByteView data, WorkBudget& budget) {
    EmfPlusImage image;
    const quint32 type = data.u32(4);
    if (type == U_IDT_Bitmap) {
        auto bitmap = readBitmap(data.sub(8, data.size() - std::min<std::size_t>(8, data.size())), budget);
        if (!bitmap)
            return std::nullopt;
        image.bitmap = std::move(*bitmap);
        return image;
    }
    if (type == U_IDT_Metafile) {
        constexpr quint32 wmfPlaceable = 2;
        constexpr std::size_t paddedPlaceable = 24;
        const quint32 size = data.u32(12);
        ByteView bytes = data.sub(16, size);
        if (size == 0 || bytes.size() != size)
            return std::nullopt;
        // Writers pad a placeable header to 24 bytes and leave it out of the
        // size; the metafile header then starts two bytes late.
        const ByteView padded = data.sub(16, std::size_t(size) + paddedPlaceable);
        if (data.u32(8) == wmfPlaceable && padded.size() > 0 && padded.u16(22) == 0 && padded.u16(26) == 9) {
            image.metafile = QByteArray(padded.data(), 22) + QByteArray(padded.data() + paddedPlaceable, size);
            return image;
        }
        image.metafile = QByteArray(bytes.data(), qsizetype(bytes.size()));
        return image;
    }
    return std::nullopt;
}

std::optional<EmfPlusBrush> readLinearGradient(ByteView data) {
    if (!data.has(0, 40))
        return std::nullopt;
    const quint32 flags = data.u32(0);
    const EmfPlusReader reader(data);
    const auto rect = reader.rect(8, false);
    if (!rect || rect->width() == 0)
        return std::nullopt;
    const QColor start = colour(data.u32(24));
    const QColor end = colour(data.u32(28));
    QLinearGradient gradient(rect->topLeft(), rect->topRight());
    gradient.setSpread(spread(data.i32(4)));
    gradient.setColorAt(0, start);
    gradient.setColorAt(1, end);
    std::size_t at = 40;
    QTransform transform;
    if (flags & brushDataTransform) {
        transform = reader.matrix(at);
        at += 24;
    }
    if (flags & brushDataPresetColors) {
        if (const auto stops = blendStops(data, at, nullptr, nullptr))
            gradient.setStops(*stops);
    } else if (flags & brushDataBlendFactorsH) {
        if (const auto stops = blendStops(data, at, &start, &end))
            gradient.setStops(*stops);
    } else if (flags & brushDataBlendFactorsV) {
        // Shaded down the box instead of across it.
        gradient.setFinalStop(rect->bottomLeft());
        if (const auto stops = blendStops(data, at, &start, &end))
            gradient.setStops(*stops);
    }
    EmfPlusBrush brush{QBrush(gradient), {}, {}};
    if (usableTransform(transform))
        brush.brush.setTransform(transform);
    return brush;
}

// Shaded from the centre colour to the first surrounding colour, inside
// the boundary only.
std::optional<EmfPlusBrush> readPathGradient(ByteView data) {
    const quint32 flags = data.u32(0);
    const QColor centreColour = colour(data.u32(8));
    const QPointF centre(data.f32(12), data.f32(16));
    const quint32 colours = data.u32(20);
    if (!data.has(0, 24) || !data.has(24, quint64(colours) * 4) || !usableNumber(centre.x()) || !usableNumber(centre.y()))
        return std::nullopt;
    const QColor outer = colours > 0 ? colour(data.u32(24)) : centreColour;
    std::size_t at = 24 + 4 * std::size_t(colours);
    QPainterPath boundary;
    if (flags & brushDataPath) {
        const quint32 size = data.u32(at);
        const auto path = readEmfPlusPath(data.sub(at + 4, size));
        if (!path)
            return std::nullopt;
        boundary = *path;
        at += 4 + std::size_t(size);
    } else {
        const quint32 count = data.u32(at);
        std::size_t end = 0;
        const auto points = EmfPlusReader(data).points(at + 4, count, false, false, &end);
        if (!points || count == 0)
            return std::nullopt;
        boundary.addPolygon(*points);
        boundary.closeSubpath();
        at = end;
    }
    double radius = 0;
    for (int i = 0; i < boundary.elementCount(); ++i)
        radius = std::max(radius, std::hypot(boundary.elementAt(i).x - centre.x(), boundary.elementAt(i).y - centre.y()));
    QRadialGradient gradient(centre, std::max(radius, 1e-3));
    gradient.setColorAt(0, centreColour);
    gradient.setColorAt(1, outer);
    EmfPlusBrush brush{QBrush(gradient), {}, {}};
    if (flags & brushDataTransform) {
        const QTransform transform = EmfPlusReader(data).matrix(at);
        if (usableTransform(transform)) {
            brush.brush.setTransform(transform);
            boundary = transform.map(boundary);
        }
    }
    brush.boundary = boundary;
    return brush;
}

std::optional<EmfPlusBrush> readTexture(ByteView data, WorkBudget& budget) {
    const quint32 flags = data.u32(0);
    std::size_t at = 8;
    QTransform transform;
    if (flags & brushDataTransform) {
        transform = EmfPlusReader(data).matrix(at);
        at += 24;
    }
    if (!data.has(0, at))
        return std::nullopt;
    const auto image = readImage(data.sub(at, data.size() - at), budget);
    if (!image || image->bitmap.isNull())
        return std::nullopt;
    EmfPlusBrush brush{QBrush(image->bitmap), {}, {}};
    if (usableTransform(transform))
        brush.brush.setTransform(transform);
    return brush;
}

QList<qreal> lineStyleDashes(qint32 style) {
    switch (style) {
    case 1: return {3, 1};
    case 2: return {1, 1};
    case 3: return {3, 1, 1, 1};
    case 4: return {3, 1, 1, 1, 1, 1};
    default: return {};
    }
}

Qt::PenCapStyle capStyle(qint32 cap) {
    switch (cap) {
    case 1: case 0x11: return Qt::SquareCap;
    case 2: case 0x12: return Qt::RoundCap;
    default: return Qt::FlatCap;
    }
}

Qt::PenJoinStyle joinStyle(quint32 join) {
    switch (join) {
    case 1: return Qt::BevelJoin;
    case 2: return Qt::RoundJoin;
    case 3: return Qt::MiterJoin;
    default: return Qt::SvgMiterJoin;
    }
}

// The anchor caps as shapes; the others are the pen's own cap styles.
std::optional<EmfPlusCap> anchorCap(qint32 cap) {
    EmfPlusCap anchor;
    switch (cap) {
    case 0x11: anchor.shape.addRect(-1, -1, 2, 2); break;
    case 0x12: anchor.shape.addEllipse(QPointF(0, 0), 1, 1); break;
    case 0x13: anchor.shape.addPolygon(QPolygonF{{0, 1}, {1, 0}, {0, -1}, {-1, 0}}); break;
    case 0x14: anchor.shape.addPolygon(QPolygonF{{0, 0}, {-1, -2}, {1, -2}}); break;
    default: return std::nullopt;
    }
    anchor.shape.closeSubpath();
    return anchor;
}

// A custom line cap: an arrow of a width and height, or a path to fill or
// to stroke, scaled by its width scale.
std::optional<EmfPlusCap> readCustomCap(ByteView data) {
    EmfPlusCap cap;
    if (data.u32(4) == 1) {
        const double width = data.f32(8), height = data.f32(12), scale = data.f32(40);
        if (!data.has(0, 44) || !usableNumber(width * scale) || !usableNumber(height * scale))
            return std::nullopt;
        const double across = width * scale / 2, back = -height * scale;
        cap.shape.addPolygon(QPolygonF{{0, 0}, {-across, back}, {across, back}});
        cap.shape.closeSubpath();
        cap.filled = data.u32(20) != 0;
        return cap;
    }
    constexpr std::size_t pathsAt = 56;
    const quint32 flags = data.u32(8);
    const double scale = data.f32(36);
    const quint32 size = data.u32(pathsAt);
    const auto path = readEmfPlusPath(data.sub(pathsAt + 4, size));
    if (!data.has(0, pathsAt) || !(flags & 3) || !path || !usableNumber(scale))
        return std::nullopt;
    cap.shape = QTransform::fromScale(scale, scale).map(*path);
    cap.filled = flags & 1;
    return cap;
}

std::optional<EmfPlusPen> readPen(ByteView data, WorkBudget& budget) {
    if (!data.has(0, 20) || data.u32(4) != 0)
        return std::nullopt;
    EmfPlusPen pen;
    const quint32 flags = data.u32(8);
    pen.unit = data.u32(12);
    pen.width = data.f32(16);
    if (!usableNumber(pen.width))
        return std::nullopt;
    std::size_t at = 20;
    // The optional fields in their fixed order; each is read when its flag is set.
    if (flags & U_PD_Transform) {
        pen.transform = EmfPlusReader(data).matrix(at);
        at += 24;
    }
    if (flags & U_PD_StartCap)
        pen.cap = capStyle(data.i32(at)), pen.startCap = anchorCap(data.i32(at)), at += 4;
    if (flags & U_PD_EndCap)
        pen.endCap = anchorCap(data.i32(at)), at += 4;
    if (flags & U_PD_Join)
        pen.join = joinStyle(data.u32(at)), at += 4;
    if (flags & U_PD_MiterLimit)
        pen.miterLimit = std::clamp<double>(data.f32(at), 1, 100), at += 4;
    if (flags & U_PD_LineStyle)
        pen.dashes = lineStyleDashes(data.i32(at)), at += 4;
    if (flags & U_PD_DLCap)
        at += 4;
    if (flags & U_PD_DLOffset)
        pen.dashOffset = std::clamp<double>(data.f32(at), -1e6, 1e6), at += 4;
    if (flags & U_PD_DLData) {
        const quint32 count = data.u32(at);
        if (!data.has(at + 4, quint64(count) * 4) || count > 1024)
            return std::nullopt;
        pen.dashes.clear();
        for (quint32 i = 0; i < count; ++i)
            pen.dashes.append(std::clamp<double>(data.f32(at + 4 + 4 * std::size_t(i)), 1e-3, 1e6));
        if (pen.dashes.size() % 2)
            pen.dashes.append(pen.dashes.back());
        at += 4 + 4 * std::size_t(count);
    }
    if (flags & U_PD_NonCenter)
        at += 4;
    if (flags & U_PD_CLData) {
        const quint32 count = data.u32(at);
        if (!data.has(at + 4, quint64(count) * 4))
            return std::nullopt;
        at += 4 + 4 * std::size_t(count);
    }
    for (auto [flag, cap] : {std::pair(U_PD_CustomStartCap, &pen.startCap), std::pair(U_PD_CustomEndCap, &pen.endCap)}) {
        if (flags & flag) {
            const quint32 size = data.u32(at);
            if (!data.has(at + 4, size))
                return std::nullopt;
            *cap = readCustomCap(data.sub(at + 4, size));
            at += 4 + std::size_t(size);
        }
    }
    if (!data.has(0, at))
        return std::nullopt;
    const auto brush = readEmfPlusBrush(data.sub(at, data.size() - at), budget);
    if (!brush)
        return std::nullopt;
    pen.brush = *brush;
    return pen;
}

std::optional<int> readRegionNode(ByteView data, std::size_t& at, EmfPlusRegion& region, int depth,
                                  std::size_t maxNodes) {
    if (depth > maxRegionDepth || region.nodes.size() >= maxNodes || !data.has(at, 4))
        return std::nullopt;
    const int index = int(region.nodes.size());
    region.nodes.emplace_back();
    const quint32 type = data.u32(at);
    at += 4;
    region.nodes[std::size_t(index)].type = type;
    switch (type) {
    case U_RNDT_And: case U_RNDT_Or: case U_RNDT_Xor: case U_RNDT_Exclude: case U_RNDT_Complement: {
        const auto left = readRegionNode(data, at, region, depth + 1, maxNodes);
        const auto right = left ? readRegionNode(data, at, region, depth + 1, maxNodes) : std::nullopt;
        if (!right)
            return std::nullopt;
        region.nodes[std::size_t(index)].left = *left;
        region.nodes[std::size_t(index)].right = *right;
        return index;
    }
    case U_RNDT_Rect: {
        const auto rect = EmfPlusReader(data).rect(at, false);
        if (!rect)
            return std::nullopt;
        region.nodes[std::size_t(index)].path.addRect(*rect);
        at += 16;
        return index;
    }
    case U_RNDT_Path: {
        const quint32 size = data.u32(at);
        const auto path = readEmfPlusPath(data.sub(at + 4, size));
        if (!path)
            return std::nullopt;
        region.nodes[std::size_t(index)].path = *path;
        at += 4 + std::size_t(size);
        return index;
    }
    case U_RNDT_Empty:
    case U_RNDT_Infinite:
        return index;
    default:
        return std::nullopt;
    }
}

std::optional<EmfPlusRegion> readRegion(ByteView data) {
    EmfPlusRegion region;
    std::size_t at = 8;
    // The count is of the nodes below the root.
    const std::size_t maxNodes = std::min<std::size_t>(std::size_t(data.u32(4)) + 1, data.size() / 4);
    if (!readRegionNode(data, at, region, 0, maxNodes))
        return std::nullopt;
    return region;
}

std::optional<EmfPlusFont> readFont(ByteView data) {
    EmfPlusFont font;
    font.emSize = data.f32(4);
    font.unit = data.u32(8);
    font.style = data.u32(12);
    const quint32 length = data.u32(20);
    if (!data.has(24, quint64(length) * 2) || !usableNumber(font.emSize))
        return std::nullopt;
    font.family = readUtf16(data, 24, length);
    return font;
}

} // namespace

std::optional<QPainterPath> readEmfPlusPath(ByteView data) {
    const quint32 count = data.u32(4);
    const quint16 flags = data.u16(8);
    std::size_t typesAt = 0;
    const auto points = EmfPlusReader(data).points(12, count, flags & U_PPF_C, flags & U_PPF_P, &typesAt);
    if (!data.has(0, 12) || !points)
        return std::nullopt;
    std::vector<quint8> types;
    types.reserve(count);
    if (flags & U_PPF_R) {
        // Runs: a count with a Bézier bit, then the point type they share.
        while (types.size() < count) {
            if (!data.has(typesAt, 2))
                return std::nullopt;
            const quint8 run = data.u8(typesAt) & 0x3F;
            const quint8 type = data.u8(typesAt + 1);
            types.insert(types.end(), std::min<std::size_t>(run, count - types.size()), type);
            typesAt += 2;
            if (run == 0)
                return std::nullopt;
        }
    } else {
        if (!data.has(typesAt, count))
            return std::nullopt;
        for (quint32 i = 0; i < count; ++i)
            types.push_back(data.u8(typesAt + i));
    }
    QPainterPath path;
    for (quint32 i = 0; i < count; ++i) {
        const quint8 type = types[i] & U_PPT_MASK;
        const QPointF p = (*points)[qsizetype(i)];
        if (type == U_PPT_Start || i == 0) {
            path.moveTo(p);
        } else if (type == U_PPT_Bezier && i + 2 < count) {
            path.cubicTo(p, (*points)[qsizetype(i) + 1], (*points)[qsizetype(i) + 2]);
            i += 2;
        } else {
            path.lineTo(p);
        }
        if (types[i] & 0x80)
            path.closeSubpath();
    }
    return path;
}

std::optional<EmfPlusBrush> readEmfPlusBrush(ByteView data, WorkBudget& budget) {
    if (!data.has(0, 8))
        return std::nullopt;
    const ByteView body = data.sub(8, data.size() - 8);
    switch (data.u32(4)) {
    case U_BT_SolidColor:
        if (!body.has(0, 4))
            return std::nullopt;
        return EmfPlusBrush{QBrush(colour(body.u32(0))), {}, {}};
    case U_BT_HatchFill:
        if (!body.has(0, 12))
            return std::nullopt;
        return EmfPlusBrush{QBrush(colour(body.u32(4)), hatchStyle(body.u32(0))), colour(body.u32(8)), {}};
    case U_BT_TextureFill:
        return readTexture(body, budget);
    case U_BT_PathGradient:
        return readPathGradient(body);
    case U_BT_LinearGradient:
        return readLinearGradient(body);
    default:
        return std::nullopt;
    }
}

std::optional<EmfPlusObject> readEmfPlusObject(quint32 type, ByteView data, WorkBudget& budget) {
    auto held = [](auto value) -> std::optional<EmfPlusObject> {
        if (!value)
            return std::nullopt;
        return EmfPlusObject(std::move(*value));
    };
    switch (type) {
    case U_OT_Brush: return held(readEmfPlusBrush(data, budget));
    case U_OT_Pen: return held(readPen(data, budget));
    case U_OT_Path: {
        auto path = readEmfPlusPath(data);
        return held(path ? std::optional(EmfPlusPath{std::move(*path)}) : std::nullopt);
    }
    case U_OT_Region: return held(readRegion(data));
    case U_OT_Image: return held(readImage(data, budget));
    case U_OT_Font: return held(readFont(data));
    case U_OT_StringFormat: {
        const double leading = data.f32(36), trailing = data.f32(40);
        if (!data.has(0, 44) || !usableNumber(leading) || !usableNumber(trailing))
            return std::nullopt;
        return EmfPlusObject(EmfPlusStringFormat{data.u32(4), data.u32(12), data.u32(16), std::clamp(leading, 0.0, 10.0),
                                                 std::clamp(trailing, 0.0, 10.0)});
    }
    default:
        return std::nullopt;
    }
}

} // namespace pelmora
