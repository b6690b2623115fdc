// The real program in a real X server: started with a picture on its
// command line, it shows the picture's name in its title, draws its window,
// and ends when its window is closed.

// Qt
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QtGui/qguiapplication_platform.h>

// Std
#include <cstdlib>
#include <optional>

// X
#include <xcb/xcb.h>

namespace {

xcb_connection_t* connection() {
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

xcb_atom_t atom(const char* name) {
    const auto cookie = xcb_intern_atom(connection(), 0, uint16_t(qstrlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection(), cookie, nullptr);
    const xcb_atom_t found = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return found;
}

QString windowTitle(xcb_window_t window) {
    const auto cookie =
        xcb_get_property(connection(), 0, window, atom("_NET_WM_NAME"), atom("UTF8_STRING"), 0, 1024);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection(), cookie, nullptr);
    QString title;
    if (reply)
        title = QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(reply)),
                                  xcb_get_property_value_length(reply));
    std::free(reply);
    return title;
}

// The top-level window whose title contains the text.
std::optional<xcb_window_t> findWindow(const QString& titlePart) {
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection())).data->root;
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(connection(), xcb_query_tree(connection(), root), nullptr);
    std::optional<xcb_window_t> found;
    if (tree) {
        const xcb_window_t* children = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree) && !found; ++i) {
            if (windowTitle(children[i]).contains(titlePart))
                found = children[i];
        }
    }
    std::free(tree);
    return found;
}

// What the window manager's close box sends.
void askToClose(xcb_window_t window) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = atom("WM_PROTOCOLS");
    message.data.data32[0] = atom("WM_DELETE_WINDOW");
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection(), 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
    xcb_flush(connection());
}

int countPixels(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return count;
}

} // namespace

class EndToEndTest : public QObject {
    Q_OBJECT

private slots:
    void startShowCloseTheRealProgram() {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X server");
        QTemporaryDir dir;
        const QString picture = dir.filePath(QStringLiteral("shot.bmp"));
        QImage image(120, 80, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter(&image).fillRect(30, 20, 50, 30, QColor(255, 0, 0));
        QVERIFY(image.save(picture, "BMP"));

        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(dir.path());
        program.start(QStringLiteral(PELMORA_PROGRAM), {picture});
        QVERIFY(program.waitForStarted());

        const QString title = QString::fromUtf16(u"\u3000Pelmora\u3000\u3000Ostrel\u3000 ファイル名 『 shot.bmp 』");
        std::optional<xcb_window_t> window;
        QTRY_VERIFY_WITH_TIMEOUT((window = findWindow(title)).has_value(), 20000);
        QCOMPARE(windowTitle(*window), title);

        QImage screen;
        QTRY_VERIFY_WITH_TIMEOUT(
            (screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage()).isNull() == false &&
                countPixels(screen, qRgb(255, 0, 0)) == 50 * 30,
            10000);
        QVERIFY(countPixels(screen, qRgb(128, 128, 0)) > 10000);
        QVERIFY(screen.save(QStringLiteral(PELMORA_SCREENSHOT)));

        askToClose(*window);
        QVERIFY(program.waitForFinished(20000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
    }
};

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    EndToEndTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "end_to_end_test.moc"
