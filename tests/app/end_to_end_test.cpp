// SPDX-License-Identifier: GPL-2.0-or-later
// The real program in a real X server: started with a picture on its
// command line, it shows the picture's name in its title, draws it, and
// ends when its window is closed.

// Qt
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QtGui/qguiapplication_platform.h>

// Local
#include "test_main.h"

// Std
#include <algorithm>
#include <cstdlib>

// X
#include <xcb/xcb.h>

namespace {

xcb_connection_t* connection() {
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

xcb_atom_t atom(const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection(), xcb_intern_atom(connection(), 0, uint16_t(qstrlen(name)), name), nullptr);
    const xcb_atom_t found = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return found;
}

// The top-level window with this title, or none.
xcb_window_t findWindow(const QString& title) {
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection())).data->root;
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(connection(), xcb_query_tree(connection(), root), nullptr);
    xcb_window_t found = XCB_WINDOW_NONE;
    for (int i = 0; tree && i < xcb_query_tree_children_length(tree) && !found; ++i) {
        const xcb_window_t window = xcb_query_tree_children(tree)[i];
        xcb_get_property_reply_t* name = xcb_get_property_reply(
            connection(),
            xcb_get_property(connection(), 0, window, atom("_NET_WM_NAME"), atom("UTF8_STRING"), 0, 1024), nullptr);
        if (name && QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(name)),
                                      xcb_get_property_value_length(name)) == title)
            found = window;
        std::free(name);
    }
    std::free(tree);
    return found;
}

} // namespace

class EndToEndTest : public QObject {
    Q_OBJECT

private slots:
    void startShowCloseTheRealProgram() {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X server");
        QTemporaryDir dir;
        QImage picture(120, 80, QImage::Format_RGB32);
        picture.fill(Qt::white);
        QPainter(&picture).fillRect(30, 20, 50, 30, QColor(255, 0, 0));
        QVERIFY(picture.save(dir.filePath(QStringLiteral("shot.bmp"))));
        QProcess program;
        program.setWorkingDirectory(dir.path());
        program.start(QStringLiteral(PELMORA_PROGRAM), {dir.filePath(QStringLiteral("shot.bmp"))});

        const QString title = QString::fromUtf16(u"\u3000Pelmora\u3000\u3000Ostrel\u3000 ファイル名 『 shot.bmp 』");
        xcb_window_t window = XCB_WINDOW_NONE;
        QTRY_VERIFY_WITH_TIMEOUT((window = findWindow(title)) != XCB_WINDOW_NONE, 20000);
        // The picture shows whole: as many red pixels as its block has.
        QImage screen;
        const auto redPixels = [&screen] {
            screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
            const auto* first = reinterpret_cast<const QRgb*>(screen.constBits());
            return std::count(first, first + screen.width() * screen.height(), qRgb(255, 0, 0));
        };
        QTRY_COMPARE_WITH_TIMEOUT(redPixels(), 50 * 30, 10000);
        QVERIFY(screen.save(QStringLiteral(PELMORA_SCREENSHOT)));

        // What the window manager's close box sends.
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = atom("WM_PROTOCOLS");
        message.data.data32[0] = atom("WM_DELETE_WINDOW");
        xcb_send_event(connection(), 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
        xcb_flush(connection());
        QVERIFY(program.waitForFinished(20000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
    }
};

PELMORA_TEST_MAIN(EndToEndTest)

#include "end_to_end_test.moc"
