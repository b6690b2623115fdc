// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QString>
#include <QStringList>

namespace pelmora::resize_texts {

// Every text the resize dialog shows, in one place.
inline const QString caption = QStringLiteral("\u3000Pelmora\u3000\u3000Ostrel\u3000\u3000\u3000拡大・縮小");
inline const QString ok = QStringLiteral("OK");
inline const QString cancel = QStringLiteral("キャンセル");
inline const QString scaleLabel = QStringLiteral("拡大・縮小 （％）");
inline const QString modeGroup = QStringLiteral("\u3000モードの選択\u3000");
inline const QStringList modes = {
    QStringLiteral("縦横比を崩さず設定する"),
    QStringLiteral("縦と横を個別に設定する"),
    QStringLiteral("【はがき】サイズにする"),
    QStringLiteral("【アイコン】サイズにする"),
};
inline const QString unitGroup = QStringLiteral(" 単位の選択 ");
inline const QStringList units = {
    QStringLiteral("パーセント"),
    QStringLiteral("ピクセル"),
    QStringLiteral("ミリメートル"),
};
inline const QString widthLabel = QStringLiteral("よ\u3000こ");
inline const QString heightLabel = QStringLiteral("た\u3000て");

// The error report for a text that is not a whole number.
inline QString notAnInteger(const QString& text) {
    return QStringLiteral("'%1' は整数ではありません").arg(text);
}

} // namespace pelmora::resize_texts
