// SPDX-License-Identifier: GPL-2.0-or-later
#include "connected_background.h"

// Local
#include "fill.h"
#include "outline.h"
#include "pixel_rows.h"

// Std
#include <algorithm>
#include <bit>
#include <cstring>
#include <stdexcept>
#include <utility>
#include <vector>

namespace pelmora {

namespace {

// Runs of marks are found eight bytes at a time.
static_assert(std::endian::native == std::endian::little);
constexpr quint64 kEveryByte = 0x0101010101010101u;
constexpr quint64 kEnclosedBytes = kEveryByte * kEnclosedBackground;

inline quint64 eightMarks(const uchar* at) {
    quint64 word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

// The first x in [from, to) not marked enclosed, or to.
int endOfRun(const uchar* marks, int from, int to) {
    int x = from;
    for (; x + 8 <= to; x += 8)
        if (const quint64 other = eightMarks(marks + x) ^ kEnclosedBytes)
            return x + std::countr_zero(other) / 8;
    while (x < to && marks[x] == kEnclosedBackground)
        ++x;
    return x;
}

// The first x of the enclosed run that ends just before `end`.
int startOfRun(const uchar* marks, int end) {
    int x = end;
    for (; x >= 8; x -= 8)
        if (const quint64 other = eightMarks(marks + x - 8) ^ kEnclosedBytes)
            return x - std::countl_zero(other) / 8;
    while (x > 0 && marks[x - 1] == kEnclosedBackground)
        --x;
    return x;
}

// The first x in [from, to) marked enclosed, or to.
int nextEnclosed(const uchar* marks, int from, int to) {
    if (from >= to)
        return to;
    const void* found = std::memchr(marks + from, kEnclosedBackground, size_t(to - from));
    return found ? int(static_cast<const uchar*>(found) - marks) : to;
}

PELMORA_ROW_LOOP void markRow(const QRgb* in, uchar* out, int width, QRgb background) {
    for (int x = 0; x < width; ++x)
        out[x] = uchar((in[x] & kRgbBits) == background);
}

// A flood fill by runs: each seed is one pixel of a run of the background
// colour not yet reached; the whole run is marked open at once, and the
// runs it touches in the rows above and below become seeds. Rows are
// marked from the pixels one at a time, top to bottom, and flooded while
// they are still in the cache; what reaches down into a row not yet marked
// waits for it.
class OpenBackgroundFlood {
public:
    OpenBackgroundFlood(const MarkRow& markRow, QImage& marks)
        : markRow_(markRow), bits_(marks.bits()), stride_(marks.bytesPerLine()),
          width_(marks.width()), height_(marks.height()),
          mostSeeds_(2 * (qint64(width_) * height_ + width_ + height_)) {}

    void run() {
        for (int y = 0; y < height_; ++y) {
            markRow_(y, row(y));
            for (const Span span : std::exchange(waiting_, {}))
                seedRuns(y, span.left, span.right);
            if (y == 0 || y == height_ - 1) {
                seedRuns(y, 0, width_);
            } else {
                seedRuns(y, 0, 1);
                seedRuns(y, width_ - 1, width_);
            }
            floodTo(y);
        }
    }

private:
    struct Seed {
        int x;
        int y;
    };
    struct Span {
        int left;
        int right;
    };

    uchar* row(int y) const { return bits_ + stride_ * y; }

    void seedRuns(int y, int from, int to) {
        const uchar* marks = row(y);
        for (int x = nextEnclosed(marks, from, to); x < to; x = nextEnclosed(marks, endOfRun(marks, x, to), to)) {
            // A run of length n, flooded once, seeds at most n + 1 runs beside
            // it, and the border fewer than 2 (width + height): a flood past
            // that is going round in circles and must stop before it eats
            // all memory.
            if (++seeded_ > mostSeeds_)
                throw std::logic_error("background flood: more seeds than the picture allows");
            seeds_.push_back({x, y});
        }
    }

    // Floods the rows marked so far, rows 0 to last.
    void floodTo(int last) {
        while (!seeds_.empty()) {
            const Seed seed = seeds_.back();
            seeds_.pop_back();
            uchar* marks = row(seed.y);
            if (marks[seed.x] != kEnclosedBackground)
                continue;
            const int left = startOfRun(marks, seed.x);
            const int right = endOfRun(marks, seed.x, width_);
            std::memset(marks + left, kOpenBackground, size_t(right - left));
            if (seed.y > 0)
                seedRuns(seed.y - 1, left, right);
            if (seed.y < last)
                seedRuns(seed.y + 1, left, right);
            else if (seed.y + 1 < height_)
                waiting_.push_back({left, right});
        }
    }

    const MarkRow& markRow_;
    uchar* const bits_;
    const qsizetype stride_;
    const int width_;
    const int height_;
    const qint64 mostSeeds_;
    qint64 seeded_ = 0;
    std::vector<Seed> seeds_;
    std::vector<Span> waiting_;   // runs of row last + 1 reached from row last
};

// Sets every pixel marked enclosed to colour. A picture with nothing
// enclosed keeps its format.
void paintEnclosed(Bitmap& picture, const QImage& marks, QRgb colour) {
    QImage* image = nullptr;
    const int width = marks.width();
    for (int y = 0; y < marks.height(); ++y) {
        const uchar* row = marks.constScanLine(y);
        for (int x = nextEnclosed(row, 0, width); x < width;) {
            if (!image)
                image = &picture.rgb32();
            const int end = endOfRun(row, x, width);
            QRgb* out = writableRow(image->bits(), image->bytesPerLine(), y);
            std::fill(out + x, out + end, colour);
            x = nextEnclosed(row, end, width);
        }
    }
}

} // namespace

QImage backgroundMarks(const Bitmap& picture, Colour background) {
    if (picture.isEmpty())
        return QImage();
    const QImage pixels = rgb32Pixels(picture);
    const QRgb key = rgbFromColour(background) & kRgbBits;
    return floodedMarks(picture.width(), picture.height(),
                        [&](int y, uchar* row) { markRow(pixelRow(pixels, y), row, picture.width(), key); });
}

QImage floodedMarks(int width, int height, const MarkRow& markRow) {
    QImage marks = allocateImage(width, height, QImage::Format_Grayscale8);
    OpenBackgroundFlood(markRow, marks).run();
    return marks;
}

Bitmap solidOutlined(const Bitmap& source, Colour outlineColour) {
    Bitmap result = outlined(source, outlineColour);
    if (!source.isEmpty()) {
        const Colour background = source.pixel(0, 0);
        paintEnclosed(result, backgroundMarks(source, background), rgbFromColour(background));
    }
    return result;
}

Bitmap solidFilled(const Bitmap& source, Colour fillColour) {
    Bitmap result = filled(source, fillColour);
    if (!source.isEmpty())
        paintEnclosed(result, backgroundMarks(source, source.pixel(0, 0)), rgbFromColour(resolveColour(fillColour)));
    return result;
}

} // namespace pelmora
