// SPDX-License-Identifier: GPL-2.0-or-later
#include "picture_view.h"

// Qt
#include <QMouseEvent>
#include <QPainter>

namespace pelmora {

PictureView::PictureView(QWidget* parent) : QWidget(parent) {
    setFixedSize(0, 0);
}

void PictureView::setPicture(const Bitmap& picture) {
    picture_ = picture;
    setFixedSize(picture_.width(), picture_.height());
    update();
}

void PictureView::paintEvent(QPaintEvent* event) {
    if (picture_.isEmpty())
        return;
    QPainter painter(this);
    painter.drawImage(event->rect(), picture_.image(), event->rect());
}

void PictureView::mousePressEvent(QMouseEvent* event) {
    // The right button goes on to the window's context menu.
    event->setAccepted(event->button() != Qt::RightButton);
    emit mousePressed(event->button(), event->position().toPoint());
}

} // namespace pelmora
