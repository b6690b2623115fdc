// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QApplication>
#include <QTranslator>

namespace pelmora {

// The application object. Every entry from Qt into the program's handlers
// runs through runReported; an exception that still escapes a handler ends
// here and becomes the standard error report, and the program goes on running.
class PelmoraApplication : public QApplication {
public:
    PelmoraApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

private:
    QTranslator qtTexts_;
};

} // namespace pelmora
