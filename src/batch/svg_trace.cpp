// SPDX-License-Identifier: GPL-2.0-or-later
#include "svg_trace.h"

// Qt
#include <QColor>
#include <QPainter>
#include <QPainterPath>

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

void appendNumber(QByteArray& out, double value) {
    QByteArray text = QByteArray::number(value, 'f', 2);
    while (text.endsWith('0'))
        text.chop(1);
    if (text.endsWith('.'))
        text.chop(1);
    out += text == "-0" ? QByteArrayLiteral("0") : text;
}

void appendPoint(QByteArray& out, const potrace_dpoint_t& point) {
    out += ' ';
    appendNumber(out, point.x);
    out += ' ';
    appendNumber(out, point.y);
}

// Every curve as one closed subpath; holes are subpaths inside others.
QByteArray pathData(const potrace_path_t* paths) {
    QByteArray d;
    for (const potrace_path_t* path = paths; path; path = path->next) {
        const potrace_curve_t& curve = path->curve;
        d += 'M';
        appendPoint(d, curve.c[curve.n - 1][2]);
        for (int i = 0; i < curve.n; ++i) {
            if (curve.tag[i] == POTRACE_CORNER) {
                d += 'L';
                appendPoint(d, curve.c[i][1]);
                d += 'L';
                appendPoint(d, curve.c[i][2]);
            } else {
                d += 'C';
                appendPoint(d, curve.c[i][0]);
                appendPoint(d, curve.c[i][1]);
                appendPoint(d, curve.c[i][2]);
            }
        }
        d += 'Z';
    }
    return d;
}

using TraceState = std::unique_ptr<potrace_state_t, decltype(&potrace_state_free)>;

TraceState traced(const potrace_bitmap_t& bitmap, const std::function<void(double)>& progress) {
    const std::unique_ptr<potrace_param_t, decltype(&potrace_param_free)> parameters(potrace_param_default(),
                                                                                      potrace_param_free);
    if (!parameters)
        throw PelmoraError(outOfMemoryText());
    parameters->progress.callback = [](double done, void* listener) {
        (*static_cast<const std::function<void(double)>*>(listener))(done);
    };
    parameters->progress.data = const_cast<std::function<void(double)>*>(&progress);
    parameters->progress.min = 0;
    parameters->progress.max = 1;
    parameters->progress.epsilon = 0.01;
    TraceState state(potrace_trace(parameters.get(), &bitmap), potrace_state_free);
    if (!state || state->status != POTRACE_STATUS_OK)
        throw PelmoraError(outOfMemoryText());
    return state;
}

QByteArray tracedPath(const potrace_bitmap_t& bitmap, const SvgPaint& paint,
                      const std::function<void(double)>& progress) {
    const TraceState state = traced(bitmap, progress);
    const QByteArray colour = qColorFromColour(paint.colour).name().toLatin1();
    const QByteArray look = paint.stroke ? "fill=\"none\" stroke=\"" + colour + "\" stroke-width=\"1\""
                                         : "fill=\"" + colour + "\" fill-rule=\"evenodd\"";
    return "<path " + look + " d=\"" + pathData(state->plist) + "\"/>\n";
}

QPointF pointOf(const potrace_dpoint_t& point) {
    return QPointF(point.x, point.y);
}

QPainterPath painterPath(const potrace_path_t* paths) {
    QPainterPath out;
    out.setFillRule(Qt::OddEvenFill);
    for (const potrace_path_t* path = paths; path; path = path->next) {
        const potrace_curve_t& curve = path->curve;
        out.moveTo(pointOf(curve.c[curve.n - 1][2]));
        for (int i = 0; i < curve.n; ++i) {
            if (curve.tag[i] == POTRACE_CORNER) {
                out.lineTo(pointOf(curve.c[i][1]));
                out.lineTo(pointOf(curve.c[i][2]));
            } else {
                out.cubicTo(pointOf(curve.c[i][0]), pointOf(curve.c[i][1]), pointOf(curve.c[i][2]));
            }
        }
        out.closeSubpath();
    }
    return out;
}

QByteArray svgDocument(int pictureWidth, int pictureHeight, const QImage& marks, bool solid, const SvgPaint& paint,
                       const std::function<void(double)>& progress) {
    const QByteArray width = QByteArray::number(pictureWidth);
    const QByteArray height = QByteArray::number(pictureHeight);
    QByteArray svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + width + "\" height=\"" + height
                     + "\" viewBox=\"0 0 " + width + ' ' + height + "\">\n";
    if (!marks.isNull()) {
        const SubjectBits subject = subjectBits(marks, solid);
        if (!subject.empty)
            svg += tracedPath(subject.bitmap, paint, progress);
    }
    svg += "</svg>\n";
    return svg;
}

} // namespace

QByteArray traceToSvg(const Bitmap& picture, const Background& background, const SvgPaint& paint,
                      const std::function<void(double)>& progress) {
    return svgDocument(picture.width(), picture.height(), backgroundMarks(picture, background.colour),
                       background.solid, paint, progress);
}

QByteArray traceMarksToSvg(const QImage& marks, bool solid, const SvgPaint& paint,
                           const std::function<void(double)>& progress) {
    return svgDocument(marks.width(), marks.height(), marks, solid, paint, progress);
}

QImage smoothSubjectAlpha(const QImage& marks, const std::function<void(double)>& progress) {
    if (marks.isNull())
        return QImage();
    QImage alpha = allocateImage(marks.width(), marks.height(), QImage::Format_Alpha8);
    alpha.fill(0);
    const SubjectBits subject = subjectBits(marks, false);
    if (subject.empty)
        return alpha;
    const TraceState state = traced(subject.bitmap, progress);
    QPainter painter(&alpha);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(painterPath(state->plist), Qt::black);
    return alpha;
}

} // namespace pelmora::batch
