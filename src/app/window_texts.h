// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QString>

// Local
#include "product_name.h"

namespace pelmora::texts {

// The main window's own texts, as the user sees them.

// U+3000, name, U+3000 U+3000, maker, U+3000.
inline const QString kWindowCaption = QStringLiteral("\u3000Pelmora\u3000\u3000Ostrel\u3000");
inline const QString kFileCaptionPrefix = kWindowCaption + QStringLiteral(" ファイル名 『 ");
inline const QString kFileCaptionSuffix = QStringLiteral(" 』");

inline const QString kSourceSizeLabel = QStringLiteral("元の画像のサイズ");
inline const QString kSavedSizeLabel = QStringLiteral("保存画像のサイズ");

inline const QString kFillPanelCaption = QStringLiteral("塗つぶしの色");
inline const QString kOutlinePanelCaption = QStringLiteral("縁取の色");
inline const QString kFillPanelHint = QStringLiteral("色を選択|カラーパレットから塗潰しの色を選択する事ができます");
inline const QString kOutlinePanelHint = QStringLiteral("色を選択|カラーパレットから縁取りの色を選択する事ができます");

inline const QString kFileMenu = QStringLiteral("ファイル");
inline const QString kEditMenu = QStringLiteral("編集");
inline const QString kViewMenu = QStringLiteral("表示");
inline const QString kHelpMenu = QStringLiteral("ヘルプ");

// Description shown in the open dialog, then the patterns it stands for.
struct FileFilter {
    QString description;
    QString patterns;
};

inline const FileFilter kOpenFilters[] = {
    {QStringLiteral("すべてのファイル (*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)"),
     QStringLiteral("*.jpg *.jpeg *.bmp *.ico *.emf *.wmf")},
    {QStringLiteral("JPEG イメージファイル (*.jpg)"), QStringLiteral("*.jpg")},
    {QStringLiteral("JPEG イメージファイル (*.jpeg)"), QStringLiteral("*.jpeg")},
    {QStringLiteral("ビットマップ (*.bmp)"), QStringLiteral("*.bmp")},
    {QStringLiteral("アイコン (*.ico)"), QStringLiteral("*.ico")},
    {QStringLiteral("エンハンス メタファイル (*.emf)"), QStringLiteral("*.emf")},
    {QStringLiteral("メタファイル (*.wmf)"), QStringLiteral("*.wmf")},
};

// The save dialog's types, and Label3 after a save of each.
inline const FileFilter kBmpSaveFilter{QStringLiteral("ビットマップ (*.bmp)"), QStringLiteral("*.bmp")};
inline const FileFilter kJpegSaveFilter{QStringLiteral("JPEG イメージファイル (*.jpg)"), QStringLiteral("*.jpg")};
inline const FileFilter kIconSaveFilter{QStringLiteral("ICONファイル(*.ico)"), QStringLiteral("*.ico")};
inline const QString kSavedBmp = QStringLiteral("保存後 BMP");
inline const QString kSavedJpeg = QStringLiteral("保存後JPEG");
inline const QString kSavedIcon = QStringLiteral("保存後ICON");

// Label1 after opening a picture of each kind.
inline QString sourceWmf() { return QStringLiteral("元画像 WMF"); }
inline QString sourceEmf() { return QStringLiteral("元画像 EMF"); }
inline QString sourceJpeg() { return QStringLiteral("元画像JPEG"); }
inline QString sourceIcon() { return QStringLiteral("元画像ICON"); }
inline QString sourceBmp() { return QStringLiteral("元画像 BMP"); }

// The refusal of a file whose extension is not opened.
inline QString unacceptedExtension() {
    return QStringLiteral("開けるファイルは\r\n"
                          "\r\n"
                          "メタファイル[*.WMF][*.EMF]\r\n"
                          "\r\n"
                          "ジェイペグ[*.JPG][*.JPEG]\r\n"
                          "\r\n"
                          "アイコンファイル[*.ICO]\r\n"
                          "\r\n"
                          "ビットマップ[*.BMP]です");
}

// The caption once a file has been opened or saved.
inline QString fileCaption(const QString& fileName) {
    return kFileCaptionPrefix + fileName + kFileCaptionSuffix;
}

// The part of a hint a tool tip shows, and the part the status bar shows.
inline QString shortHint(const QString& hint) { return hint.section(QLatin1Char('|'), 0, 0); }
inline QString longHint(const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

} // namespace pelmora::texts
