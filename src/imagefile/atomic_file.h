#pragma once

// Qt
#include <QByteArray>
#include <QString>

namespace pelmora {

// Creates or replaces the file at path with bytes, all or nothing: the new
// content appears under the name only once it is completely on disk, so a
// failure leaves an existing file exactly as it was. Throws PelmoraError
// with the I/O texts.
void writeFileAtomically(const QString& path, const QByteArray& bytes);

} // namespace pelmora
