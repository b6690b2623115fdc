#pragma once

// Qt
#include <QByteArray>
#include <QString>

namespace pelmora {

// The text shown for a failed file operation, chosen by the system's error
// number: 2 missing file, 3 bad name, 4 too many open files, 5 access denied,
// "I/O エラー (n)" for anything else.
QString ioErrorText(int errorNumber);

// Throws PelmoraError(ioErrorText(errorNumber)).
[[noreturn]] void throwIoError(int errorNumber);

// The whole content of a file, read without changing it. Throws
// PelmoraError with the I/O texts when it cannot be read.
QByteArray readFileBytes(const QString& path);

} // namespace pelmora
