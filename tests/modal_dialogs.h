// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <QWidget>

// Std
#include <functional>

namespace pelmora::test {

// Acts on the next modal dialog the event loop shows, or on each one.
class ModalDriver {
public:
    explicit ModalDriver(std::function<void(QWidget*)> act, bool each = false) {
        QObject::connect(&timer_, &QTimer::timeout, [this, each, act = std::move(act)] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible())
                return;
            if (!each)
                timer_.stop();
            acted_ = true;
            act(modal);
        });
        timer_.start(10);
    }
    bool acted() const { return acted_; }

private:
    QTimer timer_;
    bool acted_ = false;
};

// Answers every message box, No where it asks, else OK, and notes each: "?"
// for a question, else its title and text, the text marked "!" for an error.
class MessageBoxCatcher {
public:
    const QStringList& seen() const { return seen_; }

private:
    QStringList seen_;
    ModalDriver driver_{[this](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box)
            return;
        const QMessageBox::Icon icon = box->icon();
        const QString mark = icon == QMessageBox::Critical ? "!" : icon == QMessageBox::NoIcon ? "" : "(an icon)";
        seen_ << (box->buttons().size() > 1 ? QStringLiteral("?") : box->windowTitle() + ": " + mark + box->text());
        (box->button(QMessageBox::No) ? box->button(QMessageBox::No) : box->button(QMessageBox::Ok))->click();
    }, true};
};

} // namespace pelmora::test
