// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QDialog>

class QLabel;
class QPushButton;

namespace pelmora {

// The About box: modeless, made hidden at start-up and kept for the whole
// run; closing it only hides it.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    void OKButtonClick();

    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;
    QLabel* Copyright;
    QLabel* Comments;
    QPushButton* OKButton;

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace pelmora
