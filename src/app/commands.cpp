// SPDX-License-Identifier: GPL-2.0-or-later
#include "commands.h"

// Qt
#include <QAction>
#include <QActionGroup>

// Local
#include "glyphs.h"
#include "main_window.h"
#include "message_boxes.h"
#include "window_texts.h"

// Std
#include <exception>

namespace pelmora {

const std::array<CommandEntry, kCommandCount>& commandTable() {
    using F = TPelmoraForm1;
    using C = CommandId;
    static const std::array<CommandEntry, kCommandCount> table = {{
        {C::ActOpen, "ActOpen", QStringLiteral("開く(&O)"), QStringLiteral("開く|ファイルを開きます"), 0,
         &F::ActOpenExecute},
        {C::ActSave, "ActSave", QStringLiteral("保存(&S)"), QStringLiteral("保存|ファイルとして保存します"), 1,
         &F::ActSaveExecute},
        {C::ActClose, "ActClose", QStringLiteral("終了(&X)"), QStringLiteral("終了|このソフトを終了します"), 2,
         &F::ActCloseExecute},
        {C::ActEdge, "ActEdge", QStringLiteral("縁取り(&E)"),
         QStringLiteral("縁取り|選択された色で画像を縁取りします"), 3, &F::ActEdgeExecute},
        {C::ActPaint, "ActPaint", QStringLiteral("塗りつぶし(&P)"),
         QStringLiteral("塗潰し|選択された色で画像をぬりつぶします"), 4, &F::ActPaintExecute},
        {C::ActBA, "ActBA", QStringLiteral("表示切替(&C)"),
         QStringLiteral("表示切替|元画像・縁取り画像・塗潰し画像を順番に切り替えて表示します"), 28,
         &F::ActBAExecute},
        {C::ActSpoid, "ActSpoid", QStringLiteral("塗潰し色の抽出"),
         QStringLiteral("色の抽出|画像の中から塗潰しの色を抽出します"), 10, &F::ActSpoidExecute},
        {C::ActNew, "ActNew", QStringLiteral("新規作成(&N)"),
         QStringLiteral("新規作成|現状を破棄し、もう一度最初からやり直します"), 8, &F::ActNewExecute},
        {C::ActSpoid2, "ActSpoid2", QStringLiteral("縁取の色の抽出"),
         QStringLiteral("色の抽出|画像の中から縁取りの色を抽出します"), 9, &F::ActSpoid2Execute},
        {C::ActVer, "ActVer", QStringLiteral("バージョン情報"),
         QStringLiteral("バージョン情報|バージョン情報を表示します"), 12, &F::ActVerExecute},
        {C::Act90, "Act90", QStringLiteral("90°回転"), QStringLiteral("90°回転|画像を90度回転させます"), 29,
         &F::Act90Execute},
        {C::Act180, "Act180", QStringLiteral("180°回転"), QStringLiteral("180°回転|画像を180度回転させます"),
         kNoGlyph, &F::Act180Execute},
        {C::Act270, "Act270", QStringLiteral("270°回転"), QStringLiteral("270°回転|画像を270度回転させます"),
         kNoGlyph, &F::Act270Execute},
        {C::ActHantenRL, "ActHantenRL", QStringLiteral("反転（左右）"),
         QStringLiteral("反転（左右）|画像の左右を反転します"), 22, &F::ActHantenRLExecute},
        {C::ActHantenTB, "ActHantenTB", QStringLiteral("反転（上下）"),
         QStringLiteral("反転（上下）|画像の上下を反転します"), 23, &F::ActHantenTBExecute},
        {C::ActSize, "ActSize", QStringLiteral("拡大・縮小"), QStringLiteral("縮小・拡大|画像を縮小・拡大します"), 32,
         &F::ActSizeExecute},
        {C::ActBColor, "ActBColor", QStringLiteral("背景色"),
         QStringLiteral("背景色設定|バックパネルの色を変更します"), 4, &F::ActBColorExecute},
    }};
    return table;
}

void TPelmoraForm1::createCommands() {
    for (const CommandEntry& entry : commandTable()) {
        auto* command = new QAction(entry.caption, this);
        command->setObjectName(QString::fromLatin1(entry.name));
        command->setToolTip(texts::shortHint(entry.hint));
        command->setStatusTip(texts::longHint(entry.hint));
        if (entry.glyph != kNoGlyph)
            command->setIcon(glyph(entry.glyph));
        command->setIconVisibleInMenu(false);
        if (entry.handler)
            connect(command, &QAction::triggered, this,
                    [this, handler = entry.handler] { runReported([this, handler] { (this->*handler)(); }); });
        actions_[indexOf(entry.id)] = command;
    }
    // The two eyedropper buttons: at most one down, and once one is down
    // one stays down.
    eyedroppers_ = new QActionGroup(this);
    eyedroppers_->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    for (const CommandId id : {CommandId::ActSpoid2, CommandId::ActSpoid}) {
        action(id)->setCheckable(true);
        eyedroppers_->addAction(action(id));
    }
}

void TPelmoraForm1::applyAvailability(AvailabilityStep step) {
    for (const CommandEntry& entry : commandTable()) {
        if (const auto available = availabilityAfter(step, entry.id))
            action(entry.id)->setEnabled(*available);
    }
}

} // namespace pelmora
