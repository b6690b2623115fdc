// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QByteArray>
#include <QString>

// Local
#include "picture_kind.h"
#include "qt_image_file.h"

// Std
#include <optional>
#include <variant>

namespace pelmora::batch {

// The kinds of picture file pelmora-batch reads: the window's five, read
// by the window's rules, and the ones Qt's image readers decode.
using InputKind = std::variant<PictureKind, QtImageKind>;

// The kind a file's first bytes announce; nothing when they announce none
// of the kinds read (a WMF without its placeable header says nothing).
std::optional<InputKind> inputKindOfContent(const QByteArray& start);

// A pipe or a device: what is read from it is gone.
bool isStream(const QString& path);

// By the file's first bytes (never read from a stream), else by the path's extension; nothing for a
// file that is not read.
std::optional<InputKind> inputKindOf(const QString& path);

// As --info prints it: "BMP", "JPEG", "PNG", "WEBP", ...
QString inputKindName(const InputKind& kind);

// Pictures from JPEG files are never outlined or filled.
bool allowsOutlineAndFill(const InputKind& kind);

// The refusal of a file whose kind is not read.
QString unreadKindText();

// Throws PelmoraError with the reader's text when the file cannot be read.
// Of an icon's pictures, the largest is read.
Bitmap readInput(const QString& path, const InputKind& kind);

// The alpha of `picture`, as readInput() read it from the file (PNG, GIF,
// TIFF, WebP, or an icon with a mask or alpha), as Format_Alpha8; a null
// image when the file carries no transparency or every pixel is opaque.
QImage readInputAlpha(const QString& path, const InputKind& kind, const Bitmap& picture);

} // namespace pelmora::batch
