#include "file_io.h"

// Qt
#include <QFile>

// Local
#include "imageops/pelmora_error.h"
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
    default:
        return texts::ioError(errorNumber);
    }
}

void throwIoError(int errorNumber) {
    throw PelmoraError(ioErrorText(errorNumber));
}

QByteArray readFileBytes(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty())
        throwIoError(ENOENT);
    // Non-blocking, so that a named pipe under a picture's name cannot hang
    // the open; regular files read the same either way.
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        throwIoError(errno);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};

    struct stat info {};
    if (::fstat(fd, &info) != 0)
        throwIoError(errno);
    if (S_ISDIR(info.st_mode))
        throwIoError(EISDIR);

    QByteArray bytes = largeByteArray(qsizetype(info.st_size));
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throwIoError(errno);
        }
        if (got == 0)
            break;   // the file shrank meanwhile
        done += got;
    }
    bytes.truncate(done);
    return bytes;
}

} // namespace pelmora
