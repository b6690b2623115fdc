// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QString>

namespace pelmora::texts {

// Every text the picture readers and writers give the user, as shown.

inline QString invalidBitmap() { return QStringLiteral("ビットマップイメージが不正です"); }
inline QString invalidIcon() { return QStringLiteral("アイコンイメージが不正です"); }
inline QString jpegError(int code) { return QStringLiteral("JPEG エラー #%1").arg(code); }
// The kind as pelmora-batch names it: "PNG", "GIF", "TIFF", "WEBP".
inline QString invalidImage(const QString& kind) { return QStringLiteral("%1 イメージが不正です").arg(kind); }

inline QString fileNotFound() { return QStringLiteral("ファイルが見つかりません"); }
inline QString badFileName() { return QStringLiteral("ファイル名の指定が間違っています"); }
inline QString tooManyOpenFiles() { return QStringLiteral("オープンしたファイルが多すぎます"); }
inline QString accessDenied() { return QStringLiteral("ファイルへのアクセスが拒否されました"); }
inline QString diskFull() { return QStringLiteral("ディスクの空き容量が足りません"); }
inline QString folderInTheWay() { return QStringLiteral("フォルダには保存できません"); }
inline QString ioError(int code) { return QStringLiteral("I/O エラー (%1)").arg(code); }

inline QString iconSize() {
    return QStringLiteral("Icon ファイルとして保存できるのは\r\n"
                          "\r\n"
                          "Iconサイズ(32x32)ピクセルの画像だけです");
}

} // namespace pelmora::texts
