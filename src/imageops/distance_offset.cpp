// SPDX-License-Identifier: GPL-2.0-or-later
#include "distance_offset.h"

// Local
#include "bitmap.h"
#include "pixel_rows.h"

// Std
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace pelmora {

namespace {

// Column distances are held in 16 bits; farther than any reach counts as far.
constexpr std::uint16_t kFar = 0xFFFF;

// One pass down or up the columns: how far each pixel of the row is from
// the nearest site at or before it in the pass, capped at reach + 1.
PELMORA_ROW_LOOP void stepColumns(const uchar* row, bool sitesInside, const std::uint16_t* previous,
                                  std::uint16_t* out, int width, std::uint16_t cap) {
    for (int x = 0; x < width; ++x) {
        const bool site = (row[x] != 0) == sitesInside;
        const std::uint16_t next = previous[x] < cap ? std::uint16_t(previous[x] + 1) : cap;
        out[x] = site ? 0 : next;
    }
}

PELMORA_ROW_LOOP void nearer(std::uint16_t* a, const std::uint16_t* b, int width) {
    for (int x = 0; x < width; ++x)
        a[x] = std::min(a[x], b[x]);
}

// Every pixel within `distance` of a site: the sites are the inside pixels
// (or, inverted, the outside ones and the world beyond the border). A site
// at column distance g from a pixel's row reaches every pixel of that row
// within sqrt(d^2 - g^2) across, so each row is a union of spans, one per
// column near enough, gathered by where each span starts.
QImage reached(const QImage& mask, double distance, bool sitesInside) {
    const int width = mask.width();
    const int height = mask.height();
    QImage out = allocateImage(width, height, QImage::Format_Grayscale8);
    if (width == 0 || height == 0)
        return out;
    const double limit = distance * distance;
    const int reach = int(std::min(std::floor(distance), double(kFar - 2)));
    const auto cap = std::uint16_t(reach + 1);
    // span[g]: how far across a site g rows away reaches.
    std::vector<int> span(size_t(reach) + 1);
    for (int g = 0; g <= reach; ++g) {
        int s = int(std::floor(std::sqrt(std::max(0.0, limit - double(g) * g))));
        while (double(s + 1) * (s + 1) + double(g) * g <= limit)
            ++s;
        while (s > 0 && double(s) * s + double(g) * g > limit)
            --s;
        span[size_t(g)] = s;
    }

    // Downwards: distance to the nearest site above, kept for every row.
    // The world beyond the border is a site only when the sites are outside.
    const std::uint16_t border = sitesInside ? cap : 0;
    std::vector<std::uint16_t> above(size_t(width) * size_t(height));
    std::vector<std::uint16_t> edge(size_t(width), border);
    for (int y = 0; y < height; ++y)
        stepColumns(mask.constScanLine(y), sitesInside, y == 0 ? edge.data() : &above[size_t(y - 1) * width],
                    &above[size_t(y) * width], width, cap);

    // Upwards, each row finished as soon as its nearest site below is known.
    std::vector<std::uint16_t> below(size_t(width), border);
    std::vector<std::uint16_t> nearest(static_cast<size_t>(width));
    // farthest[s + reach + 1]: the farthest end of a span starting at s.
    std::vector<int> farthest(size_t(width) + 2 * size_t(reach) + 2);
    const int shift = reach + 1;
    for (int y = height - 1; y >= 0; --y) {
        stepColumns(mask.constScanLine(y), sitesInside, below.data(), below.data(), width, cap);
        std::copy_n(&above[size_t(y) * width], width, nearest.data());
        nearer(nearest.data(), below.data(), width);
        std::fill(farthest.begin(), farthest.end(), -shift - 1);
        const auto mark = [&](int from, int to) {
            int& end = farthest[size_t(from + shift)];
            end = std::max(end, to);
        };
        if (!sitesInside) {
            mark(-1 - reach, -1 + reach);
            mark(width - reach, width + reach);
        }
        for (int x = 0; x < width;) {
            const std::uint16_t g = nearest[size_t(x)];
            if (g == 0) {
                // A run of sites on the row itself reaches as one span.
                int end = x;
                while (end + 1 < width && nearest[size_t(end) + 1] == 0)
                    ++end;
                mark(x - reach, end + reach);
                x = end + 1;
                continue;
            }
            if (g <= reach)
                mark(x - span[g], x + span[g]);
            ++x;
        }
        uchar* line = out.scanLine(y);
        int covered = -shift - 1;
        for (int x = -shift; x < 0; ++x)
            covered = std::max(covered, farthest[size_t(x + shift)]);
        for (int x = 0; x < width; ++x) {
            covered = std::max(covered, farthest[size_t(x + shift)]);
            line[x] = uchar(x <= covered);
        }
    }
    return out;
}

} // namespace

QImage grownMask(const QImage& mask, double distance) {
    return reached(mask, std::max(distance, 0.0), true);
}

QImage shrunkMask(const QImage& mask, double distance) {
    QImage out = reached(mask, std::max(distance, 0.0), false);
    for (int y = 0; y < out.height(); ++y) {
        uchar* line = out.scanLine(y);
        for (int x = 0; x < out.width(); ++x)
            line[x] ^= 1;
    }
    return out;
}

} // namespace pelmora
