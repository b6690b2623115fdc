// SPDX-License-Identifier: GPL-2.0-or-later
#include "webp_output.h"

// Qt
#include <QBuffer>
#include <QCoreApplication>
#include <QImageWriter>

// Local
#include "atomic_file.h"
#include "bitmap.h"
#include "pelmora_error.h"

namespace pelmora::batch {

void saveWebp(const RowPicture& picture, const QString& path) {
    if (picture.width <= 0 || picture.height <= 0)
        throw PelmoraError(QCoreApplication::translate("batch", "a WebP file cannot hold a picture of no pixels"));
    QImage image = allocateImage(picture.width, picture.height, QImage::Format_ARGB32);
    for (int y = 0; y < picture.height; ++y)
        picture.rows(y, reinterpret_cast<QRgb*>(image.scanLine(y)));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "webp");
    // Qt's plugin writes lossless WebP at the highest quality.
    writer.setQuality(100);
    if (!writer.write(image))
        throw PelmoraError(
            QCoreApplication::translate("batch", "the WebP file could not be made: %1").arg(writer.errorString()));
    writeFileAtomically(path, bytes);
}

} // namespace pelmora::batch
