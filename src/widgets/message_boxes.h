// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QString>

// Std
#include <functional>

class QWidget;

namespace pelmora {

// The error text as the report shows it: "." appended when its last
// character sorts after ".".
QString errorReportText(const QString& text);

// The standard error report: modal, titled "Pelmora", stop icon, OK.
void showErrorReport(const QString& text);

// The standard error report for the exception being handled: the text a
// PelmoraError carries, the out-of-memory text for std::bad_alloc, what()
// for any other. Call only inside a catch block.
void reportCurrentException();

// Runs a handler that Qt calls (a command, a click, a drop, a queued call):
// an exception escaping it becomes the standard error report here, so that
// none unwinds through Qt's frames, which are built without exception support.
void runReported(const std::function<void()>& handler);

// The program's own refusals: modal, titled "Pelmora", no icon, OK.
void showRefusal(QWidget* parent, const QString& text);

} // namespace pelmora
