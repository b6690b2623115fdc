// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QString>

// Std
#include <optional>

// Local
#include "bitmap.h"

namespace pelmora {

// The five kinds of picture file, decided by the extension.
enum class PictureKind { Wmf, Emf, Jpeg, Icon, Bitmap };

// The extension of a path: from its last "." on, provided that "." stands
// after the last "\", ":" and "/"; lower-cased in the ASCII letters only.
// Empty when there is none.
QString pictureExtension(const QString& path);

// The kind read for a path, or nothing when its extension is not accepted.
std::optional<PictureKind> pictureKindOf(const QString& path);

// The text of Label1 after opening a picture of this kind ("元画像 BMP", ...).
QString sourceKindText(PictureKind kind);

// Pictures from JPEG files are never outlined or filled.
bool allowsOutlineAndFill(PictureKind kind);

// The nine-line refusal of a file whose extension is not accepted.
QString unacceptedExtensionText();

// The file-name part of a path, for the caption: the text after its last
// "\", ":" or "/".
QString fileNamePart(const QString& path);

// Reads the picture file at path as the given kind into a new picture.
// Throws PelmoraError with the reader's text when it cannot.
Bitmap importPicture(const QString& path, PictureKind kind);

// The size of the file on disk, measured without changing it. Throws
// PelmoraError with the I/O error texts when it cannot be measured.
qint64 fileSizeOnDisk(const QString& path);

// A byte count as the size labels show it ("800 byt", "1.3 KB", "4.77 MB").
QString fileSizeText(qint64 bytes);

} // namespace pelmora
