// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QObject>

class QLineEdit;

namespace pelmora {

class SpinArrows;

// One numeric field of the resize dialog: a text box that takes any text and
// the arrows beside it, over a whole number from 0 to a maximum. Setting a
// value or a text that changes what the box shows runs the change handler at
// once, nested inside the caller; the dialog's linked fields rely on that.
class NumberField : public QObject {
    Q_OBJECT

public:
    NumberField(QLineEdit* edit, SpinArrows* arrows, int maximum, QObject* parent);

    QLineEdit* edit() const { return edit_; }
    SpinArrows* arrows() const { return arrows_; }

    // The box's number when it holds one within the range (it is then
    // stored), otherwise the stored value.
    int value();
    // Clamps into the range, stores, and shows the stored value.
    void setValue(int value);
    // The box takes the text only when it differs from what it shows.
    void setText(const QString& text);
    // The change handler's conversion of the box's own text: false for an
    // empty box; throws PelmoraError for a text that is not a whole number.
    bool takeText();

    // Both parts at once; the pixel and millimetre arrows are never enabled.
    void setEnabled(bool textBox, bool arrows);

signals:
    void changed();
    void arrowClicked();

protected:
    // Up and down keys in the text box step the field as its arrows do.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void step(int delta);

    QLineEdit* edit_;
    SpinArrows* arrows_;
    int maximum_;
    int value_ = 0;
};

} // namespace pelmora
