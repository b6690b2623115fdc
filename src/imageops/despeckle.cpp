// SPDX-License-Identifier: GPL-2.0-or-later
#include "despeckle.h"

// Local
#include "connected_background.h"

// Std
#include <bit>
#include <cstring>
#include <vector>

namespace pelmora {

namespace {

constexpr quint64 kEveryByte = 0x0101010101010101u;

// The first x in [from, width) whose mark differs from marks[from].
int endOfRun(const uchar* marks, int from, int width) {
    const quint64 same = kEveryByte * marks[from];
    int x = from;
    for (; x + 8 <= width; x += 8) {
        quint64 word;
        std::memcpy(&word, marks + x, sizeof word);
        if (const quint64 other = word ^ same)
            return x + std::countr_zero(other) / 8;
    }
    while (x < width && marks[x] == marks[from])
        ++x;
    return x;
}

// A run of one class in a row, and its place in the pieces: a root holds
// its piece's area and whether it reaches the border.
struct Run {
    int left;
    int right;
    size_t parent;
    qint64 area;
    bool border;
};

// The runs of every row, and the pieces they join into: runs of one class
// that share a column in neighbouring rows are one piece.
class Pieces {
public:
    explicit Pieces(const QImage& marks) : width_(marks.width()), height_(marks.height()) {
        rowStart_.reserve(size_t(height_) + 1);
        runs_.reserve(size_t(height_) * 8);
        for (int y = 0; y < height_; ++y) {
            const uchar* row = marks.constScanLine(y);
            const size_t first = runs_.size();
            rowStart_.push_back(first);
            for (int x = 0; x < width_;) {
                const int end = endOfRun(row, x, width_);
                add(x, end, y == 0 || y == height_ - 1 || x == 0 || end == width_);
                x = end;
            }
            if (y > 0)
                joinRows(rowStart_[size_t(y) - 1], first, runs_.size(), marks.constScanLine(y - 1), row);
        }
        rowStart_.push_back(runs_.size());
    }

    size_t firstRun(int y) const { return rowStart_[size_t(y)]; }
    const Run& run(size_t i) const { return runs_[i]; }
    qint64 area(size_t i) { return runs_[root(i)].area; }
    bool reachesBorder(size_t i) { return runs_[root(i)].border; }

private:
    void add(int left, int right, bool border) {
        runs_.push_back({left, right, runs_.size(), right - left, border});
    }

    size_t root(size_t i) {
        while (runs_[i].parent != i) {
            runs_[i].parent = runs_[runs_[i].parent].parent;
            i = runs_[i].parent;
        }
        return i;
    }

    void join(size_t a, size_t b) {
        a = root(a);
        b = root(b);
        if (a == b)
            return;
        if (a > b)
            std::swap(a, b);
        runs_[b].parent = a;
        runs_[a].area += runs_[b].area;
        runs_[a].border = runs_[a].border || runs_[b].border;
    }

    // Runs of the row above [above, here) and of this row [here, end),
    // walked together from the left.
    void joinRows(size_t above, size_t here, size_t end, const uchar* aboveMarks, const uchar* marks) {
        const size_t aboveEnd = here;
        while (above < aboveEnd && here < end) {
            const Run& a = runs_[above];
            const Run& b = runs_[here];
            const bool aBackground = aboveMarks[a.left] != kSubjectPixel;
            const bool bBackground = marks[b.left] != kSubjectPixel;
            if (aBackground == bBackground)
                join(above, here);
            const int aRight = a.right;
            const int bRight = b.right;
            if (aRight <= bRight)
                ++above;
            if (bRight <= aRight)
                ++here;
        }
    }

    const int width_;
    const int height_;
    std::vector<Run> runs_;
    std::vector<size_t> rowStart_;
};

} // namespace

void despeckle(QImage& marks, qint64 area) {
    if (area <= 1 || marks.isNull())
        return;
    Pieces pieces(marks);
    for (int y = 0; y < marks.height(); ++y) {
        uchar* row = marks.scanLine(y);
        const size_t end = pieces.firstRun(y + 1);
        for (size_t i = pieces.firstRun(y); i < end; ++i) {
            const Run& run = pieces.run(i);
            const bool background = row[run.left] != kSubjectPixel;
            if (pieces.area(i) < area && !(background && pieces.reachesBorder(i)))
                std::memset(row + run.left, background ? kSubjectPixel : kOpenBackground,
                            size_t(run.right - run.left));
        }
    }
}

} // namespace pelmora
