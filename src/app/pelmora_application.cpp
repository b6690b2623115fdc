// SPDX-License-Identifier: GPL-2.0-or-later
#include "pelmora_application.h"

// Qt
#include <QLibraryInfo>

// Local
#include "fonts.h"
#include "message_boxes.h"
#include "window_texts.h"

// Std
#include <exception>

namespace pelmora {

PelmoraApplication::PelmoraApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(texts::kProductName);
    // Wayland matches windows to the installed desktop entry (and its icon) by this name.
    setDesktopFileName(QStringLiteral("org.pelmora.Pelmora"));
    setFont(windowFont(12));
    // Qt's own dialogs speak the program's language where the translation
    // is installed.
    if (qtTexts_.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(&qtTexts_);
}

bool PelmoraApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception&) {
        reportCurrentException();
    }
    return false;
}

} // namespace pelmora
