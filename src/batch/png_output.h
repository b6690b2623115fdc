// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QByteArray>
#include <QString>

// Local
#include "row_picture.h"

namespace pelmora::batch {

// Writes the picture, asking for each row up to twice (once to choose the
// file's type, once to write it), as the smallest lossless PNG of the kinds below that
// holds it: at most 256 colour and alpha combinations as a palette of 1, 2,
// 4 or 8 bits with the transparency of its entries; grey as grey (of the
// fewest bits its levels allow) or grey with alpha; otherwise RGB or RGBA.
// The file is replaced all or nothing. Throws PelmoraError for a picture of
// no pixels, which PNG cannot hold, and when the file cannot be written.
void savePng(const RowPicture& picture, const QString& path);
// The same file's bytes.
QByteArray encodePng(const RowPicture& picture);

} // namespace pelmora::batch
