// SPDX-License-Identifier: GPL-2.0-or-later
#include "glyphs.h"

// Qt
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

// Std
#include <functional>

namespace pelmora {

namespace {

const QColor kInk(40, 40, 40);

QPixmap drawn(int size, const std::function<void(QPainter&)>& paint) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter);
    painter.end();
    return QPixmap::fromImage(image);
}

void folder(QPainter& p) {
    p.setPen(QPen(QColor(120, 90, 20), 1));
    p.setBrush(QColor(230, 190, 80));
    p.drawPolygon(QPolygonF({{1.5, 3.5}, {6.5, 3.5}, {8, 5}, {13.5, 5}, {13.5, 13.5}, {1.5, 13.5}}));
    p.setBrush(QColor(250, 215, 110));
    p.drawPolygon(QPolygonF({{1.5, 13.5}, {4, 7.5}, {15.5, 7.5}, {13.5, 13.5}}));
}

void floppy(QPainter& p) {
    p.setPen(QPen(QColor(20, 40, 100), 1));
    p.setBrush(QColor(60, 100, 190));
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 2, 8, 5));
    p.setBrush(QColor(190, 190, 200));
    p.drawRect(QRectF(4.5, 10, 7, 4.5));
    p.setBrush(QColor(60, 100, 190));
    p.drawRect(QRectF(9, 10.8, 1.6, 3));
}

void exitDoor(QPainter& p) {
    p.setPen(QPen(QColor(90, 50, 20), 1));
    p.setBrush(QColor(170, 110, 60));
    p.drawRect(QRectF(1.5, 1.5, 8, 13));
    p.setBrush(QColor(250, 230, 120));
    p.drawEllipse(QPointF(7.5, 8.5), 0.8, 0.8);
    p.setPen(QPen(QColor(200, 30, 30), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(9, 8), QPointF(14.5, 8));
    p.drawPolyline(QPolygonF({{12, 5.5}, {14.5, 8}, {12, 10.5}}));
}

// A small figure: head and shoulders, the shape the program works on.
QPainterPath figure(double cx, double top, double scale) {
    QPainterPath path;
    path.addEllipse(QPointF(cx, top + 3 * scale), 2.6 * scale, 2.6 * scale);
    QPainterPath body;
    body.moveTo(cx - 5 * scale, top + 12 * scale);
    body.cubicTo(cx - 5 * scale, top + 6 * scale, cx + 5 * scale, top + 6 * scale, cx + 5 * scale, top + 12 * scale);
    body.closeSubpath();
    return path.united(body);
}

void outline(QPainter& p) {
    p.setPen(QPen(QColor(220, 30, 30), 2.2));
    p.setBrush(kInk);
    p.drawPath(figure(8, 1.8, 1.0));
}

void fill(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 90, 220));
    p.drawPath(figure(8, 1.8, 1.0));
}

void newPage(QPainter& p) {
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({{2.5, 0.5}, {9.5, 0.5}, {13.5, 4.5}, {13.5, 15.5}, {2.5, 15.5}}));
    p.setBrush(QColor(210, 210, 210));
    p.drawPolygon(QPolygonF({{9.5, 0.5}, {9.5, 4.5}, {13.5, 4.5}}));
}

void pipette(QPainter& p, const QColor& bulb) {
    p.setPen(QPen(kInk, 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(1.5, 14.5), QPointF(9.5, 6.5));
    p.setPen(QPen(Qt::white, 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(2.5, 13.5), QPointF(9, 7));
    p.setPen(QPen(kInk, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 5), QPointF(11, 8));
    p.setPen(QPen(kInk, 1));
    p.setBrush(bulb);
    p.drawEllipse(QPointF(12, 4), 3.2, 3.2);
}

void information(QPainter& p) {
    p.setPen(QPen(QColor(20, 50, 140), 1));
    p.setBrush(QColor(50, 100, 210));
    p.drawEllipse(QPointF(8, 8), 7, 7);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8, 4.5), 1.3, 1.3);
    p.drawRect(QRectF(6.8, 6.8, 2.4, 6));
}

void mirror(QPainter& p, bool leftRight) {
    if (!leftRight) {
        p.translate(8, 8);
        p.rotate(90);
        p.translate(-8, -8);
    }
    p.setPen(QPen(QColor(120, 120, 120), 1, Qt::DashLine));
    p.drawLine(QPointF(8, 0.5), QPointF(8, 15.5));
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(30, 90, 220));
    p.drawPolygon(QPolygonF({{6.5, 3}, {6.5, 13}, {1, 13}}));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({{9.5, 3}, {9.5, 13}, {15, 13}}));
}

void switchView(QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(0.5, 0.5, 7, 7));
    p.setBrush(QColor(30, 90, 220));
    p.drawRect(QRectF(8.5, 8.5, 7, 7));
    p.setPen(QPen(QColor(20, 140, 40), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({{10, 2}, {13.5, 2}, {13.5, 6}}));
    p.drawPolyline(QPolygonF({{12, 4.5}, {13.5, 6}, {15, 4.5}}));
    p.drawPolyline(QPolygonF({{6, 14}, {2.5, 14}, {2.5, 10}}));
    p.drawPolyline(QPolygonF({{1, 11.5}, {2.5, 10}, {4, 11.5}}));
}

void rotate(QPainter& p) {
    p.setPen(QPen(QColor(20, 140, 40), 2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(2.5, 2.5, 11, 11), 180 * 16, -270 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 140, 40));
    p.drawPolygon(QPolygonF({{8, 15.5}, {4.5, 13}, {8, 10.5}}));
}

void resize(QPainter& p) {
    p.setPen(QPen(QColor(90, 90, 90), 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, 15, 15));
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(30, 90, 220));
    p.drawRect(QRectF(1.5, 9.5, 5, 5));
    p.setPen(QPen(QColor(200, 30, 30), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(7.5, 8.5), QPointF(13, 3));
    p.drawPolyline(QPolygonF({{9, 3}, {13, 3}, {13, 7}}));
}

void programFigure(QPainter& p) {
    p.setPen(QPen(QColor(20, 60, 20), 1));
    p.setBrush(QColor(250, 240, 200));
    p.drawRoundedRect(QRectF(0.5, 0.5, 63, 63), 9, 9);
    p.setPen(QPen(QColor(230, 120, 20), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(30, 30, 40));
    p.drawPath(figure(32, 9, 4.0));
}

} // namespace

QPixmap glyph(int index) {
    return drawn(kGlyphSize, [index](QPainter& p) {
        switch (index) {
        case 0: folder(p); break;
        case 1: floppy(p); break;
        case 2: exitDoor(p); break;
        case 3: outline(p); break;
        case 4: fill(p); break;
        case 8: newPage(p); break;
        case 9: pipette(p, QColor(235, 40, 40)); break;
        case 10: pipette(p, QColor(40, 110, 255)); break;
        case 12: information(p); break;
        case 22: mirror(p, true); break;
        case 23: mirror(p, false); break;
        case 28: switchView(p); break;
        case 29: rotate(p); break;
        case 32: resize(p); break;
        default: break;
        }
    });
}

QPixmap programPicture(int size) {
    return drawn(size, [size](QPainter& p) {
        p.scale(size / 64.0, size / 64.0);
        programFigure(p);
    });
}

QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64})
        icon.addPixmap(programPicture(size));
    return icon;
}

} // namespace pelmora
