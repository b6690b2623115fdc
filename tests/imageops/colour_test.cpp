// SPDX-License-Identifier: GPL-2.0-or-later
// Qt
#include <QGuiApplication>
#include <QPalette>
#include <QTest>

// Local
#include "colour.h"
#include "imageops_test.h"
#include "test_pictures.h"

using namespace pelmora;
using namespace pelmora::test;

Q_DECLARE_METATYPE(QPalette::ColorGroup)
Q_DECLARE_METATYPE(QPalette::ColorRole)

namespace {

// Puts the application palette back however the test ends.
class PaletteKept {
public:
    PaletteKept() : saved_(QGuiApplication::palette()) {}
    ~PaletteKept() { QGuiApplication::setPalette(saved_); }
    PaletteKept(const PaletteKept&) = delete;
    PaletteKept& operator=(const PaletteKept&) = delete;

private:
    const QPalette saved_;
};

// A palette whose every colour differs from every other, the disabled
// group's too; `shift` makes another such palette with none in common.
QPalette distinctPalette(int shift) {
    QPalette palette;
    int n = 0;
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (int role = 0; role < QPalette::NColorRoles; ++role, ++n)
            palette.setColor(group, QPalette::ColorRole(role), QColor(n * 3 + shift, 200 - n - shift, n + 2 * shift));
    return palette;
}

} // namespace

// Windows' system colour indices and the palette colour each means here.
void ImageOpsTest::systemColoursFollowThePalette_data() {
    QTest::addColumn<Colour>("colour");
    QTest::addColumn<QPalette::ColorGroup>("group");
    QTest::addColumn<QPalette::ColorRole>("role");
    const auto active = QPalette::Active;
    QTest::newRow("window") << systemColour(5) << active << QPalette::Base;
    QTest::newRow("menu text") << systemColour(7) << active << QPalette::Text;
    QTest::newRow("window text") << systemColour(8) << active << QPalette::Text;
    QTest::newRow("highlight") << systemColour(13) << active << QPalette::Highlight;
    QTest::newRow("highlighted text") << systemColour(14) << active << QPalette::HighlightedText;
    QTest::newRow("button face") << systemColour(15) << active << QPalette::Button;
    QTest::newRow("button shadow") << systemColour(16) << active << QPalette::Dark;
    QTest::newRow("grey text") << systemColour(17) << QPalette::Disabled << QPalette::Text;
    QTest::newRow("button text") << systemColour(18) << active << QPalette::ButtonText;
    QTest::newRow("button highlight") << systemColour(20) << active << QPalette::Light;
    QTest::newRow("dark shadow") << systemColour(21) << active << QPalette::Shadow;
    QTest::newRow("tool tip text") << systemColour(23) << active << QPalette::ToolTipText;
    QTest::newRow("tool tip") << systemColour(24) << active << QPalette::ToolTipBase;
    // Only the low byte names the colour.
    QTest::newRow("button face, other bits set") << Colour(0xFFFFFF0Fu) << active << QPalette::Button;
}

// Each palette in turn: a system colour is what the palette says now.
void ImageOpsTest::systemColoursFollowThePalette() {
    QFETCH(Colour, colour);
    QFETCH(QPalette::ColorGroup, group);
    QFETCH(QPalette::ColorRole, role);
    const PaletteKept kept;
    for (const int shift : {0, 40}) {
        QGuiApplication::setPalette(distinctPalette(shift));
        QCOMPARE(resolveColour(colour), paletteColour(role, group));
        QCOMPARE(qColorFromColour(colour), QGuiApplication::palette().color(group, role));
    }
}
