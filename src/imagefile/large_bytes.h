// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QByteArray>

namespace pelmora {

// An uninitialised byte array of the given size for a whole picture file.
// Large ones ask the kernel for huge pages first: faulting in 48 MB of 4 KB
// pages costs more than reading or writing a BMP file of that size.
// Throws PelmoraError(outOfMemoryText()) when there is no memory for it.
QByteArray largeByteArray(qsizetype size);

} // namespace pelmora
