#include "message_boxes.h"

// Qt
#include <QApplication>
#include <QMessageBox>

// Local
#include "window_texts.h"

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

void showRefusal(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, texts::kProductName, text, QMessageBox::Ok, parent);
    box.exec();
}

} // namespace pelmora
