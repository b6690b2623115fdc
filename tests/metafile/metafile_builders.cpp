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

QByteArray words(std::initializer_list<qint64> values) {
    QByteArray out;
    for (qint64 v : values)
        put32(out, quint32(v));
    return out;
}

QByteArray words(const QList<qint32>& values) {
    QByteArray out;
    for (qint32 v : values)
        put32(out, quint32(v));
    return out;
}

QByteArray withWord(QByteArray bytes, int at, quint32 value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char(value >> (8 * i) & 0xFF);
    return bytes;
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

QByteArray stretchDiBits(const QRect& to, int width, int height, const QByteArray& info, const QByteArray& bits,
                         quint32 rop) {
    return words({0, 0, 0, 0, to.x(), to.y(), 0, 0, width, height, 80, info.size(), 80 + info.size(), bits.size(), 0,
                  rop, to.width(), to.height()})
        + info + bits;
}

QList<qint32> font(const QString& face, qint32 height, int charSet, qint32 escapement) {
    QList<qint32> record{2, height, 0, escapement, escapement, 400, charSet << 24, 0};
    for (int i = 0; i < 16; ++i) {
        const ushort lo = i * 2 < face.size() ? face.at(i * 2).unicode() : 0;
        const ushort hi = i * 2 + 1 < face.size() ? face.at(i * 2 + 1).unicode() : 0;
        record.append(qint32(lo | hi << 16));
    }
    return record;
}

QByteArray textOut(QPoint reference, int count, const QByteArray& characters) {
    return words({0, 0, 0, 0, 1, 0, 0, reference.x(), reference.y(), count, 76, 0, 0, 0, -1, -1, 0}) + characters;
}

// EMR_HEADER: bounds as the frame, " EMF", the version, the size and record
// count (set by bytes()), 16 handles, no description or palette, the device.
EmfBuilder::EmfBuilder(int left, int top, int right, int bottom, int devicePixels, int deviceMm)
    : data_(words({1, 88, left, top, right, bottom, left, top, right, bottom, 0x464D4520, 0x10000, 0, 0, 16, 0, 0, 0,
                   devicePixels, devicePixels, deviceMm, deviceMm})) {}

EmfBuilder& EmfBuilder::record(quint32 type, std::initializer_list<qint32> values) {
    return record(type, QList<qint32>(values));
}

EmfBuilder& EmfBuilder::record(quint32 type, const QList<qint32>& values) {
    return rawRecord(type, words(values));
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

EmfBuilder& EmfBuilder::solidBrush(Colour colour) {
    return record(emrCreateBrush, {1, 0, qint32(colour), 0})
        .record(emrSelectObject, {1})
        .record(emrSelectObject, {nullPen});
}

QByteArray EmfBuilder::bytes() const {
    const QByteArray out = data_ + words({14, 20, 0, 16, 20});   // EMR_EOF
    return withWord(withWord(out, 48, quint32(out.size())), 52, quint32(records_ + 1));
}

EmfBuilder emf100() {
    return EmfBuilder(0, 0, 1000, 1000);
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

WmfBuilder& WmfBuilder::record(quint16 function, std::initializer_list<qint16> values) {
    return record(function, QList<qint16>(values));
}

WmfBuilder& WmfBuilder::record(quint16 function, const QList<qint16>& values) {
    put32(data_, quint32(3 + values.size()));
    put16(data_, function);
    for (qint16 w : values)
        put16(data_, quint16(w));
    return *this;
}

QByteArray WmfBuilder::bytes() const {
    QByteArray out = data_;
    put32(out, 3);
    put16(out, 0);
    return withWord(out, 28, quint32(out.size() - 22) / 2);
}

} // namespace pelmora::test
