// SPDX-License-Identifier: GPL-2.0-or-later
#include "fonts.h"

// Qt
#include <QFontDatabase>
#include <QStringList>

namespace pelmora {

QString japaneseFontFamily() {
    static const QString family = [] {
        const QStringList preferred = {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"),
                                       QStringLiteral("Noto Sans CJK JP")};
        const QStringList installed = QFontDatabase::families();
        for (const QString& name : preferred) {
            if (installed.contains(name, Qt::CaseInsensitive))
                return name;
        }
        return preferred.last();
    }();
    return family;
}

QFont windowFont(int pixelHeight, bool bold) {
    QFont font(japaneseFontFamily());
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

} // namespace pelmora
