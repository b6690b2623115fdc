// SPDX-License-Identifier: GPL-2.0-or-later
#include "batch_runner.h"

// Qt
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

// Local
#include "atomic_file.h"
#include "batch_job.h"
#include "picture_memory.h"

// Std
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <mutex>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <thread>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace pelmora::batch {

namespace {

class Printer {
public:
    Printer(const Options& options, qsizetype count, std::FILE* messages)
        : options_(options), results_(size_t(count)), messages_(messages), progress_(isatty(fileno(messages)) == 1) {}

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
        if (result.skipped)
            std::fprintf(messages_, "%s -> %s: %s\n", qUtf8Printable(input), qUtf8Printable(result.output),
                         qUtf8Printable(QCoreApplication::translate("batch", "exists; skipped")));
        else if (!result.ok && !result.output.isEmpty())
            std::fprintf(messages_, "%s -> %s: %s\n", qUtf8Printable(input), qUtf8Printable(result.output),
                         qUtf8Printable(result.line));
        else if (!result.ok)
            std::fprintf(messages_, "%s: %s\n", qUtf8Printable(input), qUtf8Printable(result.line));
        else if (!result.notice.isEmpty())
            std::fprintf(messages_, "%s: %s\n", qUtf8Printable(input), qUtf8Printable(result.notice));
        if (result.ok && !result.line.isEmpty())
            std::printf("%s\t%s\n", qUtf8Printable(input), qUtf8Printable(result.line));
        std::fflush(stdout);
    }

    // percent < 0: none shown.
    void drawProgress(const QString& input, int percent) {
        if (!progress_)
            return;
        std::fprintf(messages_, "[%zu/%zu] %s", done_, results_.size(), qUtf8Printable(QFileInfo(input).fileName()));
        if (percent >= 0)
            std::fprintf(messages_, " %d%%", percent);
        std::fflush(messages_);
    }

    void clearProgress() {
        if (!progress_)
            return;
        std::fputs("\r\033[K", messages_);
    }

    const Options& options_;
    std::vector<std::optional<JobResult>> results_;
    std::FILE* const messages_;
    size_t printed_ = 0;
    size_t done_ = 0;
    const bool progress_;
    std::mutex mutex_;
};

// Which file a name leads to: the device and inode of one that exists, else
// the name it would be made under, its folder with every link followed.
using FileKey = std::tuple<dev_t, ino_t, QString>;

std::optional<FileKey> keyOf(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) == 0)
        return FileKey{info.st_dev, info.st_ino, QString()};
    if (errno != ENOENT)
        return std::nullopt;
    const QFileInfo file(path);
    const QString folder = file.dir().canonicalPath();
    if (folder.isEmpty())
        return std::nullopt;
    return FileKey{0, 0, QDir(folder).filePath(file.fileName())};
}

// Why each input's result may not be written, or nothing: links can lead
// an output onto an input or onto an earlier output, which the names alone
// do not show.
std::vector<QString> refusals(const Options& options) {
    std::vector<QString> reasons(size_t(options.inputs.size()));
    if (options.info)
        return reasons;
    std::set<FileKey> inputs, outputs;
    for (const QString& input : options.inputs)
        if (const std::optional<FileKey> key = isStandardStream(input) ? std::nullopt : keyOf(input))
            inputs.insert(*key);
    for (qsizetype i = 0; i < options.inputs.size(); ++i) {
        const QString output = outputPathFor(options, options.inputs[i]);
        const std::optional<FileKey> key = isStandardStream(output) ? std::nullopt : keyOf(writtenFile(output));
        if (!key)
            continue;
        if (inputs.count(*key))
            reasons[size_t(i)] = QCoreApplication::translate("batch", "would replace an input");
        else if (!outputs.insert(*key).second)
            reasons[size_t(i)] = QCoreApplication::translate("batch", "would replace another output of this run");
    }
    return reasons;
}

// -n keeps whatever stands at an output's name, a dangling link included.
bool kept(const Options& options, const QString& output) {
    struct stat info {};
    return options.noClobber && !isStandardStream(output)
           && ::lstat(QFile::encodeName(output).constData(), &info) == 0;
}

} // namespace

int runAll(const Options& options, std::FILE* messages) {
    const qsizetype count = options.inputs.size();
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const qsizetype workers = std::min<qsizetype>(count, options.jobs > 0 ? options.jobs : qsizetype(cores));
    // Pictures read at once share the memory one picture could have.
    sharePictureMemory(int(std::max<qsizetype>(workers, 1)));

    // Like mkdir -p: a missing output folder is made; if that fails, each
    // write reports why.
    if (!options.outputFolder.isEmpty())
        QDir().mkpath(options.outputFolder);

    // Standard input is read whole into a file first: the readers look at
    // a file's first bytes, then read it again from the start.
    QTemporaryDir spool(QDir::temp().filePath(QStringLiteral("pelmora-batch-XXXXXX")));
    QStringList sources = options.inputs;
    for (QString& source : sources)
        if (isStandardStream(source)) {
            QFile in, copy(spool.filePath(QStringLiteral("standard-input")));
            if (in.open(stdin, QIODevice::ReadOnly) && copy.open(QIODevice::WriteOnly)
                && copy.write(in.readAll()) >= 0 && copy.flush())
                source = copy.fileName();
        }

    const std::vector<QString> refused = refusals(options);
    Printer printer(options, count, messages);
    std::atomic<qsizetype> next {0};
    const auto work = [&] {
        for (qsizetype i = next++; i < count; i = next++) {
            const QString& input = options.inputs[i];
            const QString output = options.info ? QString() : outputPathFor(options, input);
            if (!options.info && kept(options, output))
                printer.finished(i, {true, QString(), output, true});
            else if (!refused[size_t(i)].isEmpty())
                printer.finished(i, {false, refused[size_t(i)], output});
            else
                printer.finished(i, runJob(options, input, sources[i],
                                           [&printer, i](double done) { printer.advanced(i, done); }));
        }
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
