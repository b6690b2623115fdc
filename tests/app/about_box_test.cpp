// SPDX-License-Identifier: GPL-2.0-or-later
// The About box: the colours it draws its texts and frame in, and how it
// shows beside the main window and hides again.

// Qt
#include <QPushButton>

// Local
#include "about_box.h"
#include "app_test_support.h"

using namespace pelmora;
using namespace pelmora::test;

namespace {

// The About box after the version command; null unless it is on screen.
TAboutBox* shownAboutBox(TPelmoraForm1& form) {
    form.action(CommandId::ActVer)->trigger();
    auto* box = form.findChild<TAboutBox*>();
    return QTest::qWaitForWindowExposed(box) ? box : nullptr;
}

// How many pixels of the label, as the box draws it, have this colour.
int pixelsOf(const QImage& box, const QWidget& label, QRgb colour) {
    const QRect area(label.mapTo(label.window(), QPoint()), label.size());
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += box.pixel(x, y) == colour;
    return count;
}

} // namespace

class AboutBoxTest : public QObject {
    Q_OBJECT

private slots:
    // Read from the box as drawn, on the box's own face: a colour set where
    // the label never uses it leaves the text black. Panel1 is a lowered
    // outer bevel around a raised inner one, each a pixel wide.
    void drawnColours() {
        const auto form = shownWindow();
        TAboutBox* box = shownAboutBox(*form);
        QVERIFY(box);
        const QImage drawn = box->grab().toImage();
        const QRgb face = box->palette().color(QPalette::Button).rgb();
        for (const auto& [label, colour] : {std::pair("ProductName", qRgb(0, 0, 255)), std::pair("Version", qRgb(128, 0, 0))}) {
            const QWidget& shown = *box->findChild<QWidget*>(label);
            QVERIFY2(pixelsOf(drawn, shown, colour) > 10, label);
            QCOMPARE(pixelsOf(drawn, shown, qRgb(0, 0, 0)), 0);
            QVERIFY(pixelsOf(drawn, shown, face) > shown.width() * shown.height() / 2);
        }
        const QRgb light = box->palette().color(QPalette::Light).rgb();
        const QRgb dark = box->palette().color(QPalette::Dark).rgb();
        for (const QRect& bevel : {QRect(7, 7, 258, 148), QRect(8, 8, 256, 146)}) {
            const QRgb topLeft = bevel.x() == 7 ? dark : light, bottomRight = bevel.x() == 7 ? light : dark;
            const QPoint middle = bevel.center();
            QCOMPARE(drawn.pixel(middle.x(), bevel.top()), topLeft);
            QCOMPARE(drawn.pixel(bevel.left(), middle.y()), topLeft);
            QCOMPARE(drawn.pixel(middle.x(), bevel.bottom()), bottomRight);
            QCOMPARE(drawn.pixel(bevel.right(), middle.y()), bottomRight);
        }
        QCOMPARE(drawn.pixel(100, 152), face);
    }

    // One box of fixed size without minimise or maximise, shown beside a
    // window that stays usable, centred on the screen with its frame; OK,
    // Enter and the close box only hide it.
    void showingAndHiding_data() {
        QTest::addColumn<QString>("closing");
        QTest::newRow("OK") << "OK";
        QTest::newRow("Enter") << "Enter";
        QTest::newRow("close box") << "close box";
    }

    void showingAndHiding() {
        QFETCH(QString, closing);
        const auto form = shownWindow();
        TAboutBox* box = shownAboutBox(*form);
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), QStringLiteral("バージョン情報"));
        QCOMPARE(box->size(), QSize(273, 195));
        QVERIFY(!(box->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QVERIFY(!QApplication::activeModalWidget());
        shownAboutBox(*form);
        QCOMPARE(form->findChildren<TAboutBox*>().size(), 1);
        QTRY_COMPARE(box->frameGeometry().topLeft(), centredTopLeft(*box));
        if (closing == QLatin1String("OK"))
            box->OKButton->click();
        else if (closing == QLatin1String("Enter"))
            QTest::keyClick(box, Qt::Key_Return);
        else
            QVERIFY(box->close());
        QVERIFY(!box->isVisible());
        QCOMPARE(shownAboutBox(*form), box);
    }
};

PELMORA_APP_TEST_MAIN(AboutBoxTest)
#include "about_box_test.moc"
