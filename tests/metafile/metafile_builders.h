// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Local
#include "bitmap.h"

// Qt
#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

// Std
#include <initializer_list>

namespace pelmora::test {

inline constexpr Colour white = 0xFFFFFF;
inline constexpr Colour black = 0x000000;
inline constexpr Colour red = 0x0000FF;
inline constexpr Colour green = 0x00FF00;
inline constexpr Colour blue = 0xFF0000;

// EMF record types the tests write.
enum EmfRecordType : quint32 {
    emrPolygon = 3, emrPolyline = 4, emrSetWindowExt = 9, emrSetViewportExt = 11, emrSetViewportOrg = 12, emrSetMapMode = 17,
    emrSetBkMode = 18, emrSetPolyFillMode = 19, emrSetRop2 = 20, emrSetStretchBltMode = 21, emrSetTextAlign = 22,
    emrSetTextColor = 24, emrSetBkColor = 25, emrMoveToEx = 27, emrExcludeClipRect = 29, emrIntersectClipRect = 30,
    emrSaveDc = 33, emrRestoreDc = 34, emrSetWorldTransform = 35, emrSelectObject = 37, emrCreatePen = 38,
    emrCreateBrush = 39, emrDeleteObject = 40, emrRectangle = 43, emrSelectPalette = 48, emrCreatePalette = 49,
    emrSetPaletteEntries = 50, emrResizePalette = 51, emrExtFloodFill = 53, emrLineTo = 54, emrBeginPath = 59,
    emrEndPath = 60, emrFillPath = 62, emrComment = 70, emrExtSelectClipRgn = 75, emrPlgBlt = 79,
    emrStretchDiBits = 81, emrCreateFont = 82, emrExtTextOutA = 83, emrExtTextOutW = 84, emrCreateMonoBrush = 93,
    emrPolygon16 = 86, emrPolyTextOutW = 97, emrAlphaBlend = 114,
};

// WMF record functions the tests write.
enum WmfFunction : quint16 {
    wmfSetBkColor = 0x0201, wmfSetMapMode = 0x0103, wmfSetTextColor = 0x0209, wmfSetWindowOrg = 0x020B,
    wmfSetWindowExt = 0x020C, wmfSetViewportOrg = 0x020D, wmfSetViewportExt = 0x020E, wmfOffsetViewportOrg = 0x0211,
    wmfScaleWindowExt = 0x0410, wmfScaleViewportExt = 0x0412, wmfExcludeClipRect = 0x0415, wmfIntersectClipRect = 0x0416, wmfFloodFill = 0x0419,
    wmfRectangle = 0x041B, wmfSelectClipRegion = 0x012C, wmfSelectObject = 0x012D, wmfSelectPalette = 0x0234,
    wmfCreatePalette = 0x00F7, wmfDeleteObject = 0x01F0, wmfCreatePatternBrush = 0x01F9, wmfCreatePen = 0x02FA,
    wmfCreateBrush = 0x02FC, wmfCreateRegion = 0x06FF,
};

// Stock objects, as EMR_SELECTOBJECT names them.
inline constexpr qint32 blackBrush = qint32(0x80000004u);
inline constexpr qint32 nullBrush = qint32(0x80000005u);
inline constexpr qint32 nullPen = qint32(0x80000008u);

// Fails the calling test unless every pixel inside the box is one colour and
// every pixel outside it the other.
void expectBox(const Bitmap& picture, const QRect& box, Colour inside, Colour outside = white);

// Small enhanced metafiles written record by record, little-endian.
class EmfBuilder {
public:
    // Frame in hundredths of a millimetre; the recording device's size in
    // pixels and in millimetres.
    EmfBuilder(int left, int top, int right, int bottom, int devicePixels = 1000, int deviceMm = 100);

    // A record of the given type whose body is the given 32-bit words.
    EmfBuilder& record(quint32 type, std::initializer_list<qint32> values);
    EmfBuilder& record(quint32 type, const QList<qint32>& values);
    // A record body given as raw bytes (padded to 4).
    EmfBuilder& rawRecord(quint32 type, const QByteArray& body);
    // Selects a solid brush of the colour (object 1) and no pen.
    EmfBuilder& solidBrush(Colour colour);
    // The finished file, with an EOF record and the header's totals.
    QByteArray bytes() const;

private:
    QByteArray data_;
    int records_ = 1;
};

// A 100 x 100 pixel picture: 10 mm at 10 pixels per millimetre.
EmfBuilder emf100();

// Small placeable Windows metafiles.
class WmfBuilder {
public:
    WmfBuilder(qint16 left, qint16 top, qint16 right, qint16 bottom, quint16 unitsPerInch, quint16 objects = 8);

    // A record of the given function whose parameters are 16-bit words.
    WmfBuilder& record(quint16 function, std::initializer_list<qint16> values);
    WmfBuilder& record(quint16 function, const QList<qint16>& values);
    QByteArray bytes() const;

private:
    QByteArray data_;
};

// EMR_STRETCHDIBITS body: a whole DIB onto a destination box.
QByteArray stretchDiBits(const QRect& to, int width, int height, const QByteArray& info, const QByteArray& bits,
                         quint32 rop = 0xCC0020);

// EMR_EXTCREATEFONTINDIRECTW words for object 2: a regular face, its lines
// at the escapement (tenths of a degree).
QList<qint32> font(const QString& face, qint32 height, int charSet = 0, qint32 escapement = 0);

// EMR_EXTTEXTOUTA or W body: count characters at a reference point, no
// clipping box, no spacing.
QByteArray textOut(QPoint reference, int count, const QByteArray& characters);

// BITMAPINFOHEADER with its colour table (0x00RRGGBB entries as stored).
QByteArray infoHeader(int width, int height, int bitCount, quint32 compression, const QList<quint32>& table);

// Little-endian values. Words may be given signed or unsigned.
void put16(QByteArray& out, quint16 value);
void put32(QByteArray& out, quint32 value);
QByteArray words(std::initializer_list<qint64> values);
QByteArray words(const QList<qint32>& values);
// The bytes with the word at the offset replaced.
QByteArray withWord(QByteArray bytes, int at, quint32 value);

} // namespace pelmora::test
