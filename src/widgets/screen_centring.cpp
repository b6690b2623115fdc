// SPDX-License-Identifier: GPL-2.0-or-later
#include "screen_centring.h"

// Qt
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace pelmora {

namespace {

const QString kWatcherName = QStringLiteral("centringOnceFramed");

// Each half-difference truncated toward zero: a window larger than the
// screen gets a negative left or top.
QPoint centredTopLeft(const QRect& screen, QSize outer) {
    return {screen.x() + (screen.width() - outer.width()) / 2, screen.y() + (screen.height() - outer.height()) / 2};
}

bool frameKnown(const QWidget& window) {
    return window.frameGeometry().size() != window.size();
}

void centreNow(QWidget& window) {
    window.move(centredTopLeft(QGuiApplication::primaryScreen()->geometry(), window.frameGeometry().size()));
}

// Waits for the first move, resize or paint after which the frame is known,
// centres the window again then, and goes. A window the system places where
// it was asked gets no move, only the paint of its first exposure.
class CentringOnceFramed : public QObject {
public:
    explicit CentringOnceFramed(QWidget& window) : QObject(&window), window_(window) {
        setObjectName(kWatcherName);
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (watched == &window_ && (type == QEvent::Move || type == QEvent::Resize || type == QEvent::Paint) &&
            frameKnown(window_)) {
            window_.removeEventFilter(this);
            deleteLater();
            centreNow(window_);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget& window_;
};

} // namespace

void centreOnScreen(QWidget& window) {
    centreNow(window);
    if (!frameKnown(window) && !window.findChild<QObject*>(kWatcherName, Qt::FindDirectChildrenOnly))
        new CentringOnceFramed(window);
}

} // namespace pelmora
