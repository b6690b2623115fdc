#include "app_test_support.h"

// Qt
#include <QAbstractButton>
#include <QLineEdit>
#include <QListView>
#include <QApplication>
#include <QPainter>
#include <QTest>

namespace pelmora::test {

ModalDriver::ModalDriver(std::function<void(QWidget*)> act) : act_(std::move(act)) {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        timer_.stop();
        acted_ = true;
        act_(modal);
    });
    timer_.start();
}

ModalDriver::~ModalDriver() = default;

MessageBoxCatcher::MessageBoxCatcher(QMessageBox::StandardButton answer) {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this, answer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        seen_.append({box->windowTitle(), box->text(), box->icon(), int(box->buttons().size())});
        box->button(answer)->click();
    });
    timer_.start();
}

MessageBoxCatcher::~MessageBoxCatcher() = default;

void typeFileName(QFileDialog* dialog, const QString& name) {
    auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
    QTRY_VERIFY_WITH_TIMEOUT(view->model()->rowCount(view->rootIndex()) > 0, 5000);
    QTest::qWait(50);
    dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
}

QImage pictureWithBlock(int width, int height, QRect block, QColor colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.fillRect(block, colour);
    return image;
}

void writePicture(const QImage& image, const QString& path, const char* format) {
    QVERIFY2(image.save(path, format), qPrintable(path));
}

} // namespace pelmora::test
