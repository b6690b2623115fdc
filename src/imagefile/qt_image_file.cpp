// SPDX-License-Identifier: GPL-2.0-or-later
#include "qt_image_file.h"

// Qt
#include <QBuffer>
#include <QImageReader>

// Local
#include "le_bytes.h"
#include "pelmora_error.h"
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

// A GIF's frames are drawn on its logical screen, which may be far larger
// than the first frame that Qt gives as the size.
QSize declaredSize(const QByteArray& bytes, QtImageKind kind, QSize first) {
    if (kind != QtImageKind::Gif || bytes.size() < 10)
        return first;
    const LeReader r(bytes);
    return first.expandedTo(QSize(int(r.u16(6)), int(r.u16(8))));
}

} // namespace

QString qtImageKindName(QtImageKind kind) {
    return QString::fromLatin1(readerFormat(kind).toUpper());
}

Bitmap decodeQtImage(const QByteArray& bytes, QtImageKind kind) {
    limitImageReaders();
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, readerFormat(kind));
    // Refused from the header, before any pixel memory is taken: too large
    // to hold, or larger than the compressed data could honestly describe.
    const QSize size = declaredSize(bytes, kind, reader.size());
    if (size.isValid() && qint64(size.width()) * size.height() * 4 > qint64(QImageReader::allocationLimit()) << 20)
        throw PelmoraError(outOfMemoryText());
    if (size.isValid() && !declaredSizeFitsData(size.width(), size.height(), bytes.size()))
        throw PelmoraError(texts::invalidImage(qtImageKindName(kind)));
    QImage image;
    if (!reader.read(&image) || image.isNull())
        throw PelmoraError(texts::invalidImage(qtImageKindName(kind)));
    if (!image.hasAlphaChannel())
        return Bitmap(image);

    return Bitmap::drawnOnWhite(image);
}

} // namespace pelmora
