// SPDX-License-Identifier: GPL-2.0-or-later
#include "message_boxes.h"

// Qt
#include <QApplication>
#include <QMessageBox>

// Local
#include "pelmora_error.h"
#include "product_name.h"

// Std
#include <exception>
#include <new>

namespace pelmora {

QString errorReportText(const QString& text) {
    if (!text.isEmpty() && text.back() > QLatin1Char('.'))
        return text + QLatin1Char('.');
    return text;
}

void showErrorReport(const QString& text) {
    QMessageBox box(QMessageBox::Critical, texts::kProductName, errorReportText(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

void reportCurrentException() {
    try {
        throw;
    } catch (const PelmoraError& error) {
        showErrorReport(error.text());
    } catch (const std::bad_alloc&) {
        showErrorReport(outOfMemoryText());
    } catch (const std::exception& error) {
        showErrorReport(QString::fromLocal8Bit(error.what()));
    }
}

void runReported(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception&) {
        reportCurrentException();
    }
}

void showRefusal(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, texts::kProductName, text, QMessageBox::Ok, parent);
    box.exec();
}

} // namespace pelmora
