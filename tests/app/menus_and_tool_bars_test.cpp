// SPDX-License-Identifier: GPL-2.0-or-later
// The commands as the window shows them: their captions and hints, the menu
// bar, the context menu, the two tool bars left to right, and the hint line
// of the status bar.

// Qt
#include <QContextMenuEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

// Local
#include "app_test_support.h"

// Std
#include <algorithm>

using namespace pelmora;
using namespace pelmora::test;

namespace {

// A menu's items by caption, "|" for a separator line.
QString itemsOf(const QMenu& menu) {
    QStringList items;
    for (const QAction* item : menu.actions())
        items << (item->isSeparator() ? QStringLiteral("|") : item->text());
    return items.join(QLatin1Char(' '));
}

// A tool bar's items left to right: a button as its command and width, a
// panel as its name and width, a separator as its width alone. Items must
// touch: a gap shows as "gap".
QString itemsOf(const QToolBar& bar) {
    QList<QWidget*> items;
    for (QWidget* item : bar.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (item->isVisible() && !item->objectName().startsWith(QLatin1String("qt_")))
            items << item;
    }
    std::sort(items.begin(), items.end(), [](QWidget* a, QWidget* b) { return a->x() < b->x(); });
    QStringList shown;
    for (qsizetype i = 0; i < items.size(); ++i) {
        const QWidget* item = items[i];
        if (i > 0 && item->x() != items[i - 1]->geometry().right() + 1)
            shown << QStringLiteral("gap");
        const auto* button = qobject_cast<const QToolButton*>(item);
        const QString name = button ? button->defaultAction()->objectName() : item->objectName();
        shown << (name.isEmpty() ? QString() : name + QLatin1Char(' ')) + QString::number(item->width());
    }
    return shown.join(QStringLiteral(", "));
}

} // namespace

class MenusAndToolBarsTest : public QObject {
    Q_OBJECT

private slots:
    void commands_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("toolTip");
        QTest::addColumn<QString>("statusTip");
        QTest::addColumn<bool>("glyph");
        const auto row = [](const char* name, const char16_t* caption, const char16_t* toolTip,
                            const char16_t* statusTip, bool glyph) {
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromUtf16(caption)
                                << QString::fromUtf16(toolTip) << QString::fromUtf16(statusTip) << glyph;
        };
        row("ActOpen", u"開く(&O)", u"開く", u"ファイルを開きます", true);
        row("ActSave", u"保存(&S)", u"保存", u"ファイルとして保存します", true);
        row("ActClose", u"終了(&X)", u"終了", u"このソフトを終了します", true);
        row("ActEdge", u"縁取り(&E)", u"縁取り", u"選択された色で画像を縁取りします", true);
        row("ActPaint", u"塗りつぶし(&P)", u"塗潰し", u"選択された色で画像をぬりつぶします", true);
        row("ActBA", u"表示切替(&C)", u"表示切替", u"元画像・縁取り画像・塗潰し画像を順番に切り替えて表示します", true);
        row("ActSpoid", u"塗潰し色の抽出", u"色の抽出", u"画像の中から塗潰しの色を抽出します", true);
        row("ActNew", u"新規作成(&N)", u"新規作成", u"現状を破棄し、もう一度最初からやり直します", true);
        row("ActSpoid2", u"縁取の色の抽出", u"色の抽出", u"画像の中から縁取りの色を抽出します", true);
        row("ActVer", u"バージョン情報", u"バージョン情報", u"バージョン情報を表示します", true);
        row("Act90", u"90°回転", u"90°回転", u"画像を90度回転させます", true);
        row("Act180", u"180°回転", u"180°回転", u"画像を180度回転させます", false);
        row("Act270", u"270°回転", u"270°回転", u"画像を270度回転させます", false);
        row("ActHantenRL", u"反転（左右）", u"反転（左右）", u"画像の左右を反転します", true);
        row("ActHantenTB", u"反転（上下）", u"反転（上下）", u"画像の上下を反転します", true);
        row("ActSize", u"拡大・縮小", u"縮小・拡大", u"画像を縮小・拡大します", true);
        row("ActBColor", u"背景色", u"背景色設定", u"バックパネルの色を変更します", true);
    }

    // No shortcut, and no glyph in the menus.
    void commands() {
        QFETCH(QString, name);
        const auto form = shownWindow();
        const QAction* command = form->findChild<QAction*>(name);
        QVERIFY(command);
        QTEST(command->text(), "caption");
        QTEST(command->toolTip(), "toolTip");
        QTEST(command->statusTip(), "statusTip");
        QTEST(!command->icon().isNull(), "glyph");
        QVERIFY(!command->isIconVisibleInMenu());
        QVERIFY(command->shortcut().isEmpty());
    }

    void menus_data() {
        QTest::addColumn<int>("menu");  // in the menu bar, or -1 for the context menu
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("items");
        QTest::newRow("file") << 0 << QStringLiteral("ファイル")
                              << QStringLiteral("開く(&O) 新規作成(&N) 保存(&S) | 終了(&X)");
        QTest::newRow("edit") << 1 << QStringLiteral("編集") << QStringLiteral("縁取り(&E) 塗りつぶし(&P)");
        QTest::newRow("view") << 2 << QStringLiteral("表示")
                              << QStringLiteral("背景色 | 表示切替(&C) | 反転（左右） 反転（上下） | 90°回転 180°回転 "
                                                "270°回転 | 拡大・縮小");
        QTest::newRow("help") << 3 << QStringLiteral("ヘルプ") << QStringLiteral("バージョン情報");
        QTest::newRow("context") << -1 << QString()
                                 << QStringLiteral("開く(&O) 新規作成(&N) 保存(&S) 終了(&X) | 縁取り(&E) 塗りつぶし(&P) "
                                                   "表示切替(&C) | バージョン情報");
    }

    void menus() {
        QFETCH(int, menu);
        const auto form = shownWindow();
        const QList<QAction*> bar = form->menuBar()->actions();
        QCOMPARE(bar.size(), 4);
        const QMenu* shown = menu < 0 ? form->PopupMenu1 : bar.at(menu)->menu();
        QTEST(menu < 0 ? QString() : bar.at(menu)->text(), "title");
        QTEST(itemsOf(*shown), "items");
    }

    void contextMenuOpensOnARightClick_data() {
        QTest::addColumn<QString>("where");
        QTest::newRow("picture area") << "ScrollBox1";
        QTest::newRow("tool bar") << "ToolBar2";
        QTest::newRow("status bar") << "statusBar";
    }

    void contextMenuOpensOnARightClick() {
        QFETCH(QString, where);
        const auto form = shownWindow();
        QWidget* target = where == QLatin1String("statusBar") ? form->statusBar()
                          : where == QLatin1String("ToolBar2") ? static_cast<QWidget*>(form->ToolBar2)
                                                                : form->ScrollBox1->viewport();
        const QWidget* opened = nullptr;
        QTimer::singleShot(100, [&] {
            opened = QApplication::activePopupWidget();
            if (opened)
                const_cast<QWidget*>(opened)->close();
        });
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5), target->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(target, &click);
        QTRY_VERIFY(opened);
        QCOMPARE(opened, form->PopupMenu1);
    }

    void toolBars_data() {
        QTest::addColumn<QString>("bar");
        QTest::addColumn<QString>("items");
        QTest::newRow("ToolBar1") << "ToolBar1"
                                  << "ActOpen 23, 8, ActNew 23, 8, ActSave 23, 8, ActBColor 23, 10, Panel3 200, 8, "
                                     "Panel4 200";
        QTest::newRow("ToolBar2") << "ToolBar2"
                                  << "ActSize 23, 40, ActEdge 23, 8, ActPaint 23, 30, ActBA 23, 8, ActHantenRL 23, 8, "
                                     "ActHantenTB 23, 8, Act90 23, 30, Panel2 90, 8, ActSpoid2 23, ActSpoid 23, 8, "
                                     "Panel1 90";
    }

    // Buttons 22 high, showing their glyph only, the short hint as tool tip.
    void toolBars() {
        QFETCH(QString, bar);
        const auto form = shownWindow();
        const auto* toolBar = form->findChild<QToolBar*>(bar);
        QTEST(itemsOf(*toolBar), "items");
        for (const QToolButton* button : toolBar->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly)) {
            if (!button->isVisible())
                continue;
            QCOMPARE(button->height(), 22);
            QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
            QCOMPARE(button->toolTip(), button->defaultAction()->toolTip());
        }
    }

    void hintLine_data() {
        QTest::addColumn<QStringList>("hovered");  // buttons by command, panels, or a menu then its items
        QTest::addColumn<QString>("line");
        QTest::newRow("open button") << QStringList{"ActOpen"} << QStringLiteral("ファイルを開きます");
        QTest::newRow("resize button") << QStringList{"ActSize"} << QStringLiteral("画像を縮小・拡大します");
        QTest::newRow("Panel3 after a button") << QStringList{"ActOpen", "Panel3"} << QString();
        QTest::newRow("Panel4 after a button") << QStringList{"ActBColor", "Panel4"} << QString();
        QTest::newRow("outline colour panel") << QStringList{"ActOpen", "Panel2"}
                                              << QStringLiteral("カラーパレットから縁取りの色を選択する事ができます");
        QTest::newRow("view menu item") << QStringList{"menu", "ActBColor"} << QStringLiteral("バックパネルの色を変更します");
        QTest::newRow("context menu item") << QStringList{"context", "ActVer"}
                                           << QStringLiteral("バージョン情報を表示します");
    }

    // The long part of the hint of what the pointer is over; empty over what
    // has none.
    void hintLine() {
        QFETCH(QStringList, hovered);
        const auto form = shownWindow();
        QMenu* menu = nullptr;
        for (const QString& name : hovered) {
            if (name == QLatin1String("menu") || name == QLatin1String("context")) {
                menu = name == QLatin1String("menu") ? form->menuBar()->actions().at(2)->menu() : form->PopupMenu1;
                menu->popup(form->mapToGlobal(QPoint(20, 20)));
                QVERIFY(QTest::qWaitForWindowExposed(menu));
            } else if (menu) {
                menu->setActiveAction(form->findChild<QAction*>(name));
            } else {
                QAction* command = form->findChild<QAction*>(name);
                QWidget* target = command ? form->ToolBar1->widgetForAction(command) : nullptr;
                target = target ? target : command ? form->ToolBar2->widgetForAction(command) : nullptr;
                target = target ? target : form->findChild<QWidget*>(name);
                QTest::mouseMove(target, target->rect().center());
            }
        }
        QFETCH(QString, line);
        QTRY_COMPARE(form->StatusBar1Panel->text(), line);
        if (menu)
            menu->close();
    }
};

PELMORA_APP_TEST_MAIN(MenusAndToolBarsTest)
#include "menus_and_tool_bars_test.moc"
