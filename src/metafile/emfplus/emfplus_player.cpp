// SPDX-License-Identifier: GPL-2.0-or-later
#include "emfplus_player.h"

// libUEMF
#include <upmf.h>

// Std
#include <algorithm>
#include <cmath>

namespace pelmora {

namespace {

constexpr quint16 flagPostMultiply = 0x2000;
constexpr quint16 flagContinued = 0x8000;

// However many saves a file makes, only this many are kept.
constexpr std::size_t maxSaved = 1024;
// The GDI runs after GetDC records that are played; each has its own device.
constexpr int maxGdiRuns = 64;

// A clip or region is combined by element.
constexpr double combineCost = 200;

// The table holds at most this many bytes of pixels at once.
constexpr qint64 maxTableBytes = qint64(1) << 29;

qint64 pixelBytes(const EmfPlusObject& object) {
    if (const auto* image = std::get_if<EmfPlusImage>(&object))
        return image->bitmap.sizeInBytes() + image->metafile.size();
    if (const auto* brush = std::get_if<EmfPlusBrush>(&object))
        return brush->brush.textureImage().sizeInBytes();
    if (const auto* pen = std::get_if<EmfPlusPen>(&object))
        return pen->brush.brush.textureImage().sizeInBytes();
    return 0;
}

} // namespace

EmfPlusPlayer::EmfPlusPlayer(ByteView file, const EmfHeader& header, const EmfPlusHeader& plus, QImage& target,
                             const QTransform& output, WorkBudget& budget)
    : file_(file), header_(header), plus_(plus), target_(target), output_(output), painter_(&target),
      budget_(budget) {
    // A dual file's header may leave the resolution out: take the EMF's.
    const double mmPerInch = 25.4;
    if (!(plus_.dpiX > 0) || !(plus_.dpiY > 0)) {
        plus_.dpiX = double(header.deviceWidth) / double(header.mmWidth) * mmPerInch;
        plus_.dpiY = double(header.deviceHeight) / double(header.mmHeight) * mmPerInch;
    }
}

void EmfPlusPlayer::play() {
    std::size_t gdiFrom = 0;
    std::size_t gdiTo = 0;
    int gdiRuns = 0;
    auto flushGdi = [&] {
        if (gdiTo > gdiFrom && gdiRuns++ < maxGdiRuns)
            playGdi(gdiFrom, gdiTo);
        gdiFrom = gdiTo = 0;
        getDc_ = false;
    };
    forEachEmfRecord(file_, [&](std::size_t at, ByteView record) {
        const ByteView records = emfPlusRecords(record);
        if (records.size() > 0) {
            flushGdi();
            playRecords(records);
        } else if (getDc_ && at > 0) {
            if (gdiTo == 0)
                gdiFrom = at;
            gdiTo = at + record.size();
        }
        return !ended_;
    });
    flushGdi();
}

void EmfPlusPlayer::playGdi(std::size_t from, std::size_t to) {
    // One painter at a time on the target.
    painter_.end();
    EmfPlayer(file_.sub(from, to - from), header_, target_, output_, budget_).play();
    painter_.begin(&target_);
    clipApplied_ = false;
}

void EmfPlusPlayer::playRecords(ByteView records) {
    std::size_t at = 0;
    while (!ended_ && records.has(at, emfPlusRecordHeader)) {
        const quint16 type = records.u16(at);
        const quint16 flags = records.u16(at + 2);
        const quint32 size = records.u32(at + 4);
        const quint32 dataSize = records.u32(at + 8);
        if (size < emfPlusRecordHeader || !records.has(at, size) || dataSize > size - emfPlusRecordHeader)
            return;
        if (type & U_PMR_RECFLAG)
            dispatch(type & ~U_PMR_RECFLAG, flags, records.sub(at + emfPlusRecordHeader, dataSize));
        at += size;
    }
}

void EmfPlusPlayer::dispatch(quint16 type, quint16 flags, ByteView data) {
    const EmfPlusReader r(data);
    const bool compressed = flags & U_PPF_C;
    switch (type) {
    case U_PMR_ENDOFFILE: ended_ = true; break;
    case U_PMR_GETDC: getDc_ = true; break;
    case U_PMR_OBJECT: object(flags, data); break;
    case U_PMR_SETANTIALIASMODE: state_.antialias = flags & U_PPF_AA; break;
    case U_PMR_SETTEXTRENDERINGHINT: {
        const int hint = flags & 0xFF;
        state_.textAntialias = hint != 1 && hint != 2;
        break;
    }
    case U_PMR_SAVE: save(data.u32(0)); break;
    case U_PMR_RESTORE: restore(data.u32(0)); break;
    case U_PMR_BEGINCONTAINER: beginContainer(data); break;
    case U_PMR_BEGINCONTAINERNOPARAMS:
        save(data.u32(0));
        state_.container = state_.world * state_.container;
        state_.world = QTransform();
        break;
    case U_PMR_ENDCONTAINER: restore(data.u32(0)); break;
    case U_PMR_SETWORLDTRANSFORM:
        if (data.has(0, 24) && usableTransform(r.matrix(0)))
            state_.world = r.matrix(0);
        break;
    case U_PMR_RESETWORLDTRANSFORM: state_.world = QTransform(); break;
    case U_PMR_MULTIPLYWORLDTRANSFORM:
        if (data.has(0, 24))
            changeWorld(r.matrix(0), flags);
        break;
    case U_PMR_TRANSLATEWORLDTRANSFORM:
        if (data.has(0, 8))
            changeWorld(QTransform::fromTranslate(data.f32(0), data.f32(4)), flags);
        break;
    case U_PMR_SCALEWORLDTRANSFORM:
        if (data.has(0, 8))
            changeWorld(QTransform::fromScale(data.f32(0), data.f32(4)), flags);
        break;
    case U_PMR_ROTATEWORLDTRANSFORM:
        if (data.has(0, 4) && usableNumber(data.f32(0)))
            changeWorld(QTransform().rotate(data.f32(0)), flags);
        break;
    case U_PMR_SETPAGETRANSFORM: {
        const double scale = data.f32(0);
        if (data.has(0, 4) && usableNumber(scale) && scale > 1e-6) {
            state_.pageUnit = flags & 0xFF;
            state_.pageScale = scale;
        }
        break;
    }
    case U_PMR_RESETCLIP:
        state_.clip.reset();
        clipApplied_ = false;
        break;
    case U_PMR_SETCLIPRECT:
        if (const auto rect = r.rect(0, false)) {
            QPainterPath path;
            path.addRect(*rect);
            combineClip(transform().map(path), flags >> 8 & 0xF);
        }
        break;
    case U_PMR_SETCLIPPATH:
        if (const auto* path = find<EmfPlusPath>(flags & 0xFF))
            combineClip(transform().map(path->path), flags >> 8 & 0xF);
        break;
    case U_PMR_SETCLIPREGION:
        if (const auto* region = find<EmfPlusRegion>(flags & 0xFF); region && spendOnRegion(*region))
            combineClip(regionPath(*region, 0, 0), flags >> 8 & 0xF);
        break;
    case U_PMR_OFFSETCLIP:
        if (state_.clip && data.has(0, 8)) {
            const QTransform t = transform();
            const QPointF shift = t.map(QPointF(data.f32(0), data.f32(4))) - t.map(QPointF(0, 0));
            if (usableNumber(shift.x()) && usableNumber(shift.y())) {
                state_.clip->translate(shift);
                clipApplied_ = false;
            }
        }
        break;
    case U_PMR_CLEAR:
        if (data.has(0, 4) && prepare(transform().inverted().mapRect(QRectF(target_.rect())))) {
            painter_.save();
            painter_.resetTransform();
            painter_.setCompositionMode(QPainter::CompositionMode_Source);
            painter_.fillRect(target_.rect(), QColor::fromRgba(data.u32(0)));
            painter_.restore();
        }
        break;
    case U_PMR_DRAWSTRING: drawString(flags, data); break;
    case U_PMR_DRAWDRIVERSTRING: drawDriverString(flags, data); break;
    case U_PMR_DRAWIMAGE:
    case U_PMR_DRAWIMAGEPOINTS: {
        const auto* image = find<EmfPlusImage>(flags & 0xFF);
        const auto source = r.rect(8, false);
        if (!image || !source || source->width() == 0 || source->height() == 0)
            break;
        const QTransform toSource = QTransform::fromTranslate(-source->x(), -source->y());
        if (type == U_PMR_DRAWIMAGE) {
            const auto dest = r.rect(24, compressed);
            if (dest) {
                const QTransform fit = QTransform::fromScale(dest->width() / source->width(),
                                                             dest->height() / source->height());
                drawImage(*image, *source, toSource * fit * QTransform::fromTranslate(dest->x(), dest->y()));
            }
            break;
        }
        // Where the source's top-left, top-right and bottom-left corners land.
        const auto corners = r.points(28, 3, compressed, flags & U_PPF_P);
        if (!corners || data.u32(24) != 3)
            break;
        const QPointF p0 = (*corners)[0], p1 = (*corners)[1], p2 = (*corners)[2];
        drawImage(*image, *source,
                  toSource * QTransform((p1.x() - p0.x()) / source->width(), (p1.y() - p0.y()) / source->width(),
                                        (p2.x() - p0.x()) / source->height(), (p2.y() - p0.y()) / source->height(),
                                        p0.x(), p0.y()));
        break;
    }
    default:
        if (type >= U_PMR_FILLRECTS && type <= U_PMR_DRAWBEZIERS)
            shape(type, flags, data);
        break;
    }
}

void EmfPlusPlayer::object(quint16 flags, ByteView data) {
    const quint16 identity = flags & ~flagContinued;
    ByteView bytes = data;
    if (flags & flagContinued) {
        // A part of an object too big for one record: its whole size, then the part.
        const quint32 total = data.u32(0);
        if (!data.has(0, 4) || total > file_.size())
            return;
        if (continuedFlags_ != identity || continued_.isEmpty())
            continued_.clear();
        continuedFlags_ = identity;
        continuedTotal_ = total;
        continued_.append(data.data() + 4, qsizetype(data.size() - 4));
        if (std::size_t(continued_.size()) < continuedTotal_)
            return;
        bytes = ByteView(continued_.constData(), continuedTotal_);
    } else if (!continued_.isEmpty() && continuedFlags_ == identity) {
        continued_.append(data.data(), qsizetype(data.size()));
        bytes = ByteView(continued_.constData(), std::min<std::size_t>(continued_.size(), continuedTotal_));
    }
    const quint32 id = flags & 0xFF;
    if (id < objects_.size()) {
        objects_[id] = EmfPlusObject();
        auto parsed = readEmfPlusObject(flags >> 8 & 0x7F, bytes, budget_);
        qint64 held = parsed ? pixelBytes(*parsed) : 0;
        for (const EmfPlusObject& other : objects_)
            held += pixelBytes(other);
        if (parsed && held <= maxTableBytes)
            objects_[id] = std::move(*parsed);
    }
    continued_.clear();
}

std::optional<EmfPlusBrush> EmfPlusPlayer::brush(bool direct, quint32 value) const {
    if (direct)
        return EmfPlusBrush{QBrush(QColor::fromRgba(value)), {}, {}};
    if (const auto* found = find<EmfPlusBrush>(value))
        return *found;
    return std::nullopt;
}

double EmfPlusPlayer::unitPixels(quint32 unit, bool vertical) const {
    const double dpi = vertical ? plus_.dpiY : plus_.dpiX;
    switch (unit) {
    case U_UT_Display: return plus_.video ? 1 : dpi / 100;
    case U_UT_Point: return dpi / 72;
    case U_UT_Inch: return dpi;
    case U_UT_Document: return dpi / 300;
    case U_UT_Millimeter: return dpi / 25.4;
    default: return 1;
    }
}

QTransform EmfPlusPlayer::pageTransform() const {
    return QTransform::fromScale(unitPixels(state_.pageUnit) * state_.pageScale,
                                 unitPixels(state_.pageUnit, true) * state_.pageScale);
}

double EmfPlusPlayer::worldLength(double length, quint32 unit, bool vertical) const {
    if (unit == U_UT_World)
        return length;
    return length * unitPixels(unit, vertical) / (unitPixels(state_.pageUnit, vertical) * state_.pageScale);
}

QTransform EmfPlusPlayer::transform() const {
    return state_.world * state_.container * pageTransform() * output_;
}

void EmfPlusPlayer::changeWorld(const QTransform& t, quint16 flags) {
    const QTransform changed = (flags & flagPostMultiply) ? state_.world * t : t * state_.world;
    if (usableTransform(changed))
        state_.world = changed;
}

void EmfPlusPlayer::save(quint32 id) {
    if (saved_.size() < maxSaved)
        saved_.emplace_back(id, state_);
}

void EmfPlusPlayer::restore(quint32 id) {
    // The state saved under id, and every save made after it, go.
    for (std::size_t i = saved_.size(); i-- > 0;) {
        if (saved_[i].first == id) {
            state_ = saved_[i].second;
            saved_.resize(i);
            clipApplied_ = false;
            return;
        }
    }
}

void EmfPlusPlayer::beginContainer(ByteView data) {
    const EmfPlusReader r(data);
    const auto dest = r.rect(0, false);
    const auto source = r.rect(16, false);
    save(data.u32(32));
    if (!dest || !source || source->width() == 0 || source->height() == 0 || !data.has(0, 36))
        return;
    // The source box is drawn in the destination box.
    const QTransform fit = QTransform::fromTranslate(-source->x(), -source->y())
        * QTransform::fromScale(dest->width() / source->width(), dest->height() / source->height())
        * QTransform::fromTranslate(dest->x(), dest->y());
    const QTransform container = fit * state_.world * state_.container;
    if (usableTransform(container)) {
        state_.container = container;
        state_.world = QTransform();
    }
}

bool EmfPlusPlayer::spend(double cost) {
    return budget_.spend(cost);
}

bool EmfPlusPlayer::spendOnRegion(const EmfPlusRegion& region) {
    double elements = 0;
    for (const EmfPlusRegion::Node& node : region.nodes)
        elements += double(node.path.elementCount()) + 1;
    return spend(elements * combineCost);
}

void EmfPlusPlayer::combineClip(const QPainterPath& targetPath, int mode) {
    if (!spend(double(targetPath.elementCount() + (state_.clip ? state_.clip->elementCount() : 0)) * combineCost))
        return;
    QPainterPath everything;
    everything.addRect(QRectF(target_.rect()).adjusted(-2, -2, 2, 2));
    const QPainterPath current = state_.clip ? *state_.clip : everything;
    QPainterPath result;
    switch (mode) {
    case U_CM_Replace: result = targetPath; break;
    case U_CM_Intersect: result = current.intersected(targetPath); break;
    case U_CM_Union: result = current.united(targetPath); break;
    case U_CM_XOR: result = current.subtracted(targetPath).united(targetPath.subtracted(current)); break;
    case U_CM_Exclude: result = current.subtracted(targetPath); break;
    case U_CM_Complement: result = targetPath.subtracted(current); break;
    default: return;
    }
    // Kept within the picture so that no coordinate grows past what the rasteriser takes.
    state_.clip = result.intersected(everything);
    clipApplied_ = false;
}

QPainterPath EmfPlusPlayer::regionPath(const EmfPlusRegion& region, int node, int depth) const {
    if (node < 0 || std::size_t(node) >= region.nodes.size() || depth > 64)
        return {};
    const EmfPlusRegion::Node& n = region.nodes[std::size_t(node)];
    QPainterPath everything;
    everything.addRect(QRectF(target_.rect()).adjusted(-2, -2, 2, 2));
    switch (n.type) {
    case U_RNDT_Rect:
    case U_RNDT_Path: return transform().map(n.path);
    case U_RNDT_Infinite: return everything;
    case U_RNDT_Empty: return {};
    default: break;
    }
    const QPainterPath left = regionPath(region, n.left, depth + 1);
    const QPainterPath right = regionPath(region, n.right, depth + 1);
    switch (n.type) {
    case U_RNDT_And: return left.intersected(right);
    case U_RNDT_Or: return left.united(right);
    case U_RNDT_Xor: return left.subtracted(right).united(right.subtracted(left));
    case U_RNDT_Exclude: return left.subtracted(right);
    case U_RNDT_Complement: return right.subtracted(left);
    default: return {};
    }
}

} // namespace pelmora
