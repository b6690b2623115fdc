// SPDX-License-Identifier: GPL-2.0-or-later
#include "bmp_file.h"

// Local
#include "bmp_layout.h"
#include "bmp_rle.h"
#include "bmp_rows.h"
#include "bmp_true_colour.h"
#include "pelmora_error.h"
#include "large_bytes.h"
#include "le_bytes.h"
#include "picture_file_texts.h"
#include "reader_limits.h"
#include "swap_rows.h"

// Qt
#include <QImageReader>

// Std
#include <algorithm>
#include <cstring>
#include <vector>

namespace pelmora {

namespace {

[[noreturn]] void refuse() {
    throw PelmoraError(texts::invalidBitmap());
}

// The file up to end, for the pictures that keep their file's bytes. The
// kept copy states its own size, whatever the file said.
QByteArray fileStart(const ByteSource& source, std::int64_t end) {
    QByteArray bytes = largeByteArray(qsizetype(end));
    if (!source.readAt(0, bytes.data(), end))
        refuse();
    putLe32(bytes, 2, quint32(end));
    return bytes;
}

Bitmap readKept(const ByteSource& source, const BmpLayout& layout) {
    if (layout.runLength()) {
        limitImageReaders();
        if (layout.width * layout.height > qint64(QImageReader::allocationLimit()) << 20
            || !declaredSizeFitsData(layout.width, layout.height, source.size()))
            refuse();
        // No sound stream spends more than two bytes on a pixel and two on
        // the end of each row; whatever follows is not read.
        const std::int64_t most = 2 * (layout.width + 1) * layout.height + 2;
        const QByteArray bytes = fileStart(source, std::min(source.size(), layout.pixelOffset + most));
        const QImage image = decodeRunLengths(bytes, layout);
        if (image.isNull())
            refuse();
        Bitmap picture(image, layout.bitsPerPixel);
        picture.setKeptFileBytes(bytes);
        return picture;
    }
    const QByteArray bytes
        = fileStart(source, layout.pixelOffset + rowBytesOf(layout.width, layout.bitsPerPixel) * layout.height);
    // A changed 16-bit picture holds colours 16 bits cannot.
    Bitmap picture(decodeTrueColour(bytes, layout), layout.bitsPerPixel == 32 ? 32 : 24);
    picture.setKeptFileBytes(bytes);
    return picture;
}

QList<QRgb> readPalette(const ByteSource& source, const BmpLayout& layout) {
    const int entrySize = layout.headerSize == 12 ? 3 : 4;
    std::vector<std::uint8_t> bytes(size_t(layout.paletteEntries * entrySize));
    if (!source.readAt(layout.paletteAt, bytes.data(), std::int64_t(bytes.size())))
        refuse();
    QList<QRgb> palette(layout.paletteEntries);
    for (qsizetype i = 0; i < palette.size(); ++i) {
        const std::uint8_t* entry = bytes.data() + i * entrySize;
        palette[i] = qRgb(entry[2], entry[1], entry[0]);
    }
    return palette;
}

// Reads the rows in file order, a piece at a time, and hands each to decode
// with the picture row it belongs to.
template <typename Decode>
void readRows(const ByteSource& source, const BmpLayout& layout, QImage& image, Decode decode) {
    const int height = int(layout.height);
    const std::int64_t rowBytes = rowBytesOf(layout.width, layout.bitsPerPixel);
    const int rowsPerPiece = int(std::clamp<std::int64_t>(kBmpPieceBytes / rowBytes, 1, height));
    std::vector<std::uint8_t> piece(size_t(rowBytes * rowsPerPiece));
    uchar* bits = image.bits();
    const qsizetype bytesPerLine = image.bytesPerLine();
    for (int first = 0; first < height; first += rowsPerPiece) {
        const int rows = std::min(rowsPerPiece, height - first);
        if (!source.readAt(layout.pixelOffset + rowBytes * first, piece.data(), rowBytes * rows))
            refuse();
        for (int i = 0; i < rows; ++i) {
            const int y = layout.topDown ? first + i : height - 1 - first - i;
            decode(piece.data() + rowBytes * i, bits + bytesPerLine * y);
        }
    }
}

// Indices beyond the palette are black, as other readers draw them.
void coverIndices(QImage& image, QList<QRgb> palette) {
    uchar most = 0;
    if (image.depth() == 1) {
        most = 1;
    } else {
        for (int y = 0; y < image.height(); ++y) {
            const uchar* row = image.constScanLine(y);
            most = std::max(most, *std::max_element(row, row + image.width()));
        }
    }
    while (palette.size() <= most)
        palette.append(qRgb(0, 0, 0));
    image.setColorTable(palette);
}

Bitmap readUncompressed(const ByteSource& source, const BmpLayout& layout) {
    const int width = int(layout.width);
    const int height = int(layout.height);
    const int bits = layout.bitsPerPixel;
    if (bits == 24) {
        QImage image = allocateImage(width, height, QImage::Format_RGB32);
        readRows(source, layout, image, [&](const std::uint8_t* in, uchar* out) {
            expandBgrRow(in, reinterpret_cast<QRgb*>(out), width);
        });
        return Bitmap(image, 24);
    }
    QImage image = allocateImage(width, height, bits == 1 ? QImage::Format_Mono : QImage::Format_Indexed8);
    if (bits == 4) {
        readRows(source, layout, image, [&](const std::uint8_t* in, uchar* out) {
            for (int x = 0; x < width; ++x)
                out[x] = x % 2 == 0 ? in[x / 2] >> 4 : in[x / 2] & 15;
        });
    } else {
        // 1 and 8-bit rows are laid out as a QImage lays them out.
        const size_t used = size_t(rowBytesOf(width, bits));
        readRows(source, layout, image, [&](const std::uint8_t* in, uchar* out) { std::memcpy(out, in, used); });
    }
    coverIndices(image, readPalette(source, layout));
    return Bitmap(image, bits);
}

// Bits per pixel in the file for the picture: its own, unless its palette
// has outgrown 4 bits.
int fileBits(const Bitmap& picture) {
    const QImage& image = picture.image();
    switch (image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return 1;
    case QImage::Format_Indexed8:
        return picture.bitsPerPixel() == 4 && image.colorCount() <= 16 ? 4 : 8;
    default:
        return picture.bitsPerPixel() == 32 ? 32 : 24;
    }
}

void writeRow(const QImage& image, int y, int bits, std::uint8_t* out) {
    const uchar* in = image.constScanLine(y);
    const int width = image.width();
    switch (bits) {
    case 1:
        std::memcpy(out, in, size_t(width + 7) / 8);
        break;
    case 4:
        for (int x = 0; x < width; x += 2) {
            const uchar high = in[x];
            const uchar low = x + 1 < width ? in[x + 1] : 0;
            out[x / 2] = std::uint8_t(high << 4 | (low & 15));
        }
        break;
    case 8:
        std::memcpy(out, in, size_t(width));
        break;
    case 24:
        if (image.format() == QImage::Format_RGB888)
            copySwappingRedBlue(in, out, width);
        else
            narrowToBgrRow(reinterpret_cast<const QRgb*>(in), out, width);
        break;
    default: {
        const auto* pixels = reinterpret_cast<const quint32*>(in);
        for (int x = 0; x < width; ++x) {
            const quint32 v = pixels[x] & 0x00FFFFFFu;   // the fourth byte is reserved
            std::memcpy(out + 4 * x, &v, 4);
        }
        break;
    }
    }
}

} // namespace

std::int64_t rowBytesOf(std::int64_t width, int bits) {
    return (width * bits + 31) / 32 * 4;
}

BmpLayout readBmpLayout(const ByteSource& source) {
    QByteArray head(qsizetype(std::min(source.size(), kBmpHeadBytes)), Qt::Uninitialized);
    if (!source.readAt(0, head.data(), head.size()))
        refuse();
    const std::optional<BmpLayout> layout = checkedBmpLayout(head, source.size());
    if (!layout)
        refuse();
    return *layout;
}

Bitmap readBmp(const ByteSource& source) {
    if (source.size() == 0)
        return Bitmap();
    const BmpLayout layout = readBmpLayout(source);
    if (layout.runLength() || layout.bitsPerPixel == 16 || layout.bitsPerPixel == 32)
        return readKept(source, layout);
    return readUncompressed(source, layout);
}

Bitmap decodeBmp(const QByteArray& bytes) {
    return readBmp(MemorySource(bytes));
}

QByteArray bmpHeaders(int width, int height, int bits, const QList<QRgb>& palette) {
    const qint64 rowBytes = rowBytesOf(width, bits);
    const qint64 offset = 14 + 40 + qint64(palette.size()) * 4;
    const qint64 total = offset + rowBytes * height;
    if (total > 0xFFFFFFFFLL)
        throw PelmoraError(outOfMemoryText());
    QByteArray header(offset, '\0');
    header[0] = 'B';
    header[1] = 'M';
    putLe32(header, 2, quint32(total));
    putLe32(header, 10, quint32(offset));
    putLe32(header, 14, 40);
    putLe32(header, 18, quint32(width));
    putLe32(header, 22, quint32(height));
    putLe16(header, 26, 1);
    putLe16(header, 28, quint32(bits));
    putLe32(header, 34, quint32(rowBytes * height));
    putLe32(header, 38, 3780);   // 96 dots per inch
    putLe32(header, 42, 3780);
    putLe32(header, 46, quint32(palette.size()));
    for (qsizetype i = 0; i < palette.size(); ++i)
        putLe32(header, 54 + 4 * i, palette[i] & 0x00FFFFFFu);
    return header;
}

void writeBmp(const Bitmap& picture, const ByteSink& sink) {
    if (!picture.keptFileBytes().isEmpty()) {
        sink(picture.keptFileBytes().constData(), picture.keptFileBytes().size());
        return;
    }
    if (picture.isEmpty())
        return;
    QImage image = picture.image();
    if (image.format() == QImage::Format_MonoLSB)
        image = image.convertToFormat(QImage::Format_Mono);
    const int bits = fileBits(picture);
    const int width = picture.width();
    const int height = picture.height();
    const QByteArray header = bmpHeaders(width, height, bits, bits <= 8 ? image.colorTable() : QList<QRgb>());
    sink(header.constData(), header.size());

    // Rows bottom-up; the padding after each row's pixels stays zero.
    const qint64 rowBytes = rowBytesOf(width, bits);
    const int rowsPerPiece = int(std::clamp<std::int64_t>(kBmpPieceBytes / rowBytes, 1, height));
    std::vector<std::uint8_t> piece(size_t(rowBytes * rowsPerPiece));
    for (int first = 0; first < height; first += rowsPerPiece) {
        const int rows = std::min(rowsPerPiece, height - first);
        for (int i = 0; i < rows; ++i)
            writeRow(image, height - 1 - first - i, bits, piece.data() + rowBytes * i);
        sink(reinterpret_cast<const char*>(piece.data()), rowBytes * rows);
    }
}

QByteArray encodeBmp(const Bitmap& picture) {
    QByteArray out;
    writeBmp(picture, [&](const char* data, qsizetype size) { out.append(data, size); });
    return out;
}

} // namespace pelmora
