// SPDX-License-Identifier: GPL-2.0-or-later
#include "file_io.h"

// Qt
#include <QFile>

// Local
#include "pelmora_error.h"
#include "large_bytes.h"
#include "picture_file_texts.h"

// Std
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pelmora {

QString ioErrorText(int errorNumber) {
    switch (errorNumber) {
    case ENOENT:
        return texts::fileNotFound();
    case ENAMETOOLONG:
    case ENOTDIR:
    case EINVAL:
    case EILSEQ:
        return texts::badFileName();
    case EMFILE:
    case ENFILE:
        return texts::tooManyOpenFiles();
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return texts::accessDenied();
    case ENOSPC:
    case EDQUOT:
        return texts::diskFull();
    default:
        return texts::ioError(errorNumber);
    }
}

void throwIoError(int errorNumber) {
    throw PelmoraError(ioErrorText(errorNumber));
}

ReadFile::ReadFile(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty())
        throwIoError(ENOENT);
    // Non-blocking, so that a named pipe under a picture's name cannot hang
    // the open; regular files read the same either way.
    fd_ = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0)
        throwIoError(errno);
    struct stat info {};
    const int error = ::fstat(fd_, &info) != 0 ? errno : S_ISDIR(info.st_mode) ? EISDIR : 0;
    if (error != 0) {
        ::close(fd_);
        throwIoError(error);
    }
    size_ = info.st_size;
}

ReadFile::~ReadFile() {
    ::close(fd_);
}

std::int64_t ReadFile::readUpTo(std::int64_t offset, void* out, std::int64_t count) const {
    auto* target = static_cast<char*>(out);
    std::int64_t done = 0;
    while (done < count) {
        const ssize_t got = ::pread(fd_, target + done, size_t(count - done), off_t(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += got;
    }
    return done;
}

QByteArray readFileBytes(const QString& path) {
    const ReadFile file(path);
    QByteArray bytes = largeByteArray(qsizetype(file.size()));
    // A file that shrank meanwhile is read as far as it goes.
    bytes.truncate(qsizetype(file.readUpTo(0, bytes.data(), bytes.size())));
    return bytes;
}

} // namespace pelmora
