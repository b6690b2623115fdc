// SPDX-License-Identifier: GPL-2.0-or-later
// Times reading and writing whole picture files beside a plain memcpy of the
// same picture and prints each as a ratio to it, so the figures hold on a
// busy machine. The picture is 4000 x 4000 in 24-bit colour, held in 32-bit
// rows as the readers give it.

// Qt
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

// Local
#include "bmp_file.h"
#include "jpeg_file.h"
#include "import_picture.h"
#include "save_picture.h"
#include "bitmap.h"
#include "rotate_mirror.h"

// Std
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

using namespace pelmora;

namespace {

constexpr int kSide = 4000;

// Smooth colour with grain, as a photograph has: JPEG has real work to do.
const Bitmap& picture() {
    static const Bitmap made = [] {
        QImage image(kSide, kSide, QImage::Format_RGB32);
        quint32 seed = 12345;
        for (int y = 0; y < kSide; ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < kSide; ++x) {
                seed = seed * 1664525u + 1013904223u;
                const int grain = int(seed >> 28) - 8;
                line[x] = qRgb(std::clamp((x * 255 / kSide) + grain, 0, 255),
                               std::clamp((y * 255 / kSide) + grain, 0, 255),
                               std::clamp(((x + y) * 97 / kSide) % 256 + grain, 0, 255));
            }
        }
        return Bitmap(image, 24);
    }();
    return made;
}

struct Files {
    QTemporaryDir dir;
    QString bmp = dir.filePath(QStringLiteral("in.bmp"));
    QString jpeg = dir.filePath(QStringLiteral("in.jpg"));
    QString out = dir.filePath(QStringLiteral("out"));
    Files() {
        saveAsBitmap(picture(), bmp);
        saveAsJpeg(picture(), jpeg);
    }
};

Files& files() {
    static Files made;
    return made;
}

void copyBytes(benchmark::State& state) {
    const size_t bytes = size_t(kSide) * kSide * 3;
    std::vector<char> from(bytes, 1);
    std::vector<char> to(bytes, 0);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}

struct Case {
    std::string name;
    std::function<void()> run;
};

std::vector<Case> cases() {
    return {
        {"bmp read file", [] { benchmark::DoNotOptimize(importPicture(files().bmp, PictureKind::Bitmap)); }},
        {"bmp write file", [] { saveAsBitmap(picture(), files().out); }},
        {"bmp write new file", [] {
             QFile::remove(files().out);
             saveAsBitmap(picture(), files().out);
         }},
        {"bmp outline by rows", [] {
             QFile::remove(files().out);
             saveShadowOfBitmapFile(files().bmp, files().out, RowShadow::Outline, 0, [] {});
         }},
        {"bmp write turned", [] {
             QFile::remove(files().out);
             saveTurnedAsBitmap(picture(), TurnOrMirror::Turn90, files().out);
         }},
        {"bmp encode only", [] { benchmark::DoNotOptimize(encodeBmp(picture())); }},
        {"jpeg read file", [] { benchmark::DoNotOptimize(importPicture(files().jpeg, PictureKind::Jpeg)); }},
        {"jpeg write file", [] { saveAsJpeg(picture(), files().out); }},
        {"jpeg encode only", [] { benchmark::DoNotOptimize(encodeJpeg(picture(), 90)); }},
    };
}

void runCase(benchmark::State& state, const std::function<void()>& work) {
    files();
    for (auto _ : state)
        work();
}

class CollectingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& reports) override {
        for (const Run& run : reports)
            if (!run.error_occurred && run.iterations > 0)
                seconds[run.run_name.function_name] = run.real_accumulated_time / double(run.iterations);
        ConsoleReporter::ReportRuns(reports);
    }
    std::map<std::string, double> seconds;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::RegisterBenchmark("memcpy", copyBytes)->Unit(benchmark::kMillisecond)->UseRealTime();
    for (const Case& c : cases())
        benchmark::RegisterBenchmark(c.name.c_str(), runCase, c.run)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto reference = reporter.seconds.find("memcpy");
    if (reference == reporter.seconds.end())
        return 0;
    std::printf("\n%d x %d, 24-bit: time as a multiple of memcpy of the same %.0f MB (%.2f ms)\n", kSide, kSide,
                kSide * double(kSide) * 3 / 1e6, reference->second * 1e3);
    for (const Case& c : cases()) {
        const auto time = reporter.seconds.find(c.name);
        if (time != reporter.seconds.end())
            std::printf("%-20s%10.2f ms%10.1f x\n", c.name.c_str(), time->second * 1e3, time->second / reference->second);
    }
    return 0;
}
