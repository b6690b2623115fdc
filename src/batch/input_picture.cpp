// SPDX-License-Identifier: GPL-2.0-or-later
#include "input_picture.h"

// Qt
#include <QStringList>

// Local
#include "file_io.h"
#include "import_picture.h"

namespace pelmora::batch {

std::optional<InputKind> inputKindOf(const QString& path) {
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

QString unreadExtensionText() {
    QStringList extensions;
    for (const PictureExtension& entry : kPictureExtensions)
        extensions.append(entry.extension);
    return QStringLiteral("not a picture file pelmora-batch reads (%1)").arg(extensions.join(QStringLiteral(", ")));
}

Bitmap readInput(const QString& path, const InputKind& kind) {
    if (const auto* qtKind = std::get_if<QtImageKind>(&kind))
        return decodeQtImage(readFileBytes(path), *qtKind);
    return importPicture(path, std::get<PictureKind>(kind));
}

} // namespace pelmora::batch
