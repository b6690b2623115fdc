#include "bmp_file.h"

// Qt
#include <QBuffer>
#include <QImageReader>

// Local
#include "bmp_check.h"
#include "bmp_rle.h"
#include "bmp_true_colour.h"
#include "imageops/pelmora_error.h"
#include "large_bytes.h"
#include "le_bytes.h"
#include "picture_file_texts.h"
#include "reader_limits.h"
#include "swap_rows.h"

// Std
#include <algorithm>
#include <cstring>

namespace pelmora {

namespace {

[[noreturn]] void refuse() {
    throw PelmoraError(texts::invalidBitmap());
}

// Qt reads indices past the palette as they stand; such a file is damaged.
// Qt gives palette files as 8-bit or 1-bit pictures.
bool indicesInPalette(const QImage& image) {
    const int colours = image.colorCount();
    if (image.format() == QImage::Format_Indexed8) {
        for (int y = 0; y < image.height(); ++y) {
            const uchar* line = image.constScanLine(y);
            if (std::any_of(line, line + image.width(), [&](uchar i) { return i >= colours; }))
                return false;
        }
        return true;
    }
    if (colours >= 2)
        return true;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelIndex(x, y) >= colours)
                return false;
    return true;
}

// Qt reads only the 12, 40, 64, 108 and 124-byte headers. The others that
// say nothing more than the 40-byte one for the files Qt is given (short
// OS/2 headers, the 52 and 56-byte ones) are rewritten to it.
QByteArray withCommonHeader(const QByteArray& bytes, const BmpLayout& layout) {
    const std::int64_t size = layout.headerSize;
    if (size == 12 || size == 40 || size == 64 || size == 108 || size == 124)
        return bytes;
    QByteArray out(14 + 40, '\0');
    std::copy_n(bytes.constData(), 14 + std::min<std::int64_t>(size, 40), out.data());
    putLe32(out, 14, 40);
    out.append(bytes.constData() + 14 + size, bytes.size() - 14 - size);
    putLe32(out, 10, quint32(layout.pixelOffset + 40 - size));
    return out;
}

// Bits per pixel in the file for a picture held in this format.
int fileBits(const QImage& image) {
    switch (image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return 1;
    case QImage::Format_Indexed8:
        return image.colorCount() <= 16 ? 4 : 8;
    case QImage::Format_RGB888:
        return 24;
    default:
        return 32;
    }
}

void writeRow(const QImage& image, int y, int bits, char* out) {
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
            out[x / 2] = char(high << 4 | (low & 15));
        }
        break;
    case 8:
        std::memcpy(out, in, size_t(width));
        break;
    case 24:
        copySwappingRedBlue(in, reinterpret_cast<uchar*>(out), width);
        break;
    default: {
        const auto* pixels = reinterpret_cast<const quint32*>(in);
        auto* target = reinterpret_cast<uchar*>(out);
        for (int x = 0; x < width; ++x) {
            const quint32 v = pixels[x] & 0x00FFFFFFu;   // the fourth byte is reserved
            std::memcpy(target + 4 * x, &v, 4);
        }
        break;
    }
    }
}

} // namespace

Bitmap decodeBmp(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return Bitmap();
    const std::optional<BmpLayout> layout = checkedBmpLayout(bytes);
    if (!layout)
        refuse();

    limitImageReaders();
    if (layout->runLength()) {
        if (layout->width * layout->height > qint64(QImageReader::allocationLimit()) << 20
            || !declaredSizeFitsData(layout->width, layout->height, bytes.size()))
            refuse();
        const QImage image = decodeRunLengths(bytes, *layout);
        if (image.isNull())
            refuse();
        Bitmap picture(image);
        picture.setCompressedFileBytes(bytes);
        return picture;
    }

    if (layout->trueColour())
        return Bitmap(decodeTrueColour(bytes, *layout));

    // Palette files: Qt's reader.
    QBuffer buffer;
    buffer.setData(withCommonHeader(bytes, *layout));
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    QImage image;
    if (!reader.read(&image) || image.isNull())
        refuse();
    if (image.width() != layout->width || image.height() != layout->height)
        refuse();
    if (!indicesInPalette(image))
        refuse();
    return Bitmap(image);
}

QByteArray encodeBmp(const Bitmap& picture) {
    if (!picture.compressedFileBytes().isEmpty())
        return picture.compressedFileBytes();
    QImage image = picture.image();
    if (image.format() == QImage::Format_MonoLSB)
        image = image.convertToFormat(QImage::Format_Mono);
    const int bits = image.isNull() ? 32 : fileBits(image);
    const int width = picture.width();
    const int height = picture.height();
    const qint64 paletteSize = bits <= 8 ? qint64(image.colorCount()) * 4 : 0;
    const qint64 rowBytes = (qint64(width) * bits + 31) / 32 * 4;
    const qint64 offset = 14 + 40 + paletteSize;
    const qint64 total = offset + rowBytes * height;
    if (total > 0xFFFFFFFFLL)
        throw PelmoraError(outOfMemoryText());

    QByteArray out = largeByteArray(qsizetype(total));
    std::memset(out.data(), 0, size_t(offset));
    out[0] = 'B';
    out[1] = 'M';
    putLe32(out, 2, quint32(total));
    putLe32(out, 10, quint32(offset));
    putLe32(out, 14, 40);
    putLe32(out, 18, quint32(width));
    putLe32(out, 22, quint32(height));
    putLe16(out, 26, 1);
    putLe16(out, 28, quint32(bits));
    putLe32(out, 34, quint32(rowBytes * height));
    putLe32(out, 38, 3780);   // 96 dots per inch
    putLe32(out, 42, 3780);
    if (bits <= 8) {
        const QList<QRgb> table = image.colorTable();
        putLe32(out, 46, quint32(table.size()));
        for (qsizetype i = 0; i < table.size(); ++i)
            putLe32(out, 54 + 4 * i, table[i] & 0x00FFFFFFu);
    }
    const qint64 usedBytes = (qint64(width) * bits + 7) / 8;
    for (int y = 0; y < height; ++y) {
        char* row = out.data() + offset + qint64(height - 1 - y) * rowBytes;
        writeRow(image, y, bits, row);
        std::memset(row + usedBytes, 0, size_t(rowBytes - usedBytes));
    }
    return out;
}

} // namespace pelmora
