// SPDX-License-Identifier: GPL-2.0-or-later
#include "input_picture.h"

// Local
#include "file_io.h"

namespace pelmora::batch {

std::optional<InputKind> inputKindOf(const QString& path) {
    if (const std::optional<PictureKind> kind = pictureKindOf(path))
        return *kind;
    if (const std::optional<QtImageKind> kind = qtImageKindOf(path))
        return *kind;
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
    const auto* windowKind = std::get_if<PictureKind>(&kind);
    return !windowKind || pelmora::allowsOutlineAndFill(*windowKind);
}

QString unreadExtensionText() {
    return QStringLiteral("not a picture file pelmora-batch reads (.bmp, .jpg, .jpeg, .ico, .wmf, .emf, "
                          ".png, .gif, .tif, .tiff, .webp)");
}

Bitmap readInput(const QString& path, const InputKind& kind) {
    if (const auto* qtKind = std::get_if<QtImageKind>(&kind))
        return decodeQtImage(readFileBytes(path), *qtKind);
    return importPicture(path, std::get<PictureKind>(kind));
}

} // namespace pelmora::batch
