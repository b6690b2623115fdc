// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QWidget>

// Local
#include "bitmap.h"

namespace pelmora {

// Image1: shows its own copy of a picture, unscaled at its origin, and is
// always as large as that picture.
class PictureView : public QWidget {
    Q_OBJECT
public:
    explicit PictureView(QWidget* parent = nullptr);

    const Bitmap& picture() const { return picture_; }
    void setPicture(const Bitmap& picture);

signals:
    void mousePressed(Qt::MouseButton button, QPoint position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    Bitmap picture_;
};

} // namespace pelmora
