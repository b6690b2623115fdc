// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QPoint>
#include <QRect>

class QWidget;

namespace pelmora {

// Where a window of this outer size stands centred on the screen: each
// half-difference truncated toward zero, so a window wider than the screen
// gets a negative left.
QPoint centredTopLeft(const QRect& screen, QSize outer);

// Centres a top-level window on the primary screen by its outer, framed
// size. Before the window system has framed the window that size is not
// known yet; the window is then centred again once the frame is known.
void centreOnScreen(QWidget& window);

} // namespace pelmora
