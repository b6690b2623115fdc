// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QImage>
#include <QSize>
#include <QTransform>

// Local
#include "byte_view.h"
#include "dib.h"
#include "gdi_device.h"

// Std
#include <algorithm>
#include <functional>

namespace pelmora {

// What the player takes from an EMF header.
struct EmfHeader {
    qint64 left, top, right, bottom;         // frame, hundredths of a millimetre
    qint64 deviceWidth, deviceHeight;        // pixels
    qint64 mmWidth, mmHeight;
    quint32 handles;
    std::size_t headerSize;
};

// True when the bytes carry the enhanced-metafile signature.
bool isEmf(ByteView file);

// The header of an EMF; throws PelmoraError when it does not hold together.
EmfHeader readEmfHeader(ByteView file);

// The picture size of an EMF: its frame (hundredths of a millimetre) at the
// recording device's pixels per millimetre; throws PelmoraError when no
// picture may have it.
QSize emfPictureSize(const EmfHeader& header);

// Recording-device pixels to target pixels, the frame filling the target.
QTransform emfFrameToTarget(const EmfHeader& header, QSize target);

// Checks that the records hold together, calling visit on each one up to
// EMR_EOF as it passes; false when one does not.
bool checkEmfRecords(ByteView file, const std::function<void(ByteView record)>& visit);

// True for a text record whose characters are glyph indices of the
// recording machine's font, which nothing here can map back to letters.
bool glyphIndexText(ByteView record);

// Decodes the records of a checked EMF into calls on the GDI device. Every
// field is read through the record's bounded view.
class EmfPlayer {
public:
    EmfPlayer(ByteView file, const EmfHeader& header, QImage& target, const QTransform& output, WorkBudget& budget)
        : file_(file), budget_(budget),
          device_(target, QSizeF(double(header.deviceWidth) / double(header.mmWidth),
                                 double(header.deviceHeight) / double(header.mmHeight)), output, budget) {
        device_.setTableSize(std::min<quint32>(std::max<quint32>(header.handles, 1), 65535));
    }

    void play();

private:
    QPointF point(std::size_t at) const { return QPointF(record_.i32(at), record_.i32(at + 4)); }
    QRectF box(std::size_t at) const {
        return QRectF(QPointF(record_.i32(at), record_.i32(at + 4)), QPointF(record_.i32(at + 8), record_.i32(at + 12)));
    }
    QRgb colour(std::size_t at) const { return device_.colour(record_.u32(at)); }

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

    std::optional<QRegion> region(std::size_t at, quint32 bytes) {
        const ByteView data = record_.sub(at, bytes);
        if (!data.has(0, 32))
            return std::nullopt;
        const quint32 count = data.u32(8);
        if (!data.has(32, std::size_t(count) * 16) || count > GdiDevice::maxRegionRects)
            return std::nullopt;
        std::vector<QRect> rects;
        for (quint32 i = 0; i < count; ++i) {
            const std::size_t r = 32 + 16 * std::size_t(i);
            // Kept well inside int so that no edge arithmetic can overflow.
            auto edge = [&](std::size_t at) { return int(std::clamp<qint64>(data.i32(at), -(1 << 28), 1 << 28)); };
            const QRect rect(QPoint(edge(r), edge(r + 4)), QPoint(edge(r + 8) - 1, edge(r + 12) - 1));
            if (rect.isValid())
                rects.push_back(rect);
        }
        return device_.regionOf(rects);
    }

    QImage dib(std::size_t offBmi, quint32 cbBmi, std::size_t offBits, quint32 cbBits, quint32 usage,
               DibAlpha alpha = DibAlpha::Ignore) const;

    void dispatch(quint32 type);
    // The records that take more than a line to decode (emf_records.cpp).
    void createPen();
    void createExtPen();
    void createFont();
    void createPatternBrush(bool monochrome);
    // One EMRTEXT from offset; its size in the record.
    std::size_t emrText(std::size_t at, bool wide);
    void polyTextOut(bool wide);
    void smallTextOut();
    void bitBlt(bool stretch);
    void stretchDiBits();
    void setDiBitsToDevice();
    void transparentBlt();
    void maskBlt();
    void alphaBlend();
    void plgBlt();
    void gradientFill();

    ByteView file_;
    ByteView record_;
    WorkBudget& budget_;
    GdiDevice device_;
};

} // namespace pelmora
