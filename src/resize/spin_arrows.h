// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QWidget>

class QToolButton;

namespace pelmora {

// A pair of up and down arrows beside a text box. It only reports steps;
// the field it belongs to decides what a step does.
class SpinArrows : public QWidget {
    Q_OBJECT

public:
    explicit SpinArrows(QWidget* parent = nullptr);

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

signals:
    void stepped(int delta);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QToolButton* up_;
    QToolButton* down_;
};

} // namespace pelmora
