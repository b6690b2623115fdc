// SPDX-License-Identifier: GPL-2.0-or-later
// Times the picture operations and prints each as a multiple of a plain
// memcpy of the same picture's bytes. Every iteration runs the operation and
// then the memcpy, so both meet the same load from the rest of the machine
// and the ratio holds where absolute times do not.

// Qt
#include <QImage>
#include <QPainter>

// Local
#include "bitmap.h"
#include "connected_background.h"
#include "distance_offset.h"
#include "despeckle.h"
#include "fill.h"
#include "outline.h"
#include "rotate_mirror.h"
#include "stretch_copy.h"
#include "subject_marks.h"

// Std
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

using namespace pelmora;

namespace {

constexpr int kSizes[] = {1000, 4000, 8000};
const char* const kRatio = "x memcpy";
const char* const kCopyMs = "memcpy ms";

// A white ground with filled shapes of two colours over about a third of it.
const Bitmap& picture(int side) {
    static std::map<int, Bitmap> made;
    auto found = made.find(side);
    if (found != made.end())
        return found->second;
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    const double s = side / 100.0;
    painter.setBrush(QColor(200, 30, 30));
    painter.drawEllipse(QRectF(10 * s, 10 * s, 35 * s, 35 * s));
    painter.drawRect(QRectF(55 * s, 60 * s, 30 * s, 25 * s));
    painter.setBrush(QColor(20, 40, 160));
    painter.drawEllipse(QRectF(55 * s, 8 * s, 30 * s, 40 * s));
    painter.drawRect(QRectF(10 * s, 60 * s, 35 * s, 12 * s));
    painter.drawRect(QRectF(20 * s, 78 * s, 20 * s, 15 * s));
    painter.end();
    return made.emplace(side, Bitmap(image)).first->second;
}

// The picture's subject (all but white) as a mask, made once.
const QImage& subjectMask(const Bitmap& source) {
    static std::map<int, QImage> made;
    auto found = made.find(source.width());
    if (found != made.end())
        return found->second;
    QImage mask(source.width(), source.height(), QImage::Format_Grayscale8);
    for (int y = 0; y < mask.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.image().constScanLine(y));
        uchar* out = mask.scanLine(y);
        for (int x = 0; x < mask.width(); ++x)
            out[x] = (in[x] & 0xFFFFFFu) != 0xFFFFFFu;
    }
    return made.emplace(source.width(), mask).first->second;
}

// A mask as a picture of two palette entries, without a copy.
Bitmap maskPicture(QImage mask) {
    mask.reinterpretAsFormat(QImage::Format_Indexed8);
    mask.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    return Bitmap(mask);
}

// The picture's shapes as an alpha plane with soft edges, as a picture
// with transparency gives it.
const QImage& alphaOf(int side) {
    static std::map<int, QImage> made;
    auto [it, added] = made.try_emplace(side);
    if (added) {
        const QImage image = picture(side).image();
        QImage alpha(side, side, QImage::Format_Alpha8);
        for (int y = 0; y < side; ++y) {
            const QRgb* in = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            uchar* out = alpha.scanLine(y);
            for (int x = 0; x < side; ++x)
                out[x] = uchar(255 - qGreen(in[x]));
        }
        it->second = alpha;
    }
    return it->second;
}

// Marks of the picture with a speck of subject or background every few
// hundred pixels, as JPEG noise leaves them.
const QImage& speckledMarks(int side) {
    static std::map<int, QImage> made;
    auto [it, added] = made.try_emplace(side);
    if (added) {
        QImage marks = marksByColour(picture(side), 0xFFFFFF, 10, false);
        quint32 seed = 12345;
        for (qint64 i = 0; i < qint64(side) * side / 300; ++i) {
            seed = seed * 1664525u + 1013904223u;
            const int x = int((seed >> 8) % quint32(side - 1));
            seed = seed * 1664525u + 1013904223u;
            const int y = int((seed >> 8) % quint32(side - 1));
            uchar* row = marks.scanLine(y);
            row[x] = row[x + 1] = uchar(kOpenBackground - row[x]);
        }
        it->second = marks;
    }
    return it->second;
}

// Despeckles a fresh copy of the speckled marks, made by a plain memcpy into
// one buffer kept for the size (QImage::copy takes several times longer).
QImage despeckled(int side) {
    static std::map<int, QImage> buffers;
    const QImage& speckled = speckledMarks(side);
    auto [it, added] = buffers.try_emplace(side, speckled.size(), speckled.format());
    std::memcpy(it->second.bits(), speckled.constBits(), size_t(speckled.sizeInBytes()));
    despeckle(it->second, 64);
    return it->second;
}

// The memcpy's buffers, written once so that no page is fresh.
struct CopyBuffers {
    std::vector<char> from;
    std::vector<char> to;
};

CopyBuffers& copyBuffers(int side) {
    static std::map<int, CopyBuffers> made;
    const size_t bytes = size_t(side) * size_t(side) * 4;
    auto [it, added] = made.try_emplace(side);
    if (added)
        it->second = CopyBuffers{std::vector<char>(bytes, 1), std::vector<char>(bytes, 0)};
    return it->second;
}

using Clock = std::chrono::steady_clock;

double copySeconds(CopyBuffers& buffers) {
    const auto start = Clock::now();
    std::memcpy(buffers.to.data(), buffers.from.data(), buffers.to.size());
    benchmark::ClobberMemory();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Operation {
    std::string name;
    std::function<QImage(const Bitmap&)> run;
    int referenceScale;   // the memcpy it is measured against: of the picture, or of one twice its side
};

void runOperation(benchmark::State& state, int side, const Operation& operation) {
    const Bitmap& source = picture(side);
    CopyBuffers& buffers = copyBuffers(side * operation.referenceScale);
    // The first picture of a size takes fresh pages from the system; later
    // ones reuse that memory, as the memcpy reuses its buffers.
    benchmark::DoNotOptimize(operation.run(source).constBits());
    copySeconds(buffers);
    double operationTotal = 0;
    double copyTotal = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        {
            const QImage result = operation.run(source);
            benchmark::DoNotOptimize(result.constBits());
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        operationTotal += seconds;
        copyTotal += copySeconds(buffers);
    }
    state.counters[kRatio] = operationTotal / copyTotal;
    state.counters[kCopyMs] = copyTotal * 1e3 / double(state.iterations());
}

// An operation that makes a picture, timed until the picture is made.
template <typename Make>
std::function<QImage(const Bitmap&)> making(Make make) {
    return [make](const Bitmap& b) { return make(b).image(); };
}

std::vector<Operation> operations() {
    const auto turn = [](TurnOrMirror how) {
        return making([how](const Bitmap& b) { return rotateOrFlipPicture(b, how); });
    };
    return {
        {"copy", making([](const Bitmap& b) { Bitmap c = b; c.rgb32(); return c; }), 1},
        {"fill", making([](const Bitmap& b) { return filled(b, 0x00FF00); }), 1},
        {"outline", making([](const Bitmap& b) { return outlined(b, 0x00FF00); }), 1},
        {"solid fill", making([](const Bitmap& b) { return solidFilled(b, 0x00FF00); }), 1},
        {"classify alpha", [](const Bitmap& b) { return marksByAlpha(alphaOf(b.width()), 50, false); }, 1},
        {"classify fuzz", [](const Bitmap& b) { return marksByColour(b, 0xFFFFFF, 10, false); }, 1},
        {"solid fuzz flood", [](const Bitmap& b) { return marksByColour(b, 0xFFFFFF, 10, true); }, 1},
        {"fuzz flood + trim",
         [](const Bitmap& b) {
             QImage marks = marksByColour(b, 0xFFFFFF, 10, true);
             trimHalfCovered(marks, b, 0xFFFFFF);
             return marks;
         },
         1},
        {"despeckle", [](const Bitmap& b) { return despeckled(b.width()); }, 1},
        {"turn 90", turn(TurnOrMirror::Turn90), 1},
        {"turn 180", turn(TurnOrMirror::Turn180), 1},
        {"turn 270", turn(TurnOrMirror::Turn270), 1},
        {"mirror left-right", turn(TurnOrMirror::MirrorLeftRight), 1},
        {"mirror top-bottom", turn(TurnOrMirror::MirrorTopBottom), 1},
        {"stretch 50%", making([](const Bitmap& b) { return stretched(b, b.width() / 2, b.height() / 2); }), 1},
        {"stretch 200%", making([](const Bitmap& b) { return stretched(b, b.width() * 2, b.height() * 2); }), 2},
        // A cut line 1 % of the side out, or in (3 mm at 300 dots per inch on a 4000-pixel side).
        {"offset +1%", making([](const Bitmap& b) { return maskPicture(grownMask(subjectMask(b), b.width() / 100.0)); }), 1},
        {"offset -1%", making([](const Bitmap& b) { return maskPicture(shrunkMask(subjectMask(b), b.width() / 100.0)); }), 1},
    };
}

std::string key(const std::string& name, int side) { return name + "/" + std::to_string(side); }

// Keeps each benchmark's counters while the console shows the usual lines;
// with repetitions, the median.
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& reports) override {
        for (const Run& run : reports) {
            if (run.error_occurred || run.run_type != Run::RT_Iteration)
                continue;
            for (const auto& [counter, value] : run.counters)
                values[{run.run_name.function_name, counter}].push_back(value.value);
        }
        ConsoleReporter::ReportRuns(reports);
    }

    double median(const std::string& name, const std::string& counter) {
        std::vector<double>& all = values[{name, counter}];
        if (all.empty())
            return -1;
        std::sort(all.begin(), all.end());
        return all[all.size() / 2];
    }

private:
    std::map<std::pair<std::string, std::string>, std::vector<double>> values;
};

void printCell(double value) {
    if (value < 0)
        std::printf("%12s", "-");
    else
        std::printf("%12.2f", value);
}

void printRatios(CollectingReporter& reporter) {
    std::printf("\nTime as a multiple of memcpy of the same picture (stretch 200%%: of the target)\n");
    std::printf("%-20s", "operation");
    for (int side : kSizes)
        std::printf("%12d", side);
    std::printf("\n");
    for (const Operation& op : operations()) {
        std::printf("%-20s", op.name.c_str());
        for (int side : kSizes)
            printCell(reporter.median(key(op.name, side), kRatio));
        std::printf("\n");
    }
    std::printf("%-20s", "(memcpy ms)");
    for (int side : kSizes)
        printCell(reporter.median(key("copy", side), kCopyMs));
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv) {
    for (int side : kSizes)
        for (const Operation& op : operations())
            benchmark::RegisterBenchmark(key(op.name, side).c_str(), runOperation, side, op)
                ->Unit(benchmark::kMillisecond)
                ->UseManualTime();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    printRatios(reporter);
    return 0;
}
