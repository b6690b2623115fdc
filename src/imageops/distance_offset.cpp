// SPDX-License-Identifier: GPL-2.0-or-later
#include "distance_offset.h"

// Local
#include "bitmap.h"
#include "pixel_rows.h"

// Std
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

namespace pelmora {

namespace {

// One pass down or up the columns: how far each pixel of the row is from
// the nearest site at or before it in the pass, capped at reach + 1.
template <typename Distance>
void stepColumns(const uchar* row, uchar siteMark, const Distance* previous, Distance* out, int width,
                 Distance cap) {
    for (int x = 0; x < width; ++x) {
        const Distance next = previous[x] < cap ? Distance(previous[x] + 1) : cap;
        out[x] = (row[x] != 0) == siteMark ? Distance(0) : next;
    }
}

template <typename Distance>
void nearer(const Distance* a, const Distance* b, Distance* out, int width) {
    for (int x = 0; x < width; ++x)
        out[x] = std::min(a[x], b[x]);
}

// Every pixel within `distance` of a site: the sites are the inside pixels
// (or, inverted, the outside ones and the world beyond the border). A site
// at column distance g from a pixel's row reaches every pixel of that row
// within sqrt(d^2 - g^2) across, so each row is a union of spans, one per
// column near enough, gathered by where each span starts. Column distances
// are held in the narrowest type that counts past the reach.
template <typename Distance>
void reach(const QImage& mask, double distance, bool sitesInside, QImage& out) {
    const int width = mask.width();
    const int height = mask.height();
    const double limit = distance * distance;
    const int reach = int(std::floor(distance));
    const auto cap = Distance(reach + 1);
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
    const Distance border = sitesInside ? cap : Distance(0);
    const uchar siteMark = sitesInside ? 1 : 0;
    const std::unique_ptr<Distance[]> above(new Distance[size_t(width) * size_t(height)]);
    std::vector<Distance> edge(size_t(width), border);
    for (int y = 0; y < height; ++y)
        stepColumns<Distance>(mask.constScanLine(y), siteMark, y == 0 ? edge.data() : &above[size_t(y - 1) * width],
                              &above[size_t(y) * width], width, cap);

    // Upwards, each row finished as soon as its nearest site below is known.
    std::vector<Distance> below(size_t(width), border);
    std::vector<Distance> nearest(static_cast<size_t>(width));
    // farthest[s + shift]: the farthest end of a span starting at s.
    const int shift = reach + 1;
    std::vector<int> farthest(size_t(width) + 2 * size_t(shift));
    const uchar inside = sitesInside ? 1 : 0;
    for (int y = height - 1; y >= 0; --y) {
        stepColumns<Distance>(mask.constScanLine(y), siteMark, below.data(), below.data(), width, cap);
        nearer<Distance>(&above[size_t(y) * width], below.data(), nearest.data(), width);
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
            const int g = nearest[size_t(x)];
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
                mark(x - span[size_t(g)], x + span[size_t(g)]);
            ++x;
        }
        uchar* line = out.scanLine(y);
        int covered = -shift - 1;
        for (int x = -shift; x < 0; ++x)
            covered = std::max(covered, farthest[size_t(x + shift)]);
        for (int x = 0; x < width; ++x) {
            covered = std::max(covered, farthest[size_t(x + shift)]);
            line[x] = uchar(x <= covered) ^ uchar(1 - inside);
        }
    }
}

// The grown mask of the sites, or, with the outside as sites, the shrunk
// mask of the inside: the complement of what the outside reaches.
QImage offsetMask(const QImage& mask, double distance, bool sitesInside) {
    QImage out = allocateImage(mask.width(), mask.height(), QImage::Format_Grayscale8);
    if (mask.width() == 0 || mask.height() == 0)
        return out;
    distance = std::clamp(distance, 0.0, double(std::numeric_limits<std::uint16_t>::max() - 2));
    if (distance < std::numeric_limits<std::uint8_t>::max() - 1)
        reach<std::uint8_t>(mask, distance, sitesInside, out);
    else
        reach<std::uint16_t>(mask, distance, sitesInside, out);
    return out;
}

} // namespace

QImage grownMask(const QImage& mask, double distance) {
    return offsetMask(mask, distance, true);
}

QImage shrunkMask(const QImage& mask, double distance) {
    return offsetMask(mask, distance, false);
}

} // namespace pelmora
