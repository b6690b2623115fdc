// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QCursor>
#include <QString>

// Std
#include <optional>

namespace pelmora {

// A cursor read from a CUR file, its hot spot taken from the file's
// directory entry; nothing when the file is missing or not a cursor.
std::optional<QCursor> readCursorFile(const QString& path);

// The eyedropper cursor of that name ("spoid.cur", "spoid2.cur"): from the
// current folder when it is there, else the program's own copy; the
// arrow when neither can be read.
QCursor eyedropperCursor(const QString& fileName);

} // namespace pelmora
