// SPDX-License-Identifier: GPL-2.0-or-later
#include "library_noise.h"

// Qt
#include <QtGlobal>

// Std
#include <cstring>
#include <string>
#include <thread>
#include <unistd.h>

namespace pelmora::batch {

namespace {

QtMessageHandler defaultHandler = nullptr;

void quietRemarks(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        defaultHandler(type, context, message);
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
    const int original = ::dup(STDERR_FILENO);
    int pipeEnds[2];
    if (original < 0 || ::pipe(pipeEnds) != 0 || ::dup2(pipeEnds[1], STDERR_FILENO) < 0)
        return stderr;
    ::close(pipeEnds[1]);
    std::thread(filterLines, pipeEnds[0], original).detach();
    std::FILE* messages = ::fdopen(original, "w");
    if (!messages)
        return stderr;
    std::setvbuf(messages, nullptr, _IONBF, 0);
    return messages;
}

void quietQtMessages() {
    defaultHandler = qInstallMessageHandler(quietRemarks);
}

} // namespace pelmora::batch
