// SPDX-License-Identifier: GPL-2.0-or-later
#include "number_field.h"

// Qt
#include <QKeyEvent>
#include <QLineEdit>

// Local
#include "pelmora_error.h"
#include "resize_texts.h"
#include "spin_arrows.h"

// Std
#include <algorithm>
#include <optional>

namespace pelmora {

namespace {

// Optional sign and decimal digits that fit 32 bits.
std::optional<int> wholeNumber(const QString& text) {
    bool ok = false;
    const int number = text.toInt(&ok, 10);
    return ok ? std::optional<int>(number) : std::nullopt;
}

} // namespace

NumberField::NumberField(QLineEdit* edit, SpinArrows* arrows, int maximum, QObject* parent)
    : QObject(parent)
    , edit_(edit)
    , arrows_(arrows)
    , maximum_(maximum) {
    connect(edit_, &QLineEdit::textChanged, this, &NumberField::changed);
    connect(arrows_, &SpinArrows::stepped, this, &NumberField::step);
    edit_->installEventFilter(this);
}

int NumberField::value() {
    const auto number = wholeNumber(edit_->text());
    if (number && *number >= 0 && *number <= maximum_)
        value_ = *number;
    return value_;
}

void NumberField::setValue(int value) {
    value_ = std::clamp(value, 0, maximum_);
    setText(QString::number(value_));
}

void NumberField::setText(const QString& text) {
    if (edit_->text() != text)
        edit_->setText(text);
}

bool NumberField::takeText() {
    const QString text = edit_->text();
    if (text.isEmpty())
        return false;
    const auto number = wholeNumber(text);
    if (!number)
        throw PelmoraError(resize_texts::notAnInteger(text));
    setValue(*number);
    return true;
}

void NumberField::setEnabled(bool textBox, bool arrows) {
    edit_->setEnabled(textBox);
    arrows_->setEnabled(arrows);
}

bool NumberField::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void NumberField::step(int delta) {
    if (!arrows_->isEnabled())
        return;
    // The step starts from what the box shows, as the arrows read their
    // buddy's text first.
    const int next = value() + delta;
    if (next < 0 || next > maximum_)
        return;
    setValue(next);
    emit arrowClicked();
}

} // namespace pelmora
