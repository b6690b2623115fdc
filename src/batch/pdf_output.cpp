// SPDX-License-Identifier: GPL-2.0-or-later
#include "pdf_output.h"

// Qt
#include <QBuffer>
#include <QCoreApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

// Local
#include "pelmora_error.h"

namespace pelmora::batch {

QByteArray pdfDocument(const TracedPage& page) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const double mmPerPixel = millimetresPerPixel(page);
    const QSizeF paper(std::max(page.size.width(), 1) * mmPerPixel, std::max(page.size.height(), 1) * mmPerPixel);
    QPdfWriter writer(&buffer);
    writer.setCreator(QStringLiteral("pelmora-batch"));
    writer.setPageLayout(QPageLayout(QPageSize(paper, QPageSize::Millimeter), QPageLayout::Portrait, QMarginsF()));
    QPainter painter;
    if (!painter.begin(&writer))
        throw PelmoraError(QCoreApplication::translate("batch", "the PDF could not be made"));
    // From the picture's pixels to the writer's dots.
    const double dotsPerPixel = writer.resolution() * mmPerPixel / 25.4;
    painter.scale(dotsPerPixel, dotsPerPixel);
    // The picture as it is, not recompressed as JPEG.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    if (!page.picture.isEmpty())
        painter.drawImage(QPointF(0, 0), page.picture.image());
    const QColor colour = qColorFromColour(page.colour);
    if (page.stroke) {
        painter.setPen(QPen(colour, 1));
        painter.setBrush(Qt::NoBrush);
    } else {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
    }
    painter.drawPath(page.shape);
    painter.end();
    return bytes;
}

} // namespace pelmora::batch
