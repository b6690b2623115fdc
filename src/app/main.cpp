// SPDX-License-Identifier: GPL-2.0-or-later
// Qt
#include <QStringList>

// Local
#include "main_window.h"
#include "pelmora_application.h"
#include "program_windows.h"

// Std
#include <csignal>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    // A pipe whose reader has gone is a failed write, reported, not the end of the program.
    std::signal(SIGPIPE, SIG_IGN);
    // Answered before the application object, so it needs no display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::puts("pelmora " PELMORA_VERSION);
        return 0;
    }
    pelmora::PelmoraApplication application(argc, argv);
    const auto form = pelmora::createProgramWindows(application.arguments().mid(1));
    form->show();
    return application.exec();
}
