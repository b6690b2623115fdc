// SPDX-License-Identifier: GPL-2.0-or-later
#include "atomic_file.h"

// Qt
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

// Local
#include "file_io.h"

// Std
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pelmora {

AtomicFile::AtomicFile(const QString& path) {
    // A link is replaced at its target, as an editor saving through it would.
    const QFileInfo info(path);
    finalName_ = QFile::encodeName(info.isSymLink() && info.exists() ? info.canonicalFilePath() : path);
    if (finalName_.isEmpty())
        throwIoError(ENOENT);
    // A file that may not be written must not be replaced behind its back,
    // and a folder in the way is no place for a picture.
    struct stat old {};
    replacing_ = ::stat(finalName_.constData(), &old) == 0;
    if (replacing_) {
        if (S_ISDIR(old.st_mode))
            throwIoError(EISDIR);
        if (::access(finalName_.constData(), W_OK) != 0)
            throwIoError(errno);
    }
    const qsizetype slash = finalName_.lastIndexOf('/');
    const QByteArray folder = finalName_.left(slash + 1);
    const QByteArray name = finalName_.mid(slash + 1);
    do {
        temporaryName_ = folder + '.' + name + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        fd_ = ::open(temporaryName_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    } while (fd_ < 0 && errno == EEXIST);
    if (fd_ < 0)
        throwIoError(errno);
    // A replaced file keeps its rights.
    if (replacing_)
        ::fchmod(fd_, old.st_mode & 07777);
}

AtomicFile::~AtomicFile() {
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(temporaryName_.constData());
    }
}

void AtomicFile::write(const char* data, qsizetype size) {
    while (size > 0) {
        const ssize_t written = ::write(fd_, data, size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            throwIoError(written < 0 ? errno : EIO);
        data += written;
        size -= written;
    }
}

void AtomicFile::commit() {
    if (replacing_ && ::fdatasync(fd_) != 0)
        throwIoError(errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 || ::rename(temporaryName_.constData(), finalName_.constData()) != 0) {
        const int error = errno;
        ::unlink(temporaryName_.constData());
        throwIoError(error);
    }
}

void writeFileAtomically(const QString& path, const QByteArray& bytes) {
    AtomicFile file(path);
    file.write(bytes.constData(), bytes.size());
    file.commit();
}

} // namespace pelmora
