// SPDX-License-Identifier: GPL-2.0-or-later
#include "qt_image_file.h"

// Qt
#include <QBuffer>
#include <QImageReader>

// Local
#include "pelmora_error.h"
#include "open_picture.h"
#include "picture_file_texts.h"
#include "reader_limits.h"

namespace pelmora {

namespace {

QByteArray readerFormat(QtImageKind kind) {
    switch (kind) {
    case QtImageKind::Png: return QByteArrayLiteral("png");
    case QtImageKind::Gif: return QByteArrayLiteral("gif");
    case QtImageKind::Tiff: return QByteArrayLiteral("tiff");
    case QtImageKind::Webp: return QByteArrayLiteral("webp");
    }
    return QByteArray();
}

} // namespace

std::optional<QtImageKind> qtImageKindOf(const QString& path) {
    const QString ext = pictureExtension(path);
    if (ext == QLatin1String(".png"))
        return QtImageKind::Png;
    if (ext == QLatin1String(".gif"))
        return QtImageKind::Gif;
    if (ext == QLatin1String(".tif") || ext == QLatin1String(".tiff"))
        return QtImageKind::Tiff;
    if (ext == QLatin1String(".webp"))
        return QtImageKind::Webp;
    return std::nullopt;
}

QString qtImageKindName(QtImageKind kind) {
    return QString::fromLatin1(readerFormat(kind).toUpper());
}

Bitmap decodeQtImage(const QByteArray& bytes, QtImageKind kind) {
    limitImageReaders();
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, readerFormat(kind));
    // Refused from the header, before any pixel memory is taken.
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() * 4 > qint64(QImageReader::allocationLimit()) << 20)
        throw PelmoraError(outOfMemoryText());
    QImage image;
    if (!reader.read(&image) || image.isNull())
        throw PelmoraError(texts::invalidImage(qtImageKindName(kind)));
    if (!image.hasAlphaChannel())
        return Bitmap(image);

    return Bitmap::drawnOnWhite(image);
}

} // namespace pelmora
