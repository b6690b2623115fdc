// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QString>
#include <QStringList>

namespace pelmora {

// The symbol encodings whose codes stand for pictures, not letters.
enum class SymbolEncoding { None, Symbol, Wingdings, Wingdings2, Wingdings3, Webdings };

// The encoding a font selects: by its face, or Symbol for any other face in
// the symbol character set.
SymbolEncoding symbolEncoding(const QString& face, int charSet);

// Each code of text (0x20-0xFF, or the same at 0xF020-0xF0FF) as the Unicode
// character its glyph shows, one entry a code; a code Unicode has no
// counterpart for draws as nothing.
QStringList symbolCharacters(const QString& text, SymbolEncoding encoding);

// The families that hold those characters.
QStringList symbolFamilies();

} // namespace pelmora
