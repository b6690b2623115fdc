// SPDX-License-Identifier: GPL-2.0-or-later
#include "open_picture.h"

// Local
#include "bmp_file.h"
#include "file_io.h"
#include "icon_file.h"
#include "jpeg_file.h"
#include "metafile.h"
#include "picture_file_texts.h"

// Std
#include <algorithm>

namespace pelmora {

namespace {

// Folder names end at "\" and ":" as on the original platform, and at "/" here.
qsizetype lastSeparator(const QString& path) {
    return std::max({path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char(':')),
                     path.lastIndexOf(QLatin1Char('/'))});
}

QString asciiLower(QString text) {
    for (QChar& c : text)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    return text;
}

} // namespace

QString pictureExtension(const QString& path) {
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || dot < lastSeparator(path))
        return QString();
    return asciiLower(path.mid(dot));
}

std::optional<PictureKind> pictureKindOf(const QString& path) {
    const QString ext = pictureExtension(path);
    if (ext == QLatin1String(".wmf"))
        return PictureKind::Wmf;
    if (ext == QLatin1String(".emf"))
        return PictureKind::Emf;
    if (ext == QLatin1String(".jpg") || ext == QLatin1String(".jpeg"))
        return PictureKind::Jpeg;
    if (ext == QLatin1String(".ico"))
        return PictureKind::Icon;
    if (ext == QLatin1String(".bmp"))
        return PictureKind::Bitmap;
    return std::nullopt;
}

QString sourceKindText(PictureKind kind) {
    switch (kind) {
    case PictureKind::Wmf: return texts::sourceWmf();
    case PictureKind::Emf: return texts::sourceEmf();
    case PictureKind::Jpeg: return texts::sourceJpeg();
    case PictureKind::Icon: return texts::sourceIcon();
    case PictureKind::Bitmap: return texts::sourceBmp();
    }
    return QString();
}

bool allowsOutlineAndFill(PictureKind kind) {
    return kind != PictureKind::Jpeg;
}

QString unacceptedExtensionText() {
    return texts::unacceptedExtension();
}

QString fileNamePart(const QString& path) {
    return path.mid(lastSeparator(path) + 1);
}

Bitmap importPicture(const QString& path, PictureKind kind) {
    switch (kind) {
    case PictureKind::Wmf:
    case PictureKind::Emf:
        return importMetafile(readFileBytes(path));
    case PictureKind::Jpeg:
        return readJpeg(ReadFile(path));
    case PictureKind::Icon:
        return decodeIcon(readFileBytes(path));
    case PictureKind::Bitmap:
        return readBmp(ReadFile(path));
    }
    return Bitmap();
}

} // namespace pelmora
