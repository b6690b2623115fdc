// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// What the app tests share.

// Qt
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// Local
#include "colour_panel.h"
#include "main_window.h"
#include "modal_dialogs.h"
#include "pelmora_application.h"
#include "picture_file_dialog.h"
#include "picture_view.h"
#include "program_windows.h"
#include "file_size.h"
#include "import_picture.h"
#include "test_main.h"

// Std
#include <functional>
#include <memory>

namespace pelmora::test {

// The caption while no picture is open.
inline const QString kStartCaption = QString::fromUtf16(u"\u3000Pelmora\u3000\u3000Ostrel\u3000");


inline std::unique_ptr<TPelmoraForm1> shownWindow(const QStringList& commandLine = {}) {
    auto form = createProgramWindows(commandLine);
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        qFatal("window not shown");
    QTest::qWait(20);
    return form;
}

// Types a name as the user would, once the dialog has listed its folder (a
// listing that arrives later would select a file and replace the name).
inline void typeFileName(QFileDialog* dialog, const QString& name) {
    auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
    QTRY_VERIFY_WITH_TIMEOUT(view->model()->rowCount(view->rootIndex()) > 0, 5000);
    QTest::qWait(50);
    dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
}

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A picture of the background colour with a red block.
inline QImage pictureWithBlock(QSize size, QRect block, QColor background = Qt::white) {
    QImage image(size, background.alpha() < 255 ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    image.fill(background);
    QPainter(&image).fillRect(block, QColor(255, 0, 0));
    return image;
}

// The picture most tests open: 40 x 30 on white, a red 12 x 9 block at (10, 8).
inline QImage catPicture() { return pictureWithBlock({40, 30}, {10, 8, 12, 9}); }

// cat.bmp, and photo.jpg of the same picture, in the folder.
inline bool saveCatAndPhoto(const QTemporaryDir& folder) {
    return catPicture().save(folder.filePath(QStringLiteral("cat.bmp")), "BMP")
           && catPicture().save(folder.filePath(QStringLiteral("photo.jpg")), "JPEG");
}

// Where the window's frame stands when it is centred on the screen.
inline QPoint centredTopLeft(const QWidget& window) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QSize outer = window.frameGeometry().size();
    return {(screen.width() - outer.width()) / 2, (screen.height() - outer.height()) / 2};
}

} // namespace pelmora::test

#define PELMORA_APP_TEST_MAIN(TestClass)                    \
    int main(int argc, char** argv) {                        \
        pelmora::PelmoraApplication application(argc, argv); \
        TestClass test;                                      \
        return pelmora::test::runTests(test, argc, argv);    \
    }
