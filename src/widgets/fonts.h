// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QFont>
#include <QString>

namespace pelmora {

// The proportional Gothic face the windows use: the first of
// "ＭＳ Ｐゴシック", IPAPGothic and Noto Sans CJK JP that is installed.
QString japaneseFontFamily();

// That face at a character height in pixels.
QFont windowFont(int pixelHeight, bool bold = false);

} // namespace pelmora
