#include "atomic_file.h"

// Qt
#include <QFile>
#include <QSaveFile>

// Local
#include "file_io.h"

// Std
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace pelmora {

namespace {

// QSaveFile does not report the system's error number; the last one set by
// its failed call is the best account, and EIO stands in when there is none.
[[noreturn]] void failWith(int errorNumber) {
    throwIoError(errorNumber != 0 ? errorNumber : EIO);
}

} // namespace

void writeFileAtomically(const QString& path, const QByteArray& bytes) {
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty())
        throwIoError(ENOENT);
    // A file that may not be written must not be replaced behind its back,
    // and a folder in the way is no place for a picture.
    struct stat info {};
    if (::stat(name.constData(), &info) == 0) {
        if (S_ISDIR(info.st_mode))
            throwIoError(EISDIR);
        if (::access(name.constData(), W_OK) != 0)
            throwIoError(errno);
    }

    // Unbuffered: a buffered QSaveFile loses the error of a short write made
    // while flushing (a full disk) and would commit a cut file.
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        failWith(errno);
    for (qsizetype done = 0; done < bytes.size();) {
        errno = 0;
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            const int error = errno;
            file.cancelWriting();
            failWith(error);
        }
        done += written;
    }
    errno = 0;
    if (!file.commit())
        failWith(errno);
}

} // namespace pelmora
