// SPDX-License-Identifier: GPL-2.0-or-later
#include "dib.h"

// Qt
#include <QBuffer>
#include <QImageReader>

// Std
#include <algorithm>
#include <bit>

namespace pelmora {

namespace {

constexpr quint32 biRgb = 0;
constexpr quint32 biBitfields = 3;
constexpr quint32 biJpeg = 4;
constexpr quint32 biPng = 5;

struct DibHeader {
    quint32 headerSize = 0;
    qint64 width = 0;
    qint64 height = 0;     // negative: top-down
    int bitCount = 0;
    quint32 compression = biRgb;
    quint32 coloursUsed = 0;
    int entrySize = 4;     // bytes per colour-table entry
    quint32 masks[3] = {0, 0, 0};
    std::size_t tableOffset = 0;
};

bool readHeader(ByteView info, DibHeader& h) {
    h.headerSize = info.u32(0);
    if (h.headerSize == 12 && info.has(0, 12)) {
        h.width = info.u16(4);
        h.height = info.u16(6);
        h.bitCount = info.u16(10);
        h.entrySize = 3;
        h.tableOffset = 12;
        return true;
    }
    if (h.headerSize < 40 || !info.has(0, h.headerSize))
        return false;
    h.width = info.i32(4);
    h.height = info.i32(8);
    h.bitCount = info.u16(14);
    h.compression = info.u32(16);
    h.coloursUsed = info.u32(32);
    h.tableOffset = h.headerSize;
    if (h.compression == biBitfields) {
        const std::size_t at = 40;
        if (!info.has(at, 12))
            return false;
        for (int i = 0; i < 3; ++i)
            h.masks[i] = info.u32(at + 4 * std::size_t(i));
        if (h.headerSize == 40)
            h.tableOffset += 12;
    }
    return true;
}

int tableEntries(const DibHeader& h) {
    if (h.bitCount <= 8)
        return h.coloursUsed == 0 ? 1 << h.bitCount : int(std::min<quint32>(h.coloursUsed, 1u << h.bitCount));
    return int(std::min<quint32>(h.coloursUsed, 256));
}

// Entries the colour table occupies in the file, which may exceed those used.
std::size_t tableBytes(const DibHeader& h, quint32 usage) {
    if (usage == 2)
        return 0;
    quint32 entries = h.coloursUsed;
    if (entries == 0 && h.bitCount <= 8)
        entries = 1u << h.bitCount;
    if (entries > 4096)
        return std::size_t(-1);
    return std::size_t(entries) * (usage == 1 ? 2 : std::size_t(h.entrySize));
}

bool readColourTable(ByteView info, const DibHeader& h, quint32 usage, const QList<QRgb>& palette,
                     QList<QRgb>& table) {
    if (usage == 2) {
        const int count = 1 << h.bitCount;
        table.resize(count);
        for (int i = 0; i < count; ++i) {
            const int level = i * 255 / (count - 1);
            table[i] = qRgb(level, level, level);
        }
        return true;
    }
    const bool paletteIndices = usage == 1;
    const int entries = tableEntries(h);
    const std::size_t entrySize = paletteIndices ? 2 : std::size_t(h.entrySize);
    if (!info.has(h.tableOffset, entrySize * std::size_t(entries)))
        return false;
    table.resize(h.bitCount <= 8 ? 1 << h.bitCount : 0);
    for (int i = 0; i < table.size(); ++i) {
        if (i >= entries) {
            table[i] = 0xFF000000u;
            continue;
        }
        const std::size_t at = h.tableOffset + entrySize * std::size_t(i);
        table[i] = paletteIndices ? resolveColorRef(0x01000000u | info.u16(at), palette)
                                  : qRgb(info.u8(at + 2), info.u8(at + 1), info.u8(at));
    }
    return true;
}

int maskChannel(quint32 pixel, quint32 mask) {
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const quint32 bits = mask >> shift;
    const quint32 width = std::bit_width(bits);
    const quint32 value = (pixel & mask) >> shift;
    const quint64 top = (quint64(1) << width) - 1;
    return int(quint64(value) * 255 / top);
}

void decodeRow(const uchar* row, int width, const DibHeader& h, bool alpha, uchar* out) {
    switch (h.bitCount) {
    case 1:
    case 4:
    case 8: {
        const int perByte = 8 / h.bitCount;
        const int mask = (1 << h.bitCount) - 1;
        for (int x = 0; x < width; ++x) {
            const int shift = (perByte - 1 - x % perByte) * h.bitCount;
            out[x] = uchar((row[x / perByte] >> shift) & mask);
        }
        return;
    }
    default:
        break;
    }
    auto* rgb = reinterpret_cast<QRgb*>(out);
    const bool fields = h.compression == biBitfields;
    for (int x = 0; x < width; ++x) {
        if (h.bitCount == 24) {
            const uchar* p = row + 3 * x;
            rgb[x] = qRgb(p[2], p[1], p[0]);
        } else if (h.bitCount == 16) {
            const quint32 v = quint32(row[2 * x]) | quint32(row[2 * x + 1]) << 8;
            rgb[x] = fields ? qRgb(maskChannel(v, h.masks[0]), maskChannel(v, h.masks[1]), maskChannel(v, h.masks[2]))
                            : qRgb(maskChannel(v, 0x7C00), maskChannel(v, 0x03E0), maskChannel(v, 0x001F));
        } else {
            const uchar* p = row + 4 * x;
            const quint32 v = quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
            if (alpha) {
                // Premultiplied as stored; a channel above its alpha is
                // not premultiplied and would overflow when blended.
                const uchar a = p[3];
                rgb[x] = qRgba(std::min(p[2], a), std::min(p[1], a), std::min(p[0], a), a);
            } else {
                rgb[x] = fields ? qRgb(maskChannel(v, h.masks[0]), maskChannel(v, h.masks[1]), maskChannel(v, h.masks[2]))
                                : qRgb(p[2], p[1], p[0]);
            }
        }
    }
}

QImage decodeEmbedded(ByteView bits, const char* format, WorkBudget& budget) {
    // The size is read before the pixels, so that a small stream cannot
    // unpack into a huge picture, or into many.
    QByteArray stream = QByteArray::fromRawData(bits.data(), qsizetype(bits.size()));
    QBuffer buffer(&stream);
    QImageReader reader(&buffer, format);
    const QSize size = reader.size();
    if (size.isEmpty() || size.width() > maxDibSide || size.height() > maxDibSide
        || !budget.spend(double(size.width()) * double(size.height()) * packedPixelCost))
        return QImage();
    const QImage image = reader.read();
    if (image.isNull() || image.width() > maxDibSide || image.height() > maxDibSide)
        return QImage();
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

QImage decodeDib(ByteView info, ByteView bits, quint32 usage, const QList<QRgb>& palette, WorkBudget& budget,
                 DibAlpha alpha) {
    DibHeader h;
    if (!readHeader(info, h))
        return QImage();
    if (h.compression == biJpeg || h.compression == biPng) {
        if (bits.size() == 0 || bits.size() > std::size_t(1) << 28)
            return QImage();
        return decodeEmbedded(bits, h.compression == biJpeg ? "JPEG" : "PNG", budget);
    }
    const bool known = h.bitCount == 1 || h.bitCount == 4 || h.bitCount == 8 || h.bitCount == 16
        || h.bitCount == 24 || h.bitCount == 32;
    const bool fieldsOk = h.compression == biBitfields && (h.bitCount == 16 || h.bitCount == 32);
    if (!known || (h.compression != biRgb && !fieldsOk))
        return QImage();
    const qint64 height = h.height < 0 ? -h.height : h.height;
    if (h.width <= 0 || height <= 0 || h.width > maxDibSide || height > maxDibSide
        || h.width * height > maxDibPixels)
        return QImage();
    const int width = int(h.width);
    const std::size_t stride = (std::size_t(width) * std::size_t(h.bitCount) + 31) / 32 * 4;
    if (!bits.has(0, stride * std::size_t(height)))
        return QImage();

    QList<QRgb> table;
    if (h.bitCount <= 8 && !readColourTable(info, h, usage, palette, table))
        return QImage();
    if (!budget.spend(double(width) * double(height) * rawPixelCost))
        return QImage();
    const bool keepAlpha = alpha == DibAlpha::Keep && h.bitCount == 32 && h.compression == biRgb;
    const QImage::Format format = h.bitCount <= 8 ? QImage::Format_Indexed8
                                : keepAlpha       ? QImage::Format_ARGB32_Premultiplied
                                                  : QImage::Format_RGB32;
    QImage image(width, int(height), format);
    if (image.isNull())
        return QImage();
    if (h.bitCount <= 8)
        image.setColorTable(table);
    const bool bottomUp = h.height > 0;
    for (int y = 0; y < int(height); ++y) {
        const int fileRow = bottomUp ? int(height) - 1 - y : y;
        const auto* row = reinterpret_cast<const uchar*>(bits.data()) + stride * std::size_t(fileRow);
        decodeRow(row, width, h, keepAlpha, image.scanLine(y));
    }
    return image;
}

QImage decodePackedDib(ByteView dib, quint32 usage, const QList<QRgb>& palette, WorkBudget& budget) {
    DibHeader h;
    if (!readHeader(dib, h))
        return QImage();
    const std::size_t table = tableBytes(h, usage);
    if (table == std::size_t(-1) || !dib.has(h.tableOffset, table))
        return QImage();
    const std::size_t bitsAt = h.tableOffset + table;
    return decodeDib(dib.sub(0, bitsAt), dib.sub(bitsAt, dib.size() - bitsAt), usage, palette, budget);
}

QList<QRgb> decodePaletteEntries(ByteView bytes, std::size_t at, quint32 count) {
    if (!bytes.has(at, std::size_t(count) * 4))
        return {};
    QList<QRgb> entries(count);
    for (quint32 i = 0; i < count; ++i) {
        const std::size_t e = at + 4 * std::size_t(i);
        entries[i] = qRgb(bytes.u8(e), bytes.u8(e + 1), bytes.u8(e + 2));
    }
    return entries;
}

} // namespace pelmora
