// SPDX-License-Identifier: GPL-2.0-or-later
#include "metafile_builders.h"

// Qt
#include <QTest>

namespace pelmora::test {

void expectBox(const Bitmap& picture, const QRect& box, Colour inside, Colour outside) {
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const Colour want = box.contains(x, y) ? inside : outside;
            if (picture.pixel(x, y) != want)
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) is %3, not %4").arg(x).arg(y)
                                     .arg(picture.pixel(x, y), 6, 16, QLatin1Char('0')).arg(want, 6, 16, QLatin1Char('0'))));
        }
}


void put16(QByteArray& out, quint16 value) {
    out.append(char(value & 0xFF));
    out.append(char(value >> 8));
}

void put32(QByteArray& out, quint32 value) {
    put16(out, quint16(value & 0xFFFF));
    put16(out, quint16(value >> 16));
}

QByteArray infoHeader(int width, int height, int bitCount, quint32 compression, const QList<quint32>& table) {
    QByteArray out;
    for (quint32 w : {40u, quint32(width), quint32(height)})
        put32(out, w);
    put16(out, 1);
    put16(out, quint16(bitCount));
    for (quint32 w : {compression, 0u, 0u, 0u, quint32(table.size()), 0u})
        put32(out, w);
    for (quint32 entry : table)
        put32(out, entry);
    return out;
}

namespace {

void set32(QByteArray& data, int at, quint32 value) {
    for (int i = 0; i < 4; ++i)
        data[at + i] = char(value >> (8 * i) & 0xFF);
}

} // namespace

EmfBuilder::EmfBuilder(int left, int top, int right, int bottom, int devicePixels, int deviceMm) {
    put32(data_, 1);            // EMR_HEADER
    put32(data_, 88);
    for (int v : {left, top, right, bottom})   // bounds (unused here)
        put32(data_, quint32(v));
    for (int v : {left, top, right, bottom})   // frame
        put32(data_, quint32(v));
    put32(data_, 0x464D4520);   // " EMF"
    put32(data_, 0x10000);
    put32(data_, 0);            // nBytes, set at the end
    put32(data_, 0);            // nRecords, set at the end
    put16(data_, 16);           // handles
    put16(data_, 0);
    put32(data_, 0);            // description
    put32(data_, 0);
    put32(data_, 0);            // palette entries
    put32(data_, quint32(devicePixels));
    put32(data_, quint32(devicePixels));
    put32(data_, quint32(deviceMm));
    put32(data_, quint32(deviceMm));
}

EmfBuilder& EmfBuilder::record(quint32 type, std::initializer_list<qint32> words) {
    return record(type, QList<qint32>(words));
}

EmfBuilder& EmfBuilder::record(quint32 type, const QList<qint32>& words) {
    QByteArray body;
    for (qint32 w : words)
        put32(body, quint32(w));
    return rawRecord(type, body);
}

EmfBuilder& EmfBuilder::rawRecord(quint32 type, const QByteArray& body) {
    QByteArray padded = body;
    while (padded.size() % 4 != 0)
        padded.append('\0');
    put32(data_, type);
    put32(data_, quint32(8 + padded.size()));
    data_.append(padded);
    ++records_;
    return *this;
}

QByteArray EmfBuilder::bytes() const {
    QByteArray out = data_;
    put32(out, 14);             // EMR_EOF
    put32(out, 20);
    put32(out, 0);
    put32(out, 16);
    put32(out, 20);
    set32(out, 48, quint32(out.size()));
    set32(out, 52, quint32(records_ + 1));
    return out;
}

WmfBuilder::WmfBuilder(qint16 left, qint16 top, qint16 right, qint16 bottom, quint16 unitsPerInch, quint16 objects) {
    put32(data_, 0x9AC6CDD7);
    put16(data_, 0);
    for (qint16 v : {left, top, right, bottom})
        put16(data_, quint16(v));
    put16(data_, unitsPerInch);
    put32(data_, 0);
    quint16 checksum = 0;
    for (int i = 0; i < 20; i += 2)
        checksum ^= quint16(quint8(data_[i]) | quint8(data_[i + 1]) << 8);
    put16(data_, checksum);
    put16(data_, 1);            // METAHEADER: memory metafile
    put16(data_, 9);
    put16(data_, 0x0300);
    put32(data_, 0);            // size in words, set at the end
    put16(data_, objects);
    put32(data_, 0);
    put16(data_, 0);
}

WmfBuilder& WmfBuilder::record(quint16 function, std::initializer_list<qint16> words) {
    return record(function, QList<qint16>(words));
}

WmfBuilder& WmfBuilder::record(quint16 function, const QList<qint16>& words) {
    put32(data_, quint32(3 + words.size()));
    put16(data_, function);
    for (qint16 w : words)
        put16(data_, quint16(w));
    return *this;
}

QByteArray WmfBuilder::bytes() const {
    QByteArray out = data_;
    put32(out, 3);
    put16(out, 0);
    const quint32 words = quint32(out.size() - 22) / 2;
    out[28] = char(words & 0xFF);
    out[29] = char(words >> 8 & 0xFF);
    out[30] = char(words >> 16 & 0xFF);
    out[31] = char(words >> 24 & 0xFF);
    return out;
}

} // namespace pelmora::test
