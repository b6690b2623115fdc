// SPDX-License-Identifier: GPL-2.0-or-later
#include "input_picture.h"

// Qt
#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImageReader>
#include <QStringList>

// Local
#include "file_io.h"
#include "icon_file.h"
#include "import_picture.h"
#include "subject_marks.h"

// Std
#include <algorithm>
#include <sys/stat.h>

namespace pelmora::batch {

namespace {

// Enough for every signature below: an EMF names itself at byte 40.
constexpr qsizetype kSignatureBytes = 44;

bool startsWith(const QByteArray& bytes, qsizetype at, QByteArrayView signature) {
    return bytes.size() >= at + signature.size() && bytes.mid(at, signature.size()) == signature;
}

} // namespace

std::optional<InputKind> inputKindOfContent(const QByteArray& start) {
    if (startsWith(start, 0, "\x89PNG\r\n\x1a\n"))
        return QtImageKind::Png;
    if (startsWith(start, 0, "GIF87a") || startsWith(start, 0, "GIF89a"))
        return QtImageKind::Gif;
    if (startsWith(start, 0, QByteArrayView("II*\0", 4)) || startsWith(start, 0, QByteArrayView("MM\0*", 4)))
        return QtImageKind::Tiff;
    if (startsWith(start, 0, "RIFF") && startsWith(start, 8, "WEBP"))
        return QtImageKind::Webp;
    if (startsWith(start, 0, "\xff\xd8\xff"))
        return PictureKind::Jpeg;
    if (startsWith(start, 0, "BM"))
        return PictureKind::Bitmap;
    if (startsWith(start, 0, "\xd7\xcd\xc6\x9a"))
        return PictureKind::Wmf;
    if (startsWith(start, 0, QByteArrayView("\1\0\0\0", 4)) && startsWith(start, 40, " EMF"))
        return PictureKind::Emf;
    // Reserved 0, type 1 (icon), at least one picture.
    if (startsWith(start, 0, QByteArrayView("\0\0\1\0", 4)) && start.size() >= 6 && (start[4] || start[5]))
        return PictureKind::Icon;
    return std::nullopt;
}

bool isStream(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && !S_ISREG(info.st_mode)
           && !S_ISDIR(info.st_mode);
}

std::optional<InputKind> inputKindOf(const QString& path) {
    QFile file(path);
    if (!isStream(path) && file.open(QIODevice::ReadOnly))
        if (const std::optional<InputKind> kind = inputKindOfContent(file.read(kSignatureBytes)))
            return kind;
    const QString extension = pictureExtension(path);
    for (const PictureExtension& entry : kPictureExtensions)
        if (extension == entry.extension)
            return entry.kind;
    return std::nullopt;
}

QString inputKindName(const InputKind& kind) {
    if (const auto* qtKind = std::get_if<QtImageKind>(&kind))
        return qtImageKindName(*qtKind);
    switch (std::get<PictureKind>(kind)) {
    case PictureKind::Wmf: return QStringLiteral("WMF");
    case PictureKind::Emf: return QStringLiteral("EMF");
    case PictureKind::Jpeg: return QStringLiteral("JPEG");
    case PictureKind::Icon: return QStringLiteral("ICON");
    case PictureKind::Bitmap: return QStringLiteral("BMP");
    }
    return QString();
}

bool allowsOutlineAndFill(const InputKind& kind) {
    return kind != InputKind(PictureKind::Jpeg);
}

QString unreadKindText() {
    QStringList extensions;
    for (const PictureExtension& entry : kPictureExtensions)
        extensions.append(entry.extension);
    return QCoreApplication::translate("batch", "not a picture file pelmora-batch reads (%1)")
        .arg(extensions.join(QStringLiteral(", ")));
}

Bitmap readInput(const QString& path, const InputKind& kind) {
    if (const auto* qtKind = std::get_if<QtImageKind>(&kind))
        return decodeQtImage(readFileBytes(path), *qtKind);
    if (kind == InputKind(PictureKind::Icon))
        return decodeIcon(readFileBytes(path), IconPick::Largest);
    return importPicture(path, std::get<PictureKind>(kind));
}

namespace {

// Icons hold several images: the one read is the one that, drawn on white,
// gives the picture.
QImage iconImageOf(const QByteArray& bytes, const Bitmap& picture) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    const QImage pixels = picture.image().convertToFormat(QImage::Format_RGB32);
    // As many entries as the icon reader looks at, and only those of the
    // picture's size are decoded.
    const int count = std::min(reader.imageCount(), 256);
    for (int i = 0; i < count; ++i) {
        QImage image;
        if (!reader.jumpToImage(i) || (reader.size().isValid() && reader.size() != pixels.size())
            || !reader.read(&image) || image.size() != pixels.size())
            continue;
        if (Bitmap::drawnOnWhite(image).image().convertToFormat(QImage::Format_RGB32) == pixels)
            return image;
    }
    return QImage();
}

} // namespace

QImage readInputAlpha(const QString& path, const InputKind& kind, const Bitmap& picture) {
    const auto* qtKind = std::get_if<QtImageKind>(&kind);
    if (!qtKind && kind != InputKind(PictureKind::Icon))
        return QImage();
    // The file has been read whole once already, within the readers' limits.
    const QByteArray bytes = readFileBytes(path);
    QImage image;
    if (qtKind) {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        // A kind whose header already says it holds no alpha is not decoded again.
        const QImage::Format declared = reader.imageFormat();
        if (declared != QImage::Format_Invalid && declared != QImage::Format_Indexed8
            && QImage::toPixelFormat(declared).alphaUsage() == QPixelFormat::IgnoresAlpha)
            return QImage();
        reader.read(&image);
    } else {
        image = iconImageOf(bytes, picture);
    }
    if (image.size() != QSize(picture.width(), picture.height()))
        return QImage();
    return transparencyOf(image);
}

} // namespace pelmora::batch
