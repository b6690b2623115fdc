// SPDX-License-Identifier: GPL-2.0-or-later
#include "library_noise.h"

// Qt
#include <QString>
#include <QtGlobal>

// Std
#include <string>
#include <thread>
#include <unistd.h>

namespace pelmora::batch {

namespace {

std::FILE* messages = stderr;

// The platform's start-up remarks (no XDG_RUNTIME_DIR under cron or in a
// container) and the image plugins' warnings would read as more problems
// with the user's pictures.
void quietRemarks(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(messages, "%s\n", qUtf8Printable(message));
}

bool isLibraryNoise(const std::string& line) {
    return line.rfind("libpng ", 0) == 0;
}

void writeAll(int fd, const std::string& text) {
    for (size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0)
            return;
        done += size_t(n);
    }
}

// Passes each line on as soon as it is whole.
void filterLines(int from, int to) {
    std::string pending;
    char buffer[4096];
    for (ssize_t n; (n = ::read(from, buffer, sizeof buffer)) > 0;) {
        pending.append(buffer, size_t(n));
        for (size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1)) {
            const std::string line = pending.substr(0, end + 1);
            if (!isLibraryNoise(line))
                writeAll(to, line);
        }
    }
}

} // namespace

std::FILE* catchLibraryNoise() {
    qInstallMessageHandler(quietRemarks);
    const int original = ::dup(STDERR_FILENO);
    int pipeEnds[2];
    if (original < 0 || ::pipe(pipeEnds) != 0 || ::dup2(pipeEnds[1], STDERR_FILENO) < 0)
        return messages;
    ::close(pipeEnds[1]);
    std::thread(filterLines, pipeEnds[0], original).detach();
    if (std::FILE* stream = ::fdopen(original, "w")) {
        std::setvbuf(stream, nullptr, _IONBF, 0);
        messages = stream;
    }
    return messages;
}

} // namespace pelmora::batch
