// Times the picture operations beside a plain memcpy of the same picture and
// prints each as a ratio to it, so the figures hold on a busy machine.

// Qt
#include <QImage>
#include <QPainter>

// Local
#include "imageops/bitmap.h"
#include "imageops/fill.h"
#include "imageops/outline.h"
#include "imageops/rotate_mirror.h"
#include "imageops/stretch_copy.h"

// Std
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace pelmora;

namespace {

constexpr int kSizes[] = {1000, 4000, 8000};

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

void copyBytes(benchmark::State& state, int side) {
    const size_t bytes = size_t(side) * size_t(side) * 4;
    std::vector<char> from(bytes, 1);
    std::vector<char> to(bytes, 0);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}

void runOperation(benchmark::State& state, int side, const std::function<Bitmap(const Bitmap&)>& operation) {
    const Bitmap& source = picture(side);
    // The first picture of a size takes fresh pages from the system; later
    // ones reuse that memory, as the memcpy reuses its buffers.
    benchmark::DoNotOptimize(operation(source).image().constBits());
    for (auto _ : state) {
        Bitmap result = operation(source);
        benchmark::DoNotOptimize(result.image().constBits());
    }
}

struct Operation {
    std::string name;
    std::function<Bitmap(const Bitmap&)> run;
    int referenceScale;   // the memcpy it is measured against: side, or twice the side
};

std::vector<Operation> operations() {
    const auto turn = [](int code) { return [code](const Bitmap& b) { return rotateOrFlipPicture(b, code); }; };
    return {
        {"copy", [](const Bitmap& b) { Bitmap c = b; c.rgb32().bits(); return c; }, 1},
        {"fill", [](const Bitmap& b) { return filled(b, 0x00FF00); }, 1},
        {"outline", [](const Bitmap& b) { return outlined(b, 0x00FF00); }, 1},
        {"turn 90", turn(kTurn90), 1},
        {"turn 180", turn(kTurn180), 1},
        {"turn 270", turn(kTurn270), 1},
        {"mirror left-right", turn(kMirrorLeftRight), 1},
        {"mirror top-bottom", turn(kMirrorTopBottom), 1},
        {"stretch 50%", [](const Bitmap& b) { return stretched(b, b.width() / 2, b.height() / 2); }, 1},
        {"stretch 200%", [](const Bitmap& b) { return stretched(b, b.width() * 2, b.height() * 2); }, 2},
    };
}

std::string key(const std::string& name, int side) { return name + "/" + std::to_string(side); }

// Keeps each benchmark's time per iteration while the console shows the usual lines.
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& reports) override {
        // With repetitions, the fastest: the one least disturbed by the rest of the machine.
        for (const Run& run : reports) {
            if (run.error_occurred || run.iterations == 0 || run.run_type != Run::RT_Iteration)
                continue;
            const double time = run.real_accumulated_time / double(run.iterations);
            const auto [it, added] = seconds.emplace(run.run_name.function_name, time);
            if (!added && time < it->second)
                it->second = time;
        }
        ConsoleReporter::ReportRuns(reports);
    }
    std::map<std::string, double> seconds;
};

void printRatios(const std::map<std::string, double>& seconds) {
    std::printf("\nTime as a multiple of memcpy of the same picture (stretch 200%%: of the target)\n");
    std::printf("%-20s", "operation");
    for (int side : kSizes)
        std::printf("%12d", side);
    std::printf("\n");
    for (const Operation& op : operations()) {
        std::printf("%-20s", op.name.c_str());
        for (int side : kSizes) {
            const auto time = seconds.find(key(op.name, side));
            const auto reference = seconds.find(key("memcpy", side * op.referenceScale));
            if (time == seconds.end() || reference == seconds.end())
                std::printf("%12s", "-");
            else
                std::printf("%12.2f", time->second / reference->second);
        }
        std::printf("\n");
    }
    std::printf("%-20s", "memcpy ms");
    for (int side : kSizes) {
        const auto reference = seconds.find(key("memcpy", side));
        if (reference == seconds.end())
            std::printf("%12s", "-");
        else
            std::printf("%12.2f", reference->second * 1e3);
    }
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv) {
    for (int side : kSizes) {
        for (int scale : {1, 2})
            benchmark::RegisterBenchmark(key("memcpy", side * scale).c_str(), copyBytes, side * scale)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
        for (const Operation& op : operations())
            benchmark::RegisterBenchmark(key(op.name, side).c_str(), runOperation, side, op.run)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    printRatios(reporter.seconds);
    return 0;
}
