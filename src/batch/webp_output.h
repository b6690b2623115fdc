// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QString>

// Local
#include "row_picture.h"

namespace pelmora::batch {

// Writes the picture as a lossless WebP file with its alpha, through Qt's
// WebP plugin. The file is replaced all or nothing; throws PelmoraError
// when the plugin is missing or the file cannot be written.
void saveWebp(const RowPicture& picture, const QString& path);

} // namespace pelmora::batch
