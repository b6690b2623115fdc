// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QString>

namespace pelmora::texts {

// The main window's own texts, as the user sees them.

inline const QString kProductName = QStringLiteral("Pelmora");
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

inline const FileFilter kSaveFilters[] = {
    {QStringLiteral("ビットマップ (*.bmp)"), QStringLiteral("*.bmp")},
    {QStringLiteral("JPEG イメージファイル (*.jpg)"), QStringLiteral("*.jpg")},
    {QStringLiteral("ICONファイル(*.ico)"), QStringLiteral("*.ico")},
};

// Label3 after a save of each type, in the order of kSaveFilters.
inline const QString kSavedKindTexts[] = {
    QStringLiteral("保存後 BMP"),
    QStringLiteral("保存後JPEG"),
    QStringLiteral("保存後ICON"),
};

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
