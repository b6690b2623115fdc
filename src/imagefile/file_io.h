// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QByteArray>
#include <QString>

// Local
#include "byte_source.h"

namespace pelmora {

// The text shown for a failed file operation, chosen by the system's error
// number: 2 missing file, 3 bad name, 4 too many open files, 5 access denied,
// a full disk or quota, "I/O エラー (n)" for anything else.
QString ioErrorText(int errorNumber);

// Throws PelmoraError(ioErrorText(errorNumber)).
[[noreturn]] void throwIoError(int errorNumber);

// A file open for reading, read where the caller asks. Opening throws
// PelmoraError with the I/O texts; a read error past the opening counts as
// the file ending there.
class ReadFile : public ByteSource {
public:
    explicit ReadFile(const QString& path);
    ~ReadFile() override;
    ReadFile(const ReadFile&) = delete;
    ReadFile& operator=(const ReadFile&) = delete;

    std::int64_t size() const override { return size_; }
    std::int64_t readUpTo(std::int64_t offset, void* out, std::int64_t count) const override;

private:
    int fd_ = -1;
    std::int64_t size_ = 0;
};

// The whole content of a file, read without changing it. Throws
// PelmoraError with the I/O texts when it cannot be read.
QByteArray readFileBytes(const QString& path);

} // namespace pelmora
