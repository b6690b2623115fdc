// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QString>

namespace pelmora {

// The size of the file on disk, measured without changing it. Throws
// PelmoraError with the I/O error texts when it cannot be measured.
qint64 fileSizeOnDisk(const QString& path);

// A byte count as the size labels show it ("800 byt", "1.3 KB", "4.77 MB").
QString fileSizeText(qint64 bytes);

} // namespace pelmora
