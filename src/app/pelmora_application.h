#pragma once

// Qt
#include <QApplication>

namespace pelmora {

// The application object. Handlers do not catch: every exception that
// escapes one ends here and becomes the standard error report, and the
// program goes on running.
class PelmoraApplication : public QApplication {
public:
    PelmoraApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace pelmora
