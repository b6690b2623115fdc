// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QLocale>
#include <QString>

namespace pelmora::texts {

// Every text the picture readers and writers give the user, in the language
// of reader_texts (Japanese, as the window shows them, until a program picks
// another).

QString invalidBitmap();
QString invalidIcon();
QString jpegError(int code);
// The kind as pelmora-batch names it: "PNG", "GIF", "TIFF", "WEBP".
QString invalidImage(const QString& kind);

QString fileNotFound();
QString badFileName();
QString tooManyOpenFiles();
QString accessDenied();
QString diskFull();
QString folderInTheWay();
QString ioError(int code);

QString iconSize();

// The readers' texts from here on in the locale's language, or in English
// when there is no translation into it.
void useReaderLanguage(const QLocale& locale);

} // namespace pelmora::texts
