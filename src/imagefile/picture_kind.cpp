// SPDX-License-Identifier: GPL-2.0-or-later
#include "picture_kind.h"

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

template<typename Kind>
std::optional<Kind> kindOf(const QString& path) {
    const QString ext = pictureExtension(path);
    for (const PictureExtension& entry : kPictureExtensions)
        if (ext == entry.extension)
            if (const Kind* kind = std::get_if<Kind>(&entry.kind))
                return *kind;
    return std::nullopt;
}

} // namespace

QString pictureExtension(const QString& path) {
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || dot < lastSeparator(path))
        return QString();
    return asciiLower(path.mid(dot));
}

std::optional<PictureKind> pictureKindOf(const QString& path) {
    return kindOf<PictureKind>(path);
}

std::optional<QtImageKind> qtImageKindOf(const QString& path) {
    return kindOf<QtImageKind>(path);
}

QString fileNamePart(const QString& path) {
    return path.mid(lastSeparator(path) + 1);
}

} // namespace pelmora
