// SPDX-License-Identifier: GPL-2.0-or-later
#include "atomic_file.h"

// Qt
#include <QFile>
#include <QRandomGenerator>

// Local
#include "file_io.h"
#include "pelmora_error.h"
#include "picture_file_texts.h"

// Std
#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pelmora {

namespace {

// As many links as the system itself follows; past that, the name is left
// for stat to report the loop.
constexpr int kMostLinks = 40;
constexpr time_t kStaleSeconds = 60;

QByteArray followLinks(QByteArray name) {
    for (int hops = 0; hops < kMostLinks; ++hops) {
        char target[PATH_MAX];
        const ssize_t size = ::readlink(name.constData(), target, sizeof target);
        if (size < 0 || size_t(size) >= sizeof target)
            break;
        const QByteArray next(target, size);
        name = next.startsWith('/') ? next : name.left(name.lastIndexOf('/') + 1) + next;
    }
    return name;
}

// A temporary is rewritten all the while its write goes on, so one left
// alone for a minute belongs to a write that was killed. Only our own
// regular files are touched.
void removeStaleTemporaries(const QByteArray& folder) {
    DIR* dir = ::opendir(folder.isEmpty() ? "." : folder.constData());
    if (!dir)
        return;
    const time_t now = ::time(nullptr);
    const size_t prefixLength = std::strlen(kTemporaryPrefix);
    while (const dirent* entry = ::readdir(dir)) {
        struct stat info {};
        if (std::strncmp(entry->d_name, kTemporaryPrefix, prefixLength) == 0
            && ::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode)
            && info.st_uid == ::geteuid() && now - info.st_mtime > kStaleSeconds)
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

} // namespace

AtomicFile::AtomicFile(const QString& path) : finalName_(followLinks(QFile::encodeName(path))) {
    if (finalName_.isEmpty())
        throwIoError(ENOENT);
    struct stat old {};
    replacing_ = ::stat(finalName_.constData(), &old) == 0;
    if (!replacing_ && errno != ENOENT)
        throwIoError(errno);
    if (replacing_ && S_ISDIR(old.st_mode))
        throw PelmoraError(texts::folderInTheWay());
    // A pipe's reader or a device expects the bytes there; a file put in
    // its place would lose it.
    if (replacing_ && !S_ISREG(old.st_mode)) {
        fd_ = ::open(finalName_.constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (fd_ < 0)
            throwIoError(errno);
        return;
    }
    // A file that may not be written must not be replaced behind its back.
    if (replacing_ && ::access(finalName_.constData(), W_OK) != 0)
        throwIoError(errno);
    const QByteArray folder = finalName_.left(finalName_.lastIndexOf('/') + 1);
    removeStaleTemporaries(folder);
    do {
        temporaryName_ = folder + kTemporaryPrefix + QByteArray::number(QRandomGenerator::global()->generate(), 36);
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
        if (!temporaryName_.isEmpty())
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
    const int fd = fd_;
    if (temporaryName_.isEmpty()) {
        fd_ = -1;
        if (::close(fd) != 0)
            throwIoError(errno);
        return;
    }
    if (replacing_ && ::fdatasync(fd) != 0)
        throwIoError(errno);
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

QString writtenFile(const QString& path) {
    return QFile::decodeName(followLinks(QFile::encodeName(path)));
}

} // namespace pelmora
