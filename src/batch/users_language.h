// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QLocale>

namespace pelmora::batch {

// The language of messages, as LC_ALL, LC_MESSAGES and LANG ask in that
// order; C when none does.
QLocale messageLocale();

// Every text pelmora-batch prints, and the readers' texts, from here on in
// the locale's language where there is a translation, else in English.
void useLanguage(const QLocale& locale);

} // namespace pelmora::batch
