// SPDX-License-Identifier: GPL-2.0-or-later
#include "png_output.h"

// Qt
#include <QCoreApplication>

// Local
#include "atomic_file.h"
#include "pelmora_error.h"

// Std
#include <algorithm>
#include <array>
#include <cmath>
#include <csetjmp>
#include <exception>
#include <png.h>
#include <vector>
#include <zlib.h>

namespace pelmora::batch {

namespace {

constexpr int kMostPaletteEntries = 256;

bool isGrey(QRgb c) {
    return qRed(c) == qGreen(c) && qGreen(c) == qBlue(c);
}

// The distinct colours of a picture while there are few of them: an open
// addressed table, twice the largest palette.
class ColourSet {
public:
    // Adds the colour; false once there are more than a palette holds.
    bool add(QRgb colour) {
        size_t slot = hash(colour);
        while (used_[slot]) {
            if (table_[slot] == colour)
                return true;
            slot = (slot + 1) % kSlots;
        }
        if (int(colours_.size()) == kMostPaletteEntries)
            return false;
        used_[slot] = true;
        table_[slot] = colour;
        slot_.push_back(slot);
        colours_.push_back(colour);
        return true;
    }

    // The colour's place in colours(); it must have been added.
    int indexOf(QRgb colour) const {
        size_t slot = hash(colour);
        while (table_[slot] != colour)
            slot = (slot + 1) % kSlots;
        return index_[slot];
    }

    // Puts the colours with transparency first, so the tRNS chunk lists only them.
    void order() {
        std::vector<size_t> order(colours_.size());
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::stable_partition(order.begin(), order.end(), [&](size_t i) { return qAlpha(colours_[i]) < 255; });
        std::vector<QRgb> colours;
        for (size_t i : order) {
            index_[slot_[i]] = int(colours.size());
            colours.push_back(colours_[i]);
        }
        colours_ = std::move(colours);
    }

    const std::vector<QRgb>& colours() const { return colours_; }

private:
    static constexpr size_t kSlots = 2 * kMostPaletteEntries;
    static size_t hash(QRgb c) { return (c * 2654435761u) >> 23; }

    std::array<QRgb, kSlots> table_{};
    std::array<bool, kSlots> used_{};
    std::array<int, kSlots> index_{};
    std::vector<size_t> slot_;
    std::vector<QRgb> colours_;
};

struct Census {
    ColourSet colours;
    bool few = true;   // colours holds them all
    bool grey = true;
    bool opaque = true;
};

Census census(const RowPicture& picture, std::vector<QRgb>& row) {
    Census found;
    QRgb last = 0;
    bool any = false;
    for (int y = 0; y < picture.height; ++y) {
        picture.rows(y, row.data());
        for (const QRgb c : row) {
            if (any && c == last)
                continue;
            any = true;
            last = c;
            found.grey = found.grey && isGrey(c);
            found.opaque = found.opaque && qAlpha(c) == 255;
            if (found.few)
                found.few = found.colours.add(c);
        }
        // Many colours, some not grey, some not opaque: nothing left to learn.
        if (!found.few && !found.grey && !found.opaque)
            break;
    }
    return found;
}

int bitsForCount(int count) {
    return count <= 2 ? 1 : count <= 4 ? 2 : count <= 16 ? 4 : 8;
}

// The fewest bits per grey pixel whose levels hold every grey of the set.
int bitsForGreys(const std::vector<QRgb>& colours) {
    for (const int bits : {1, 2, 4}) {
        const int step = 255 / ((1 << bits) - 1);
        if (std::all_of(colours.begin(), colours.end(), [&](QRgb c) { return qRed(c) % step == 0; }))
            return bits;
    }
    return 8;
}

enum class Layout { Palette, Grey, GreyAlpha, Rgb, Rgba };

struct Plan {
    Layout layout;
    int bits;
};

Plan planFor(Census& found) {
    if (found.few) {
        const int paletteBits = bitsForCount(int(found.colours.colours().size()));
        if (found.grey && found.opaque) {
            const int greyBits = bitsForGreys(found.colours.colours());
            if (greyBits <= paletteBits)
                return {Layout::Grey, greyBits};
        }
        found.colours.order();
        return {Layout::Palette, paletteBits};
    }
    if (found.grey)
        return {found.opaque ? Layout::Grey : Layout::GreyAlpha, 8};
    return {found.opaque ? Layout::Rgb : Layout::Rgba, 8};
}

// Packs row pixels of `bits` each, leftmost in the highest bits.
void packRow(const std::vector<QRgb>& row, int bits, const auto& value, uchar* out) {
    const int perByte = 8 / bits;
    const size_t bytes = (row.size() + size_t(perByte) - 1) / size_t(perByte);
    std::fill_n(out, bytes, 0);
    for (size_t x = 0; x < row.size(); ++x)
        out[x / perByte] |= uchar(value(row[x]) << (8 - bits - int(x % perByte) * bits));
}

struct Writing {
    const std::function<void(const char*, qsizetype)>* sink;
    std::exception_ptr failure;
    QString message;
};

void written(png_structp png, png_bytep data, size_t size) {
    auto* writing = static_cast<Writing*>(png_get_io_ptr(png));
    bool failed = false;
    try {
        (*writing->sink)(reinterpret_cast<const char*>(data), qsizetype(size));
    } catch (...) {
        writing->failure = std::current_exception();
        failed = true;
    }
    if (failed)
        png_error(png, "write");
}

void flushed(png_structp) {}

void failed(png_structp png, png_const_charp message) {
    auto* writing = static_cast<Writing*>(png_get_error_ptr(png));
    writing->message = QString::fromLatin1(message);
    png_longjmp(png, 1);
}

void warned(png_structp, png_const_charp) {}

void describe(png_structp png, png_infop info, const RowPicture& picture, const Plan& plan, const Census& found) {
    static constexpr int kColourType[] = {PNG_COLOR_TYPE_PALETTE, PNG_COLOR_TYPE_GRAY, PNG_COLOR_TYPE_GRAY_ALPHA,
                                          PNG_COLOR_TYPE_RGB, PNG_COLOR_TYPE_RGB_ALPHA};
    png_set_IHDR(png, info, png_uint_32(picture.width), png_uint_32(picture.height), plan.bits,
                 kColourType[int(plan.layout)], PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (plan.layout == Layout::Palette) {
        std::vector<png_color> entries;
        std::vector<png_byte> alphas;
        for (const QRgb c : found.colours.colours()) {
            entries.push_back({png_byte(qRed(c)), png_byte(qGreen(c)), png_byte(qBlue(c))});
            if (qAlpha(c) < 255)
                alphas.push_back(png_byte(qAlpha(c)));
        }
        png_set_PLTE(png, info, entries.data(), int(entries.size()));
        if (!alphas.empty())
            png_set_tRNS(png, info, alphas.data(), int(alphas.size()), nullptr);
    }
    if (picture.dotsPerMeter > 0) {
        const auto perMetre = png_uint_32(std::lround(picture.dotsPerMeter));
        png_set_pHYs(png, info, perMetre, perMetre, PNG_RESOLUTION_METER);
    }
    // Few bits a pixel compress best unfiltered, and there are few bytes to
    // squeeze; wide pixels take libpng's filter choice at zlib's usual level.
    if (plan.bits * (plan.layout == Layout::Palette || plan.layout == Layout::Grey ? 1 : 2) <= 8) {
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
        png_set_compression_level(png, Z_BEST_COMPRESSION);
    }
}

// Everything libpng may leave by its long jump; holds nothing that needs
// destroying. False when libpng failed.
bool writeRows(png_structp png, png_infop info, const RowPicture& picture, const Plan& plan, const Census& found,
               std::vector<QRgb>& row, std::vector<uchar>& packed) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    describe(png, info, picture, plan, found);
    png_write_info(png, info);
    // QRgb in memory is B, G, R, A on the machines Qt runs on.
    if (plan.layout == Layout::Rgb || plan.layout == Layout::Rgba)
        png_set_bgr(png);
    if (plan.layout == Layout::Rgb)
        png_set_filler(png, 0, PNG_FILLER_AFTER);
    int lastIndex = 0;
    QRgb lastColour = found.colours.colours().empty() ? 0 : found.colours.colours().front();
    for (int y = 0; y < picture.height; ++y) {
        picture.rows(y, row.data());
        uchar* out = packed.data();
        switch (plan.layout) {
        case Layout::Palette:
            packRow(row, plan.bits, [&](QRgb c) {
                if (c != lastColour) {
                    lastColour = c;
                    lastIndex = found.colours.indexOf(c);
                }
                return lastIndex;
            }, out);
            break;
        case Layout::Grey:
            if (plan.bits == 8)
                std::transform(row.begin(), row.end(), out, [](QRgb c) { return uchar(qRed(c)); });
            else
                packRow(row, plan.bits, [&](QRgb c) { return qRed(c) >> (8 - plan.bits); }, out);
            break;
        case Layout::GreyAlpha:
            for (size_t x = 0; x < row.size(); ++x) {
                out[2 * x] = uchar(qRed(row[x]));
                out[2 * x + 1] = uchar(qAlpha(row[x]));
            }
            break;
        case Layout::Rgb:
        case Layout::Rgba: out = reinterpret_cast<uchar*>(row.data()); break;
        }
        png_write_row(png, out);
    }
    png_write_end(png, info);
    return true;
}

void encodePng(const RowPicture& picture, const std::function<void(const char*, qsizetype)>& sink) {
    std::vector<QRgb> row(size_t(picture.width));
    Census found = census(picture, row);
    const Plan plan = planFor(found);
    std::vector<uchar> packed(size_t(picture.width) * 2);

    Writing writing{&sink, nullptr, QString()};
    // Destroyed however the writing ends, a row source's exception included.
    struct Encoder {
        png_structp png = nullptr;
        png_infop info = nullptr;
        ~Encoder() { png_destroy_write_struct(&png, &info); }
    } encoder;
    encoder.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &writing, failed, warned);
    encoder.info = encoder.png ? png_create_info_struct(encoder.png) : nullptr;
    if (!encoder.info)
        throw PelmoraError(outOfMemoryText());
    png_set_write_fn(encoder.png, &writing, written, flushed);
    const bool done = writeRows(encoder.png, encoder.info, picture, plan, found, row, packed);
    if (writing.failure)
        std::rethrow_exception(writing.failure);
    if (!done)
        throw PelmoraError(QCoreApplication::translate("batch", "the PNG could not be made: %1").arg(writing.message));
}

void refuseEmpty(const RowPicture& picture) {
    if (picture.width <= 0 || picture.height <= 0)
        throw PelmoraError(QCoreApplication::translate("batch", "a PNG cannot hold a picture of no pixels"));
}

} // namespace

QByteArray encodePng(const RowPicture& picture) {
    refuseEmpty(picture);
    QByteArray bytes;
    encodePng(picture, [&](const char* data, qsizetype size) { bytes.append(data, size); });
    return bytes;
}

void savePng(const RowPicture& picture, const QString& path) {
    refuseEmpty(picture);
    AtomicFile file(path);
    encodePng(picture, [&](const char* data, qsizetype size) { file.write(data, size); });
    file.commit();
}

} // namespace pelmora::batch
