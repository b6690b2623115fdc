// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Local
#include "bitmap.h"

// Qt
#include <QByteArray>
#include <QList>
#include <QRect>
#include <QString>

// Std
#include <initializer_list>

namespace pelmora::test {

// Fails the calling test unless every pixel inside the box is one colour and
// every pixel outside it the other.
void expectBox(const Bitmap& picture, const QRect& box, Colour inside, Colour outside = 0xFFFFFF);

// Small enhanced metafiles written record by record, little-endian.
class EmfBuilder {
public:
    // Frame in hundredths of a millimetre; the recording device's size in
    // pixels and in millimetres.
    EmfBuilder(int left, int top, int right, int bottom, int devicePixels = 1000, int deviceMm = 100);

    // A record of the given type whose body is the given 32-bit words.
    EmfBuilder& record(quint32 type, std::initializer_list<qint32> words);
    EmfBuilder& record(quint32 type, const QList<qint32>& words);
    // A record body given as raw bytes (padded to 4).
    EmfBuilder& rawRecord(quint32 type, const QByteArray& body);
    // The finished file, with an EOF record and the header's totals.
    QByteArray bytes() const;

private:
    QByteArray data_;
    int records_ = 1;
};

// Small placeable Windows metafiles.
class WmfBuilder {
public:
    WmfBuilder(qint16 left, qint16 top, qint16 right, qint16 bottom, quint16 unitsPerInch, quint16 objects = 8);

    // A record of the given function whose parameters are 16-bit words.
    WmfBuilder& record(quint16 function, std::initializer_list<qint16> words);
    WmfBuilder& record(quint16 function, const QList<qint16>& words);
    QByteArray bytes() const;

private:
    QByteArray data_;
};

// BITMAPINFOHEADER with its colour table (0x00RRGGBB entries as stored).
QByteArray infoHeader(int width, int height, int bitCount, quint32 compression, const QList<quint32>& table);

// Appends little-endian values.
void put16(QByteArray& out, quint16 value);
void put32(QByteArray& out, quint32 value);

} // namespace pelmora::test
