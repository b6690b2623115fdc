// SPDX-License-Identifier: GPL-2.0-or-later
#include "input_resolution.h"

// Qt
#include <QFile>

namespace pelmora::batch {

namespace {

// Enough of any of the three files to reach its resolution in the usual
// layouts: a PNG's pHYs comes before its pixels, a JPEG's JFIF first.
constexpr qint64 kHeadBytes = 4096;

quint32 littleEndian32(const QByteArray& bytes, qsizetype at) {
    const auto* b = reinterpret_cast<const uchar*>(bytes.constData() + at);
    return quint32(b[0]) | quint32(b[1]) << 8 | quint32(b[2]) << 16 | quint32(b[3]) << 24;
}

quint32 bigEndian32(const QByteArray& bytes, qsizetype at) {
    const auto* b = reinterpret_cast<const uchar*>(bytes.constData() + at);
    return quint32(b[0]) << 24 | quint32(b[1]) << 16 | quint32(b[2]) << 8 | quint32(b[3]);
}

quint16 bigEndian16(const QByteArray& bytes, qsizetype at) {
    const auto* b = reinterpret_cast<const uchar*>(bytes.constData() + at);
    return quint16(b[0] << 8 | b[1]);
}

std::optional<double> positive(double dotsPerMeter) {
    return dotsPerMeter > 0 ? std::optional(dotsPerMeter) : std::nullopt;
}

// BITMAPINFOHEADER and its successors; the old core header has no resolution.
std::optional<double> fromBmp(const QByteArray& head) {
    if (head.size() < 42 || littleEndian32(head, 14) < 40)
        return std::nullopt;
    return positive(double(qint32(littleEndian32(head, 38))));
}

std::optional<double> fromPng(const QByteArray& head) {
    for (qsizetype at = 8; at + 12 <= head.size();) {
        const quint32 length = bigEndian32(head, at);
        const QByteArray type = head.mid(at + 4, 4);
        if (type == "IDAT")
            break;
        if (type == "pHYs" && length == 9 && at + 17 <= head.size() && head[at + 16] == 1)
            return positive(double(bigEndian32(head, at + 8)));
        at += 12 + qsizetype(length);
    }
    return std::nullopt;
}

std::optional<double> fromJpeg(const QByteArray& head) {
    // SOI, then an APP0 segment named JFIF: units, x density, y density.
    if (head.size() < 18 || head.mid(2, 2) != "\xFF\xE0" || head.mid(6, 5) != QByteArray("JFIF", 5))
        return std::nullopt;
    const double density = bigEndian16(head, 14);
    switch (head[13]) {
    case 1: return positive(density / kMetresPerInch);
    case 2: return positive(density * 100);
    default: return std::nullopt;
    }
}

} // namespace

std::optional<double> recordedDotsPerMeter(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray head = file.read(kHeadBytes);
    if (head.startsWith("BM"))
        return fromBmp(head);
    if (head.startsWith("\x89PNG\r\n\x1A\n"))
        return fromPng(head);
    if (head.startsWith("\xFF\xD8"))
        return fromJpeg(head);
    return std::nullopt;
}

} // namespace pelmora::batch
