// SPDX-License-Identifier: GPL-2.0-or-later
#include "spin_arrows.h"

// Qt
#include <QKeyEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace pelmora {

namespace {

QToolButton* arrowButton(Qt::ArrowType type, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setArrowType(type);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    return button;
}

} // namespace

SpinArrows::SpinArrows(QWidget* parent)
    : QWidget(parent)
    , up_(arrowButton(Qt::UpArrow, this))
    , down_(arrowButton(Qt::DownArrow, this)) {
    setFocusPolicy(Qt::TabFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(up_);
    layout->addWidget(down_);
    connect(up_, &QToolButton::clicked, this, [this] { emit stepped(1); });
    connect(down_, &QToolButton::clicked, this, [this] { emit stepped(-1); });
}

void SpinArrows::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up)
        emit stepped(1);
    else if (event->key() == Qt::Key_Down)
        emit stepped(-1);
    else
        QWidget::keyPressEvent(event);
}

} // namespace pelmora
