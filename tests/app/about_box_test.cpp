// SPDX-License-Identifier: GPL-2.0-or-later
// The About box: its controls, the colours it draws its texts and frame in,
// and how it shows beside the main window and hides again.

// Qt
#include <QPushButton>

// Local
#include "app/about_box.h"
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
    void controls_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");  // an empty size: the label sizes itself
        QTest::addColumn<QString>("text");    // empty: not checked
        QTest::addColumn<int>("pixelSize");
        QTest::addColumn<bool>("bold");
        QTest::newRow("Panel1") << "Panel1" << QRect(7, 7, 258, 148) << "" << 12 << false;
        QTest::newRow("ProgramIcon") << "ProgramIcon" << QRect(7, 7, 60, 53) << "" << 12 << false;
        QTest::newRow("ProductName") << "ProductName" << QRect(81, 15, 0, 0) << "Pelmora" << 16 << true;
        QTest::newRow("Version") << "Version" << QRect(81, 37, 0, 0) << QStringLiteral("バージョン 2.1") << 15 << true;
        QTest::newRow("Copyright") << "Copyright" << QRect(20, 73, 0, 0) << "" << 13 << false;
        QTest::newRow("Comments") << "Comments" << QRect(15, 95, 237, 42)
                                  << QStringLiteral("シャドウイメージの作成や画像の縁取りが簡単にできるので・・・楽できますよ～")
                                  << 13 << false;
        QTest::newRow("OKButton") << "OKButton" << QRect(102, 165, 69, 23) << "OK" << 12 << false;
    }

    void controls() {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(QString, text);
        const auto form = shownWindow();
        TAboutBox* box = shownAboutBox(*form);
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), QStringLiteral("バージョン情報"));
        QCOMPARE(box->size(), QSize(273, 195));
        QVERIFY(!(box->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        auto* control = box->findChild<QWidget*>(name);
        QVERIFY(control);
        QCOMPARE(geometry.isEmpty() ? control->pos() : control->geometry().topLeft(), geometry.topLeft());
        QVERIFY(geometry.isEmpty() || control->size() == geometry.size());
        if (!text.isEmpty())
            QCOMPARE(control->property("text").toString(), text);
        QTEST(control->font().pixelSize(), "pixelSize");
        QTEST(control->font().bold(), "bold");
    }

    void colours_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("ProductName in blue") << "ProductName" << QColor(0, 0, 255);
        QTest::newRow("Version in maroon") << "Version" << QColor(128, 0, 0);
    }

    // Read from the box as drawn, on the box's own face: a colour set where
    // the label never uses it leaves the text black.
    void colours() {
        QFETCH(QString, label);
        QFETCH(QColor, colour);
        const auto form = shownWindow();
        TAboutBox* box = shownAboutBox(*form);
        QVERIFY(box);
        const QImage drawn = box->grab().toImage();
        const QWidget& shown = *box->findChild<QWidget*>(label);
        QVERIFY2(pixelsOf(drawn, shown, colour.rgb()) > 10, "text not drawn in its colour");
        QCOMPARE(pixelsOf(drawn, shown, qRgb(0, 0, 0)), 0);
        QVERIFY(pixelsOf(drawn, shown, box->palette().color(QPalette::Button).rgb()) > shown.width() * shown.height() / 2);
    }

    // Panel1: a lowered outer bevel around a raised inner one, each a pixel
    // wide, on the face colour.
    void panelBevel() {
        const auto form = shownWindow();
        TAboutBox* box = shownAboutBox(*form);
        QVERIFY(box);
        const QImage drawn = box->grab().toImage();
        const QRgb light = box->palette().color(QPalette::Light).rgb();
        const QRgb dark = box->palette().color(QPalette::Dark).rgb();
        // Top and left, then bottom and right, of the outer and the inner bevel.
        for (const QRect& bevel : {QRect(7, 7, 258, 148), QRect(8, 8, 256, 146)}) {
            const QRgb topLeft = bevel.x() == 7 ? dark : light, bottomRight = bevel.x() == 7 ? light : dark;
            const QPoint middle = bevel.center();
            QCOMPARE(drawn.pixel(middle.x(), bevel.top()), topLeft);
            QCOMPARE(drawn.pixel(bevel.left(), middle.y()), topLeft);
            QCOMPARE(drawn.pixel(middle.x(), bevel.bottom()), bottomRight);
            QCOMPARE(drawn.pixel(bevel.right(), middle.y()), bottomRight);
        }
        QCOMPARE(drawn.pixel(100, 152), box->palette().color(QPalette::Button).rgb());
    }

    // One box, shown beside a window that stays usable, centred on the
    // screen with its frame; OK, Enter and the close box only hide it.
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
        QVERIFY(!QApplication::activeModalWidget());
        shownAboutBox(*form);
        QCOMPARE(form->findChildren<TAboutBox*>().size(), 1);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QTRY_COMPARE(box->frameGeometry().topLeft(),
                     QPoint((screen.width() - box->frameGeometry().width()) / 2,
                            (screen.height() - box->frameGeometry().height()) / 2));
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
