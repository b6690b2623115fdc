// SPDX-License-Identifier: GPL-2.0-or-later
#include "subject_marks.h"

// Local
#include "connected_background.h"
#include "pixel_rows.h"

// Std
#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

namespace pelmora {

namespace {

// Squared distances are compared in whole numbers: the largest, black to
// white, is 3 * 255 * 255.
constexpr int kWhiteFromBlack = 3 * 255 * 255;

PELMORA_ROW_LOOP void markNearRow(const QRgb* in, uchar* out, int width, QRgb key, int limit, uchar mark) {
    const int kr = qRed(key);
    const int kg = qGreen(key);
    const int kb = qBlue(key);
    for (int x = 0; x < width; ++x) {
        const int r = int((in[x] >> 16) & 0xFF) - kr;
        const int g = int((in[x] >> 8) & 0xFF) - kg;
        const int b = int(in[x] & 0xFF) - kb;
        out[x] = r * r + g * g + b * b <= limit ? mark : uchar(kSubjectPixel);
    }
}

PELMORA_ROW_LOOP void markClearRow(const uchar* alpha, uchar* out, int width, int opaqueFrom, uchar mark) {
    for (int x = 0; x < width; ++x)
        out[x] = alpha[x] < opaqueFrom ? mark : uchar(kSubjectPixel);
}

// Enclosed background is subject once the flood is done.
PELMORA_ROW_LOOP void settleRow(uchar* marks, int width) {
    static_assert((kEnclosedBackground & kOpenBackground) == 0 && (kSubjectPixel & kOpenBackground) == 0);
    for (int x = 0; x < width; ++x)
        marks[x] &= kOpenBackground;
}

QImage marked(int width, int height, bool solid, const MarkRow& markRow) {
    if (width <= 0 || height <= 0)
        return QImage();
    if (solid) {
        QImage marks = floodedMarks(width, height, markRow);
        for (int y = 0; y < height; ++y)
            settleRow(marks.scanLine(y), width);
        return marks;
    }
    QImage marks = allocateImage(width, height, QImage::Format_Grayscale8);
    for (int y = 0; y < height; ++y)
        markRow(y, marks.scanLine(y));
    return marks;
}

inline quint64 eightMarks(const uchar* at) {
    quint64 word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

// Whether marks x to x + 7 of `here` are all background, or all subject
// with subject on every side; x - 1 and x + 8 must lie in the row.
bool uniformInside(const uchar* here, const uchar* above, const uchar* below, int x) {
    constexpr quint64 kOpenBytes = 0x0101010101010101u * kOpenBackground;
    const quint64 block = eightMarks(here + x);
    if (block == kOpenBytes)
        return true;
    return block == 0 && below && eightMarks(above + x) == 0 && eightMarks(below + x) == 0
           && here[x - 1] == kSubjectPixel && here[x + 8] == kSubjectPixel;
}

} // namespace

QImage marksByColour(const Bitmap& picture, Colour background, double fuzzPercent, bool solid) {
    if (picture.isEmpty())
        return QImage();
    const QImage pixels = rgb32Pixels(picture);
    const QRgb key = rgbFromColour(background);
    const double share = std::clamp(fuzzPercent, 0.0, 100.0) / 100;
    const int limit = int(std::floor(share * share * kWhiteFromBlack + 1e-9));
    const uchar mark = solid ? kEnclosedBackground : kOpenBackground;
    const int width = picture.width();
    return marked(width, picture.height(), solid,
                  [&](int y, uchar* row) { markNearRow(pixelRow(pixels, y), row, width, key, limit, mark); });
}

QImage marksByAlpha(const QImage& alpha, double thresholdPercent, bool solid) {
    // The smallest alpha that is subject.
    const int opaqueFrom = int(std::ceil(std::clamp(thresholdPercent, 0.0, 100.0) * 255 / 100 - 1e-9));
    const uchar mark = solid ? kEnclosedBackground : kOpenBackground;
    const int width = alpha.width();
    return marked(width, alpha.height(), solid,
                  [&](int y, uchar* row) { markClearRow(alpha.constScanLine(y), row, width, opaqueFrom, mark); });
}

QImage transparencyOf(const QImage& image) {
    if (!image.hasAlphaChannel())
        return QImage();
    QImage alpha = image.convertToFormat(QImage::Format_Alpha8);
    if (alpha.isNull())
        throw std::bad_alloc();
    for (int y = 0; y < alpha.height(); ++y) {
        const uchar* row = alpha.constScanLine(y);
        for (int x = 0; x < alpha.width(); ++x)
            if (row[x] != 0xFF)
                return alpha;
    }
    return QImage();
}

void trimHalfCovered(QImage& marks, const Bitmap& picture, Colour background) {
    if (marks.isNull())
        return;
    const QImage pixels = rgb32Pixels(picture);
    const QRgb key = rgbFromColour(background);
    const auto distance = [key](QRgb c) {
        const int r = qRed(c) - qRed(key);
        const int g = qGreen(c) - qGreen(key);
        const int b = qBlue(c) - qBlue(key);
        return r * r + g * g + b * b;
    };
    const int width = marks.width();
    const int height = marks.height();
    // Decided on the marks as they were: the rows above and at y, before
    // their change.
    std::vector<uchar> above(size_t(width), kOpenBackground);
    std::vector<uchar> here(static_cast<size_t>(width));
    for (int y = 0; y < height; ++y) {
        uchar* row = marks.scanLine(y);
        std::memcpy(here.data(), row, size_t(width));
        const uchar* below = y + 1 < height ? marks.constScanLine(y + 1) : nullptr;
        const QRgb* in = pixelRow(pixels, y);
        for (int x = 0; x < width; ++x) {
            // Eight pixels at a time where none can be an edge of the subject.
            while (x + 8 < width && x > 0 && uniformInside(here.data(), above.data(), below, x))
                x += 8;
            if (here[x] != kSubjectPixel)
                continue;
            const bool left = x > 0 && here[x - 1] == kSubjectPixel;
            const bool right = x + 1 < width && here[x + 1] == kSubjectPixel;
            const bool up = above[x] == kSubjectPixel;
            const bool down = below && below[x] == kSubjectPixel;
            if (left && right && up && down)
                continue;
            int farthest = 0;
            if (left)
                farthest = std::max(farthest, distance(in[x - 1]));
            if (right)
                farthest = std::max(farthest, distance(in[x + 1]));
            if (up)
                farthest = std::max(farthest, distance(pixelRow(pixels, y - 1)[x]));
            if (down)
                farthest = std::max(farthest, distance(pixelRow(pixels, y + 1)[x]));
            if (4 * distance(in[x]) < farthest)
                row[x] = kOpenBackground;
        }
        std::swap(above, here);
    }
}

bool hasSubject(const QImage& marks) {
    for (int y = 0; y < marks.height(); ++y)
        if (std::memchr(marks.constScanLine(y), kSubjectPixel, size_t(marks.width())))
            return true;
    return false;
}

} // namespace pelmora
