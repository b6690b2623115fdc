// SPDX-License-Identifier: GPL-2.0-or-later
#include "batch_runner.h"

// Qt
#include <QDir>
#include <QFileInfo>

// Local
#include "batch_job.h"
#include "picture_memory.h"

// Std
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <optional>
#include <thread>
#include <unistd.h>
#include <vector>

namespace pelmora::batch {

namespace {

class Printer {
public:
    Printer(const Options& options, qsizetype count)
        : options_(options), results_(size_t(count)), progress_(isatty(STDERR_FILENO) == 1) {}

    void finished(qsizetype index, JobResult result) {
        const std::lock_guard lock(mutex_);
        results_[size_t(index)] = std::move(result);
        ++done_;
        clearProgress();
        while (printed_ < results_.size() && results_[printed_]) {
            print(options_.inputs[qsizetype(printed_)], *results_[printed_]);
            ++printed_;
        }
        drawProgress(options_.inputs[index], -1);
    }

    // How far a slow step of an input in work is, from 0 to 1.
    void advanced(qsizetype index, double done) {
        if (!progress_)
            return;
        const std::lock_guard lock(mutex_);
        clearProgress();
        drawProgress(options_.inputs[index], int(done * 100));
    }

    void end() {
        const std::lock_guard lock(mutex_);
        clearProgress();
    }

    bool allOk() const {
        return std::all_of(results_.begin(), results_.end(), [](const auto& r) { return r && r->ok; });
    }

private:
    void print(const QString& input, const JobResult& result) {
        if (!result.ok && !result.output.isEmpty())
            std::fprintf(stderr, "%s -> %s: %s\n", qUtf8Printable(input), qUtf8Printable(result.output),
                         qUtf8Printable(result.line));
        else if (!result.ok)
            std::fprintf(stderr, "%s: %s\n", qUtf8Printable(input), qUtf8Printable(result.line));
        else if (!result.line.isEmpty())
            std::printf("%s\t%s\n", qUtf8Printable(input), qUtf8Printable(result.line));
        std::fflush(stdout);
    }

    // percent < 0: none shown.
    void drawProgress(const QString& input, int percent) {
        if (!progress_)
            return;
        std::fprintf(stderr, "[%zu/%zu] %s", done_, results_.size(), qUtf8Printable(QFileInfo(input).fileName()));
        if (percent >= 0)
            std::fprintf(stderr, " %d%%", percent);
        std::fflush(stderr);
    }

    void clearProgress() {
        if (!progress_)
            return;
        std::fputs("\r\033[K", stderr);
    }

    const Options& options_;
    std::vector<std::optional<JobResult>> results_;
    size_t printed_ = 0;
    size_t done_ = 0;
    const bool progress_;
    std::mutex mutex_;
};

} // namespace

int runAll(const Options& options) {
    const qsizetype count = options.inputs.size();
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const qsizetype workers = std::min<qsizetype>(count, options.jobs > 0 ? options.jobs : qsizetype(cores));
    // Pictures read at once share the memory one picture could have.
    sharePictureMemory(int(std::max<qsizetype>(workers, 1)));

    // Like mkdir -p: a missing output folder is made; if that fails, each
    // write reports why.
    if (!options.outputFolder.isEmpty())
        QDir().mkpath(options.outputFolder);

    Printer printer(options, count);
    std::atomic<qsizetype> next {0};
    const auto work = [&] {
        for (qsizetype i = next++; i < count; i = next++)
            printer.finished(i, runJob(options, options.inputs[i], [&printer, i](double done) {
                printer.advanced(i, done);
            }));
    };
    std::vector<std::thread> threads;
    for (qsizetype t = 1; t < workers; ++t)
        threads.emplace_back(work);
    work();
    for (std::thread& thread : threads)
        thread.join();
    printer.end();
    return printer.allOk() ? 0 : 1;
}

} // namespace pelmora::batch
