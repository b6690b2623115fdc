// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QApplication>
#include <QTranslator>

namespace pelmora {

// The application object. Handlers do not catch: every exception that
// escapes one ends here and becomes the standard error report, and the
// program goes on running. (Commands and clicks report theirs a step
// earlier, see TPelmoraForm1::runReported.)
class PelmoraApplication : public QApplication {
public:
    PelmoraApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

private:
    QTranslator qtTexts_;
};

} // namespace pelmora
