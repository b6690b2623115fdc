// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QByteArray>
#include <QString>

namespace pelmora {

// Creates or replaces a file all or nothing: the bytes go to a new file
// beside it, which takes the final name only at commit, so a failure leaves
// an existing file exactly as it was and no file under a new name. Replacing
// a file makes the new bytes durable before the rename, since the old ones
// are lost with it; a new name has nothing to lose and skips that wait.
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
    QByteArray temporaryName_;
    int fd_ = -1;
    bool replacing_ = false;
};

void writeFileAtomically(const QString& path, const QByteArray& bytes);

} // namespace pelmora
