// SPDX-License-Identifier: GPL-2.0-or-later
#include "icon_file.h"

// Qt
#include <QBuffer>
#include <QHash>
#include <QImageReader>

// Local
#include "pelmora_error.h"
#include "le_bytes.h"
#include "picture_file_texts.h"
#include "reader_limits.h"

// Std
#include <cstdlib>
#include <limits>

namespace pelmora {

namespace {

// No real icon holds more images than this; a larger count is a damaged
// directory that would only make the reader decode the same bytes again.
constexpr int kMostImages = 256;

constexpr int kIconSide = 32;

// A full directory of 256 x 256 images is a sixth of this; past it an icon
// would only be making its reader decode large images again and again.
constexpr qint64 kMostIconPixels = qint64(1) << 26;

// Bits per pixel of directory entry i as its image data says (the
// directory's own field is often 0); an embedded PNG counts as 32.
int entryBits(const QByteArray& bytes, int i) {
    const LeReader r(bytes);
    const std::int64_t entry = 6 + 16 * std::int64_t(i);
    if (entry + 16 > r.size())
        return 0;
    const std::int64_t at = r.u32(entry + 12);
    if (at + 16 <= r.size() && bytes.mid(qsizetype(at), 4) == QByteArrayLiteral("\x89PNG"))
        return 32;
    if (at + 16 <= r.size() && r.u16(at + 14) > 0 && r.u16(at + 14) <= 32)
        return int(r.u16(at + 14));
    return int(std::min<std::uint32_t>(r.u16(entry + 6), 32));
}

int nearestStandardColour(QRgb rgb) {
    const QList<QRgb>& table = standardSixteenColours();
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (int i = 0; i < table.size(); ++i) {
        const int dr = qRed(rgb) - qRed(table[i]);
        const int dg = qGreen(rgb) - qGreen(table[i]);
        const int db = qBlue(rgb) - qBlue(table[i]);
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace

const QList<QRgb>& standardSixteenColours() {
    static const QList<QRgb> table = {
        qRgb(0x00, 0x00, 0x00), qRgb(0x80, 0x00, 0x00), qRgb(0x00, 0x80, 0x00), qRgb(0x80, 0x80, 0x00),
        qRgb(0x00, 0x00, 0x80), qRgb(0x80, 0x00, 0x80), qRgb(0x00, 0x80, 0x80), qRgb(0xC0, 0xC0, 0xC0),
        qRgb(0x80, 0x80, 0x80), qRgb(0xFF, 0x00, 0x00), qRgb(0x00, 0xFF, 0x00), qRgb(0xFF, 0xFF, 0x00),
        qRgb(0x00, 0x00, 0xFF), qRgb(0xFF, 0x00, 0xFF), qRgb(0x00, 0xFF, 0xFF), qRgb(0xFF, 0xFF, 0xFF),
    };
    return table;
}

Bitmap decodeIcon(const QByteArray& bytes, WorkBudget& pixels, IconPick pick) {
    limitImageReaders();
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");

    // Qt reads an entry from its offset with the sizes its directory entry
    // gives, so entries of the same 16 bytes are the same image.
    QHash<QByteArray, QImage> decoded;
    QImage chosen;
    int chosenBits = 0;
    const int count = std::min(reader.imageCount(), kMostImages);
    for (int i = 0; i < count; ++i) {
        const QByteArray entry = bytes.mid(6 + 16 * qsizetype(i), 16);
        auto known = decoded.constFind(entry);
        if (known == decoded.constEnd()) {
            QImage image;
            if (reader.jumpToImage(i) && !reader.read(&image))
                image = QImage();
            if (!pixels.charge(qint64(image.width()) * image.height()))
                break;
            known = decoded.insert(entry, image);
        }
        const QImage& candidate = *known;
        if (candidate.isNull())
            continue;
        // Smaller is better.
        const auto distance = [pick](const QImage& image) {
            if (pick == IconPick::Largest)
                return -qint64(image.width()) * image.height();
            return qint64(std::abs(image.width() - kIconSide) + std::abs(image.height() - kIconSide));
        };
        const int bits = entryBits(bytes, i);
        if (chosen.isNull() || distance(candidate) < distance(chosen)
            || (distance(candidate) == distance(chosen) && bits > chosenBits)) {
            chosen = candidate;
            chosenBits = bits;
        }
    }
    if (chosen.isNull())
        throw PelmoraError(texts::invalidIcon());

    return Bitmap::drawnOnWhite(chosen);
}

Bitmap decodeIcon(const QByteArray& bytes, IconPick pick) {
    WorkBudget pixels(kMostIconPixels);
    return decodeIcon(bytes, pixels, pick);
}

Bitmap decodeIcon(const QByteArray& bytes) {
    return decodeIcon(bytes, IconPick::NearestIconSize);
}

QByteArray encodeIcon(const Bitmap& picture) {
    constexpr int xorRowBytes = kIconSide / 2;
    constexpr int andRowBytes = kIconSide / 8;
    constexpr int infoSize = 40;
    constexpr int paletteSize = 16 * 4;
    constexpr int xorSize = xorRowBytes * kIconSide;
    constexpr int andSize = andRowBytes * kIconSide;
    constexpr int imageSize = infoSize + paletteSize + xorSize + andSize;
    constexpr int imageOffset = 6 + 16;

    QByteArray out(imageOffset + imageSize, '\0');
    putLe16(out, 2, 1);                 // an icon, not a cursor
    putLe16(out, 4, 1);                 // one image
    out[6] = char(kIconSide);
    out[7] = char(kIconSide);
    out[8] = char(16);                // colours
    putLe16(out, 10, 1);                // planes
    putLe16(out, 12, 4);                // bits per pixel
    putLe32(out, 14, imageSize);
    putLe32(out, 18, imageOffset);

    const int info = imageOffset;
    putLe32(out, info, infoSize);
    putLe32(out, info + 4, kIconSide);
    putLe32(out, info + 8, 2 * kIconSide);   // colour image and mask together
    putLe16(out, info + 12, 1);
    putLe16(out, info + 14, 4);
    putLe32(out, info + 20, xorSize + andSize);
    const QList<QRgb>& table = standardSixteenColours();
    for (int i = 0; i < 16; ++i)
        putLe32(out, info + infoSize + 4 * i, table[i] & 0x00FFFFFFu);

    const int xorAt = info + infoSize + paletteSize;
    const int andAt = xorAt + xorSize;
    const Colour background = picture.pixel(0, 0);
    for (int y = 0; y < kIconSide; ++y) {
        const int row = kIconSide - 1 - y;   // rows run bottom-up
        for (int x = 0; x < kIconSide; ++x) {
            const Colour colour = picture.pixel(x, y);
            const bool transparent = colour == background;
            const int index = transparent ? 0 : nearestStandardColour(rgbFromColour(colour));
            char& pair = out[xorAt + row * xorRowBytes + x / 2];
            pair = char(uchar(pair) | (x % 2 == 0 ? index << 4 : index));
            if (transparent) {
                char& bits = out[andAt + row * andRowBytes + x / 8];
                bits = char(uchar(bits) | (0x80 >> (x % 8)));
            }
        }
    }
    return out;
}

} // namespace pelmora
