// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QByteArray>
#include <QString>

namespace pelmora {

// Creates or replaces a file all or nothing: the bytes go to a new hidden
// file beside it, named with kTemporaryPrefix, which takes the final name
// only at commit, so a failure leaves an existing file exactly as it was and
// no file under a new name. Replacing a file makes the new bytes durable
// before the rename, since the old ones are lost with it; a new name has
// nothing to lose and skips that wait.
// A link is followed to the file it names, which gets the bytes while the
// link stays. A pipe, device or socket at the name is written as it is,
// straight and without a temporary; a folder is refused.
// Temporaries of ours in the folder that a killed write left behind are
// removed once they are a minute old.
// Every failure throws PelmoraError with the I/O texts; a file not committed
// is removed.
class AtomicFile {
public:
    explicit AtomicFile(const QString& path);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    void write(const char* data, qsizetype size);
    void commit();

private:
    QByteArray finalName_;
    QByteArray temporaryName_;   // empty when writing straight to the final name
    int fd_ = -1;
    bool replacing_ = false;
};

inline constexpr char kTemporaryPrefix[] = ".pelmora-tmp-";

void writeFileAtomically(const QString& path, const QByteArray& bytes);

// The name a write to path creates or replaces: path with the links at its
// end followed.
QString writtenFile(const QString& path);

} // namespace pelmora
