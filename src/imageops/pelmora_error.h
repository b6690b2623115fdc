// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QString>

// Std
#include <stdexcept>

namespace pelmora {

// An error meant for the user: its text is shown as it stands in the
// application's error report.
class PelmoraError : public std::runtime_error {
public:
    explicit PelmoraError(const QString& text)
        : std::runtime_error(text.toStdString()), text_(text) {}

    const QString& text() const noexcept { return text_; }

private:
    QString text_;
};

// The text of a picture that cannot be made for want of memory.
inline QString outOfMemoryText() { return QStringLiteral("メモリが足りません"); }

} // namespace pelmora
