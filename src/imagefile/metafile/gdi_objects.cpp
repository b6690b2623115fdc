#include "gdi_objects.h"

namespace pelmora {

std::optional<GdiObject> stockObject(quint32 index) {
    auto solidBrush = [](int grey) {
        GdiBrush brush;
        brush.colour = qRgb(grey, grey, grey);
        return GdiObject(brush);
    };
    auto pen = [](quint32 style, QRgb colour) {
        GdiPen p;
        p.style = style;
        p.colour = colour;
        return GdiObject(p);
    };
    switch (index) {
    case 0: return solidBrush(255);
    case 1: return solidBrush(192);
    case 2: return solidBrush(128);
    case 3: return solidBrush(64);
    case 4: return solidBrush(0);
    case 5: {
        GdiBrush brush;
        brush.kind = GdiBrush::Kind::Null;
        return GdiObject(brush);
    }
    case 6: return pen(0, qRgb(255, 255, 255));
    case 7: return pen(0, qRgb(0, 0, 0));
    case 8: return pen(5, qRgb(0, 0, 0));
    case 10:
    case 11:
    case 16: {
        GdiFont font;
        font.face = QStringLiteral("Courier New");
        return GdiObject(font);
    }
    case 12:
    case 13:
    case 14:
    case 17: {
        GdiFont font;
        font.face = QStringLiteral("MS Sans Serif");
        return GdiObject(font);
    }
    case 18: return solidBrush(255);
    case 19: return pen(0, qRgb(0, 0, 0));
    default: return std::nullopt;
    }
}

} // namespace pelmora
