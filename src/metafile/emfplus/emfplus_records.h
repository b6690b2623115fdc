// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QTransform>

// Local
#include "byte_view.h"

// Std
#include <optional>

namespace pelmora {

// What an EMF says of its EMF+ records: none, a dual file (GDI records
// draw the same picture) or EMF+ only.
enum class EmfPlusKind { None, Dual, Only };

// The EMF+ header: the first EMF+ record of the file, or there is none.
struct EmfPlusHeader {
    EmfPlusKind kind = EmfPlusKind::None;
    double dpiX = 0, dpiY = 0;
    bool video = false;                      // a screen's file, not a printer's
};
// The header at the start of the records of the file's first EMF+ comment.
EmfPlusHeader readEmfPlusHeader(ByteView records);

// Type, flags, size and data size come before an EMF+ record's data.
inline constexpr std::size_t emfPlusRecordHeader = 12;

// The EMF+ records in one EMR_COMMENT: empty when it holds none.
ByteView emfPlusRecords(ByteView emfRecord);

// Calls visit(offset, record) for each EMF record of a checked file until
// EMR_EOF; visit returns false to stop.
template <typename Visit>
void forEachEmfRecord(ByteView file, Visit visit) {
    constexpr quint32 endOfFile = 14;   // EMR_EOF
    std::size_t at = 0;
    while (file.has(at, 8)) {
        const quint32 size = file.u32(at + 4);
        if (size < 8 || !file.has(at, size) || file.u32(at) == endOfFile || !visit(at, file.sub(at, size)))
            return;
        at += size;
    }
}

// Bounded reads of the values EMF+ records are made of. A read that does
// not fit fails (nothing) and never looks past the view.
class EmfPlusReader {
public:
    explicit EmfPlusReader(ByteView data) : data_(data) {}

    QTransform matrix(std::size_t at) const;

    // A rectangle: four floats, or four 16-bit integers when compressed.
    std::optional<QRectF> rect(std::size_t at, bool compressed) const;
    // count rectangles, count points: as floats, 16-bit integers
    // (compressed) or relative to the point before (relative). end is set
    // past the last byte read.
    std::optional<QList<QRectF>> rects(std::size_t at, quint32 count, bool compressed) const;
    std::optional<QPolygonF> points(std::size_t at, quint32 count, bool compressed, bool relative,
                                    std::size_t* end = nullptr) const;

private:
    ByteView data_;
};

// count UTF-16 code units from at; empty when they do not fit.
QString readUtf16(ByteView data, std::size_t at, quint32 count);

// Finite and within reach of int pixel arithmetic.
bool usableNumber(double value);

} // namespace pelmora
