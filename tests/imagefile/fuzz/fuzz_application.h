// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QGuiApplication>

// Icons and metafile text need a GUI application; a fuzz run shows no window.
inline void startOffscreenApplication() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "pelmora-fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
}
