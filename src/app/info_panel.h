// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QColor>
#include <QFrame>

class QLabel;

namespace pelmora {

// Panel3 and Panel4: a coloured strip with the kind of a picture at its
// left and a file size at its right.
class InfoPanel : public QFrame {
    Q_OBJECT
public:
    InfoPanel(const QColor& face, const QColor& kindColour, const QColor& sizeColour, QWidget* parent = nullptr);

    QLabel* kindLabel() const { return kindLabel_; }
    QLabel* sizeLabel() const { return sizeLabel_; }

private:
    QLabel* kindLabel_;
    QLabel* sizeLabel_;
};

} // namespace pelmora
