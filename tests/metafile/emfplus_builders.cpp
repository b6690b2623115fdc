// SPDX-License-Identifier: GPL-2.0-or-later
#include "emfplus_builders.h"

// Local
#include "metafile_builders.h"

// Std
#include <bit>

namespace pelmora::test {

EmfPlusRecords::EmfPlusRecords(bool dual) {
    // Version, the screen flag, then the resolution.
    record(0x0001, dual ? 1 : 0, words({0xDBC01002, 1, 254, 254}));
}

EmfPlusRecords& EmfPlusRecords::record(quint16 type, quint16 flags, const QByteArray& data) {
    QByteArray padded = data;
    while (padded.size() % 4 != 0)
        padded.append('\0');
    put16(records_, quint16(type | 0x4000));
    put16(records_, flags);
    put32(records_, quint32(12 + padded.size()));
    put32(records_, quint32(padded.size()));
    records_.append(padded);
    return *this;
}

QByteArray EmfPlusRecords::comment() const {
    QByteArray body;
    put32(body, quint32(4 + records_.size()));
    put32(body, 0x2B464D45);
    return body + records_;
}

QByteArray floats(std::initializer_list<float> values) {
    QByteArray out;
    for (float v : values)
        put32(out, std::bit_cast<quint32>(v));
    return out;
}

QByteArray utf16(const QString& text) {
    QByteArray out;
    for (QChar c : text)
        put16(out, c.unicode());
    return out;
}

} // namespace pelmora::test
