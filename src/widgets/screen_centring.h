// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

class QWidget;

namespace pelmora {

// Centres a top-level window on the primary screen by its outer, framed
// size. Before the window system has framed the window that size is not
// known yet; the window is then centred again once the frame is known.
void centreOnScreen(QWidget& window);

} // namespace pelmora
