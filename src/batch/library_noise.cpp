// SPDX-License-Identifier: GPL-2.0-or-later
#include "library_noise.h"

// Qt
#include <QString>
#include <QtGlobal>

// Std
#include <string>

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

// The stream's own lock keeps its writers apart; `cookie` holds the line
// begun so far.
ssize_t passWholeLines(void* cookie, const char* data, size_t size) {
    std::string& pending = *static_cast<std::string*>(cookie);
    pending.append(data, size);
    for (size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1)) {
        const std::string line = pending.substr(0, end + 1);
        if (!isLibraryNoise(line))
            std::fwrite(line.data(), 1, line.size(), messages);
    }
    return ssize_t(size);
}

} // namespace

std::FILE* catchLibraryNoise() {
    qInstallMessageHandler(quietRemarks);
    static std::string pending;
    std::FILE* filtered = ::fopencookie(&pending, "w", {nullptr, passWholeLines, nullptr, nullptr});
    if (!filtered)
        return messages;
    std::setvbuf(filtered, nullptr, _IOLBF, 0);
    // The C library lets stderr be set; what reaches descriptor 2 directly,
    // such as a crash report, is untouched.
    stderr = filtered;
    return messages;
}

} // namespace pelmora::batch
