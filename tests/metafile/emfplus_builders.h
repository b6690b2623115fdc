// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QByteArray>
#include <QString>

// Std
#include <initializer_list>

namespace pelmora::test {

// EMF+ record types the tests write, without the 0x4000 flag.
enum EmfPlusRecordType : quint16 {
    plusGetDc = 0x04, plusObject = 0x08, plusFillRects = 0x0A, plusFillPolygon = 0x0C, plusDrawLines = 0x0D,
    plusFillPie = 0x10, plusFillPath = 0x14, plusDrawBeziers = 0x19, plusDrawImage = 0x1A, plusDrawString = 0x1C,
    plusSave = 0x25, plusRestore = 0x26, plusBeginContainer = 0x27, plusSetWorldTransform = 0x2A,
    plusTranslateWorld = 0x2D, plusScaleWorld = 0x2E, plusSetPageTransform = 0x30, plusSetClipRect = 0x32,
    plusSetClipPath = 0x33, plusDrawDriverString = 0x36,
};

// Record flags: a fill's colour given in the record, a transform applied
// after the world one, points as 16-bit integers or as steps from the point
// before.
inline constexpr quint16 directColour = 0x8000;
inline constexpr quint16 postMultiply = 0x2000;
inline constexpr quint16 compressedPoints = 0x4000;
inline constexpr quint16 relativePoints = 0x0800;

// Object kinds in an object record's flags, the flag of an object split
// over records, and the version objects carry.
inline constexpr quint16 objectContinued = 0x8000;
inline constexpr quint16 objectBrush = 0x100, objectPen = 0x200, objectPath = 0x300, objectRegion = 0x400,
                         objectImage = 0x500, objectFont = 0x600, objectFormat = 0x700;
inline constexpr quint32 objectVersion = 0xDBC01002;

// EMF+ records, gathered into the body of the EMF comment that carries
// them. The first is the EMF+ header: a screen's file at 254 dots per inch,
// dual or EMF+ only.
class EmfPlusRecords {
public:
    explicit EmfPlusRecords(bool dual = false);
    // Records for a later comment of the same file, with no header.
    static EmfPlusRecords more() { return EmfPlusRecords(Later{}); }

    // A record of type (without the 0x4000 flag) with its flags and data.
    EmfPlusRecords& record(quint16 type, quint16 flags, const QByteArray& data = {});
    // The EMR_COMMENT body: its size, "EMF+" and the records.
    QByteArray comment() const;

private:
    struct Later {};
    explicit EmfPlusRecords(Later) {}

    QByteArray records_;
};

// Little-endian values, as EMF+ writes them.
QByteArray floats(std::initializer_list<float> values);
QByteArray utf16(const QString& text);

} // namespace pelmora::test
