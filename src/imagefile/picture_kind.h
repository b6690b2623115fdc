// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QLatin1StringView>
#include <QString>

// Std
#include <optional>
#include <variant>

namespace pelmora {

// The five kinds of picture file the window opens, decided by the extension.
enum class PictureKind { Wmf, Emf, Jpeg, Icon, Bitmap };

// Picture files that Qt's image readers decode, beyond the window's five
// kinds; only pelmora-batch reads them.
enum class QtImageKind { Png, Gif, Tiff, Webp };

// Every extension a picture is read by, lower-case with its ".".
struct PictureExtension {
    QLatin1StringView extension;
    std::variant<PictureKind, QtImageKind> kind;
};
inline constexpr PictureExtension kPictureExtensions[] = {
    {QLatin1StringView(".bmp"), PictureKind::Bitmap}, {QLatin1StringView(".jpg"), PictureKind::Jpeg},
    {QLatin1StringView(".jpeg"), PictureKind::Jpeg},  {QLatin1StringView(".ico"), PictureKind::Icon},
    {QLatin1StringView(".wmf"), PictureKind::Wmf},    {QLatin1StringView(".emf"), PictureKind::Emf},
    {QLatin1StringView(".png"), QtImageKind::Png},    {QLatin1StringView(".gif"), QtImageKind::Gif},
    {QLatin1StringView(".tif"), QtImageKind::Tiff},   {QLatin1StringView(".tiff"), QtImageKind::Tiff},
    {QLatin1StringView(".webp"), QtImageKind::Webp},
};

// The extension of a path: from its last "." on, provided that "." stands
// after the last "\", ":" and "/"; lower-cased in the ASCII letters only.
// Empty when there is none.
QString pictureExtension(const QString& path);

// The window's kind for a path, or nothing when its extension is not one.
std::optional<PictureKind> pictureKindOf(const QString& path);

// Qt's kind for a path, or nothing when its extension is not one.
std::optional<QtImageKind> qtImageKindOf(const QString& path);

// The file-name part of a path, for the caption: the text after its last
// "\", ":" or "/".
QString fileNamePart(const QString& path);

} // namespace pelmora
