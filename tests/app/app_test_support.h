#pragma once

// Qt
#include <QFileDialog>
#include <QImage>
#include <QMessageBox>
#include <QString>
#include <QTimer>
#include <QWidget>

// Local
#include "app/pelmora_application.h"

// Std
#include <functional>

namespace pelmora::test {

// Acts on the next modal dialog as soon as the event loop shows it; stops
// looking when it goes out of scope.
class ModalDriver {
public:
    explicit ModalDriver(std::function<void(QWidget*)> act);
    ~ModalDriver();
    bool acted() const { return acted_; }

private:
    QTimer timer_;
    std::function<void(QWidget*)> act_;
    bool acted_ = false;
};

// What a message box showed before the driver pressed its OK button.
struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttonCount = 0;
};

// Presses a button (OK unless told) on every message box that comes up,
// remembering each one.
class MessageBoxCatcher {
public:
    explicit MessageBoxCatcher(QMessageBox::StandardButton answer = QMessageBox::Ok);
    ~MessageBoxCatcher();
    const QList<SeenBox>& seen() const { return seen_; }

private:
    QTimer timer_;
    QList<SeenBox> seen_;
};

// Types a name into a file dialog as the user would, once the dialog has
// listed its folder (a listing that arrives later would select a file and
// overwrite the name).
void typeFileName(QFileDialog* dialog, const QString& name);

// A white picture with a red block from (left, top), w x h.
QImage pictureWithBlock(int width, int height, QRect block, QColor colour = QColor(255, 0, 0));

// Writes the image in the given Qt format ("BMP", "JPEG", "ICO").
void writePicture(const QImage& image, const QString& path, const char* format = "BMP");

} // namespace pelmora::test

#define PELMORA_APP_TEST_MAIN(TestClass)                     \
    int main(int argc, char** argv) {                         \
        pelmora::PelmoraApplication application(argc, argv);  \
        TestClass test;                                       \
        return QTest::qExec(&test, argc, argv);               \
    }
