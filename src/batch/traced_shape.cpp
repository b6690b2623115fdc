// SPDX-License-Identifier: GPL-2.0-or-later
#include "traced_shape.h"

// Qt
#include <QPainter>

// Local
#include "connected_background.h"
#include "pelmora_error.h"

// Std
#include <memory>
#include <potracelib.h>
#include <vector>

namespace pelmora::batch {

namespace {

constexpr int kWordBits = int(sizeof(potrace_word)) * 8;
constexpr potrace_word kLeftmostBit = potrace_word(1) << (kWordBits - 1);

// The subject as potrace's bitmap: one bit per pixel, the leftmost pixel in
// the highest bit, row y of the picture as scanline y, so that the curves
// come out in the picture's own coordinates.
struct SubjectBits {
    std::vector<potrace_word> words;
    potrace_bitmap_t bitmap{};
    bool empty = true;
};

SubjectBits subjectBits(const QImage& marks, bool solid) {
    SubjectBits bits;
    const int width = marks.width();
    const int height = marks.height();
    const int wordsPerRow = (width + kWordBits - 1) / kWordBits;
    bits.words.assign(size_t(wordsPerRow) * size_t(height), 0);
    for (int y = 0; y < height; ++y) {
        const uchar* mark = marks.constScanLine(y);
        potrace_word* row = bits.words.data() + size_t(wordsPerRow) * size_t(y);
        for (int x = 0; x < width; ++x)
            if (!isBackgroundMark(mark[x], solid)) {
                row[x / kWordBits] |= kLeftmostBit >> (x % kWordBits);
                bits.empty = false;
            }
    }
    bits.bitmap = {width, height, wordsPerRow, bits.words.data()};
    return bits;
}

// Every curve as one closed subpath.
QPainterPath pathOf(const potrace_path_t* paths) {
    QPainterPath shape;
    shape.setFillRule(Qt::OddEvenFill);
    const auto point = [](const potrace_dpoint_t& p) { return QPointF(p.x, p.y); };
    for (const potrace_path_t* path = paths; path; path = path->next) {
        const potrace_curve_t& curve = path->curve;
        shape.moveTo(point(curve.c[curve.n - 1][2]));
        for (int i = 0; i < curve.n; ++i) {
            if (curve.tag[i] == POTRACE_CORNER) {
                shape.lineTo(point(curve.c[i][1]));
                shape.lineTo(point(curve.c[i][2]));
            } else {
                shape.cubicTo(point(curve.c[i][0]), point(curve.c[i][1]), point(curve.c[i][2]));
            }
        }
        shape.closeSubpath();
    }
    return shape;
}

QPainterPath traced(const potrace_bitmap_t& bitmap, double smoothness,
                    const std::function<void(double)>& progress) {
    const std::unique_ptr<potrace_param_t, decltype(&potrace_param_free)> parameters(potrace_param_default(),
                                                                                      potrace_param_free);
    if (!parameters)
        throw PelmoraError(outOfMemoryText());
    parameters->alphamax = smoothness;
    parameters->progress.callback = [](double done, void* listener) {
        (*static_cast<const std::function<void(double)>*>(listener))(done);
    };
    parameters->progress.data = const_cast<std::function<void(double)>*>(&progress);
    parameters->progress.min = 0;
    parameters->progress.max = 1;
    parameters->progress.epsilon = 0.01;
    const std::unique_ptr<potrace_state_t, decltype(&potrace_state_free)> state(
        potrace_trace(parameters.get(), &bitmap), potrace_state_free);
    if (!state || state->status != POTRACE_STATUS_OK)
        throw PelmoraError(outOfMemoryText());
    return pathOf(state->plist);
}

} // namespace

QPainterPath traceSubject(const Bitmap& picture, const Background& background, double smoothness,
                          const std::function<void(double)>& progress) {
    if (picture.isEmpty())
        return QPainterPath();
    const SubjectBits subject = subjectBits(backgroundMarks(picture, background.colour), background.solid);
    return subject.empty ? QPainterPath() : traced(subject.bitmap, smoothness, progress);
}

QImage smoothSubjectAlpha(const QImage& marks, const std::function<void(double)>& progress) {
    if (marks.isNull())
        return QImage();
    QImage alpha = allocateImage(marks.width(), marks.height(), QImage::Format_Alpha8);
    alpha.fill(0);
    const SubjectBits subject = subjectBits(marks, false);
    if (subject.empty)
        return alpha;
    QPainter painter(&alpha);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(traced(subject.bitmap, 1.0, progress), Qt::black);
    return alpha;
}

} // namespace pelmora::batch
