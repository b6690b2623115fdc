// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QStringList>

// Std
#include <memory>

namespace pelmora {

class TPelmoraForm1;

// Start-up: the main window (its creation runs FormCreate), then the About
// box and the resize dialog, both hidden and owned by the main window.
std::unique_ptr<TPelmoraForm1> createProgramWindows(const QStringList& commandLine);

} // namespace pelmora
