// SPDX-License-Identifier: GPL-2.0-or-later
#include "svg_output.h"

// Qt
#include <QColor>

// Local
#include "png_output.h"
#include "shadow_rows.h"

namespace pelmora::batch {

namespace {

QByteArray number(double value) {
    QByteArray text = QByteArray::number(value, 'f', 2);
    while (text.endsWith('0'))
        text.chop(1);
    if (text.endsWith('.'))
        text.chop(1);
    return text == "-0" ? QByteArrayLiteral("0") : text;
}

void appendPoint(QByteArray& out, const QPointF& point) {
    out += ' ' + number(point.x()) + ' ' + number(point.y());
}

// Each subpath closed with Z.
QByteArray pathData(const QPainterPath& shape) {
    QByteArray d;
    for (int i = 0; i < shape.elementCount(); ++i) {
        const QPainterPath::Element& e = shape.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            if (i > 0)
                d += 'Z';
            d += 'M';
            break;
        case QPainterPath::LineToElement: d += 'L'; break;
        case QPainterPath::CurveToElement: d += 'C'; break;
        case QPainterPath::CurveToDataElement: break;
        }
        appendPoint(d, e);
    }
    if (!d.isEmpty())
        d += 'Z';
    return d;
}

QByteArray pictureImage(const TracedPage& page) {
    const QByteArray png = encodePng(opaqueRows(page.picture));
    return "<image width=\"" + QByteArray::number(page.picture.width()) + "\" height=\""
           + QByteArray::number(page.picture.height()) + "\" xlink:href=\"data:image/png;base64,"
           + png.toBase64() + "\"/>\n";
}

} // namespace

QByteArray svgDocument(const TracedPage& page) {
    const QByteArray width = QByteArray::number(page.size.width());
    const QByteArray height = QByteArray::number(page.size.height());
    QByteArray outerWidth = width;
    QByteArray outerHeight = height;
    if (page.dotsPerMeter > 0) {
        outerWidth = number(page.size.width() * millimetresPerPixel(page)) + "mm";
        outerHeight = number(page.size.height() * millimetresPerPixel(page)) + "mm";
    }
    QByteArray svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\""
                     + outerWidth + "\" height=\"" + outerHeight + "\" viewBox=\"0 0 " + width + ' ' + height + "\">\n";
    if (!page.picture.isEmpty())
        svg += pictureImage(page);
    if (!page.shape.isEmpty()) {
        const QByteArray colour = qColorFromColour(page.colour).name().toLatin1();
        const QByteArray look = page.stroke ? "fill=\"none\" stroke=\"" + colour + "\" stroke-width=\"1\""
                                            : "fill=\"" + colour + "\" fill-rule=\"evenodd\"";
        const QByteArray id = page.picture.isEmpty() ? QByteArray() : QByteArrayLiteral("id=\"CutContour\" ");
        svg += "<path " + id + look + " d=\"" + pathData(page.shape) + "\"/>\n";
    }
    svg += "</svg>\n";
    return svg;
}

} // namespace pelmora::batch
