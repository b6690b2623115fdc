#include "pelmora_application.h"

// Local
#include "fonts.h"
#include "imageops/pelmora_error.h"
#include "message_boxes.h"
#include "window_texts.h"

// Std
#include <exception>
#include <new>

namespace pelmora {

PelmoraApplication::PelmoraApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(texts::kProductName);
    setFont(windowFont(12));
}

bool PelmoraApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const PelmoraError& error) {
        showErrorReport(error.text());
    } catch (const std::bad_alloc&) {
        showErrorReport(outOfMemoryText());
    } catch (const std::exception& error) {
        showErrorReport(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

} // namespace pelmora
