// SPDX-License-Identifier: GPL-2.0-or-later
#include "emfplus_records.h"

// libUEMF
#include <uemf.h>
#include <upmf.h>

// Std
#include <cmath>

namespace pelmora {

namespace {

// An EMF comment's identifier for EMF+ records, and where they start.
constexpr quint32 emfPlusIdentifier = 0x2B464D45;   // "EMF+"
constexpr std::size_t emfPlusFirstRecord = 16;

// A relative coordinate: 7 bits in one byte, or 15 bits in two when the
// first byte's top bit is set.
std::optional<int> relativeValue(ByteView data, std::size_t& at) {
    if (!data.has(at, 1))
        return std::nullopt;
    const quint8 first = data.u8(at);
    if (!(first & 0x80)) {
        ++at;
        return (first & 0x40) ? int(first) - 0x80 : int(first);
    }
    if (!data.has(at, 2))
        return std::nullopt;
    const int value = (int(first & 0x7F) << 8) | data.u8(at + 1);
    at += 2;
    return (value & 0x4000) ? value - 0x8000 : value;
}

} // namespace

ByteView emfPlusRecords(ByteView emfRecord) {
    if (emfRecord.u32(0) != U_EMR_COMMENT || emfRecord.u32(12) != emfPlusIdentifier)
        return {};
    const quint32 bytes = emfRecord.u32(8);
    if (bytes < 4)
        return {};
    // The comment's own count, kept inside the record.
    const std::size_t room = emfRecord.size() > emfPlusFirstRecord ? emfRecord.size() - emfPlusFirstRecord : 0;
    return emfRecord.sub(emfPlusFirstRecord, std::min<std::size_t>(bytes - 4, room));
}

EmfPlusHeader readEmfPlusHeader(ByteView records) {
    EmfPlusHeader header;
    if (records.u16(0) == (U_PMR_HEADER | U_PMR_RECFLAG) && records.has(0, 28)) {
        header.kind = (records.u16(2) & U_PPF_DM) ? EmfPlusKind::Dual : EmfPlusKind::Only;
        header.dpiX = records.u32(20);
        header.dpiY = records.u32(24);
        header.video = records.u32(16) & U_PPF_VIDEO;
    }
    return header;
}

QTransform EmfPlusReader::matrix(std::size_t at) const {
    return QTransform(data_.f32(at), data_.f32(at + 4), data_.f32(at + 8), data_.f32(at + 12), data_.f32(at + 16),
                      data_.f32(at + 20));
}

std::optional<QRectF> EmfPlusReader::rect(std::size_t at, bool compressed) const {
    if (compressed) {
        if (!data_.has(at, 8))
            return std::nullopt;
        return QRectF(data_.i16(at), data_.i16(at + 2), data_.i16(at + 4), data_.i16(at + 6));
    }
    if (!data_.has(at, 16))
        return std::nullopt;
    const QRectF r(data_.f32(at), data_.f32(at + 4), data_.f32(at + 8), data_.f32(at + 12));
    if (!usableNumber(r.x()) || !usableNumber(r.y()) || !usableNumber(r.width()) || !usableNumber(r.height()))
        return std::nullopt;
    return r;
}

std::optional<QList<QRectF>> EmfPlusReader::rects(std::size_t at, quint32 count, bool compressed) const {
    const std::size_t stride = compressed ? 8 : 16;
    if (!data_.has(at, quint64(count) * stride))
        return std::nullopt;
    QList<QRectF> result;
    result.reserve(count);
    for (quint32 i = 0; i < count; ++i) {
        const auto r = rect(at + i * stride, compressed);
        if (!r)
            return std::nullopt;
        result.append(*r);
    }
    return result;
}

std::optional<QPolygonF> EmfPlusReader::points(std::size_t at, quint32 count, bool compressed, bool relative,
                                               std::size_t* end) const {
    // Every kind of point takes two bytes at least.
    if (!data_.has(at, quint64(count) * 2))
        return std::nullopt;
    QPolygonF result;
    result.reserve(count);
    if (relative) {
        QPointF last(0, 0);
        for (quint32 i = 0; i < count; ++i) {
            const auto dx = relativeValue(data_, at);
            const auto dy = dx ? relativeValue(data_, at) : std::nullopt;
            if (!dy)
                return std::nullopt;
            last += QPointF(*dx, *dy);
            result.append(last);
        }
    } else {
        const std::size_t stride = compressed ? 4 : 8;
        if (!data_.has(at, quint64(count) * stride))
            return std::nullopt;
        for (quint32 i = 0; i < count; ++i, at += stride) {
            const QPointF p = compressed ? QPointF(data_.i16(at), data_.i16(at + 2))
                                         : QPointF(data_.f32(at), data_.f32(at + 4));
            if (!usableNumber(p.x()) || !usableNumber(p.y()))
                return std::nullopt;
            result.append(p);
        }
    }
    if (end)
        *end = at;
    return result;
}

QString readUtf16(ByteView data, std::size_t at, quint32 count) {
    if (!data.has(at, quint64(count) * 2))
        return {};
    QString text(qsizetype(count), Qt::Uninitialized);
    for (quint32 i = 0; i < count; ++i)
        text[qsizetype(i)] = QChar(data.u16(at + 2 * std::size_t(i)));
    return text;
}

bool usableNumber(double value) {
    return std::isfinite(value) && std::abs(value) < 1e9;
}

} // namespace pelmora
