// SPDX-License-Identifier: GPL-2.0-or-later
#include "emfplus_player.h"

// Qt
#include <QGlyphRun>
#include <QRawFont>

// Local
#include "symbol_fonts.h"

// libUEMF
#include <upmf.h>

// Std
#include <algorithm>
#include <cmath>

namespace pelmora {

namespace {

constexpr quint16 flagDirectColour = 0x8000;
constexpr quint32 fontBold = 1, fontItalic = 2, fontUnderline = 4, fontStrikeout = 8;
constexpr double maxFontPixels = 4000;

// Font space is about the target's pixels; text is laid out in fixed point,
// so what lies far outside the picture is not laid out at all.
const QRectF layoutReach(-1e6, -1e6, 2e6, 2e6);

int qtAlignment(quint32 across, quint32 down) {
    const int h = across == U_SA_Center ? Qt::AlignHCenter : across == U_SA_Far ? Qt::AlignRight : Qt::AlignLeft;
    const int v = down == U_SA_Center ? Qt::AlignVCenter : down == U_SA_Far ? Qt::AlignBottom : Qt::AlignTop;
    return h | v;
}

// Text in a symbol face as the characters its glyphs show.
QString shownText(const EmfPlusFont& font, const QString& text) {
    const SymbolEncoding encoding = symbolEncoding(font.family, 0);
    return encoding == SymbolEncoding::None ? text : symbolCharacters(text, encoding).join(QString());
}

// Laying out and drawing a character costs as much as this many path elements.
constexpr qsizetype characterCost = 12;

// A brush for text drawn in font space, where one unit is 1 / scale world units.
QBrush fontSpaceBrush(QBrush brush, double scale) {
    brush.setTransform(brush.transform() * QTransform::fromScale(scale, scale));
    return brush;
}

} // namespace

// The font at a whole pixel size for the target; scale is then the font
// space's units per world unit.
QFont EmfPlusPlayer::qtFont(const EmfPlusFont& font, double& scale) const {
    const double em = std::abs(worldLength(font.emSize, font.unit, true));
    const double targetScale = std::sqrt(std::abs(transform().determinant()));
    const double pixels = std::clamp(std::round(em * targetScale), 1.0, maxFontPixels);
    scale = em > 0 ? pixels / em : 0;
    QFont qt;
    // One family, so that the font configuration may substitute a face of
    // the same metrics (an Arial for Arial) before any fallback.
    if (symbolEncoding(font.family, 0) != SymbolEncoding::None)
        qt.setFamilies(symbolFamilies());
    else
        qt.setFamily(font.family);
    qt.setPixelSize(int(pixels));
    qt.setBold(font.style & fontBold);
    qt.setItalic(font.style & fontItalic);
    qt.setUnderline(font.style & fontUnderline);
    qt.setStrikeOut(font.style & fontStrikeout);
    qt.setStyleStrategy(state_.textAntialias ? QFont::PreferAntialias : QFont::NoAntialias);
    return qt;
}

void EmfPlusPlayer::drawString(quint16 flags, ByteView data) {
    const auto* font = find<EmfPlusFont>(flags & 0xFF);
    const auto textBrush = brush(flags & flagDirectColour, data.u32(0));
    const auto* format = find<EmfPlusStringFormat>(data.u32(4));
    const quint32 length = data.u32(8);
    const auto box = EmfPlusReader(data).rect(12, false);
    if (!font)
        return;
    const QString text = shownText(*font, readUtf16(data, 28, length));
    if (!textBrush || !box || text.isEmpty())
        return;
    double scale = 0;
    const QFont qt = qtFont(*font, scale);
    if (!(scale > 0))
        return;
    const EmfPlusStringFormat layout = format ? *format : EmfPlusStringFormat{};
    // A box without size places the text at its corner, unwrapped and unclipped.
    const bool point = box->width() <= 0 || box->height() <= 0;
    const double em = qt.pixelSize() / scale;
    const double extent = em * double(text.size());
    const QRectF bounds = point ? QRectF(box->x() - extent / 2, box->y() - em, extent, em * 2) : *box;
    if (!prepare(bounds, text.size() * characterCost))
        return;
    int textFlags = qtAlignment(layout.align, layout.lineAlign);
    if (point || (layout.flags & U_SF_NoClip))
        textFlags |= Qt::TextDontClip;
    if (!point && !(layout.flags & U_SF_NoWrap))
        textFlags |= Qt::TextWordWrap;
    painter_.setTransform(QTransform::fromScale(1 / scale, 1 / scale) * transform());
    painter_.setFont(qt);
    painter_.setPen(QPen(fontSpaceBrush(textBrush->brush, scale), 0));
    // The margins are kept inside the box, or beside the point.
    const double leading = layout.leadingMargin * em, trailing = layout.trailingMargin * em;
    const double shift = layout.align == U_SA_Far ? -trailing : layout.align == U_SA_Near ? leading : 0;
    const QRectF inner = point ? box->translated(shift, 0) : box->adjusted(leading, 0, -trailing, 0);
    const QRectF place(inner.x() * scale, inner.y() * scale, std::max(0.0, inner.width()) * scale,
                       std::max(0.0, inner.height()) * scale);
    if (layoutReach.contains(place.topLeft()) && layoutReach.contains(place.bottomRight()))
        painter_.drawText(place, textFlags, text);
}

void EmfPlusPlayer::drawDriverString(quint16 flags, ByteView data) {
    const auto* font = find<EmfPlusFont>(flags & 0xFF);
    const auto textBrush = brush(flags & flagDirectColour, data.u32(0));
    const quint32 options = data.u32(4);
    const bool hasMatrix = data.u32(8) != 0;
    const quint32 count = data.u32(12);
    const std::size_t positionsAt = 16 + 2 * std::size_t(count);
    const auto positions = EmfPlusReader(data).points(positionsAt, count, false, false);
    const std::size_t matrixAt = positionsAt + 8 * std::size_t(count);
    if (!font || !textBrush || !positions || count == 0 || (hasMatrix && !data.has(matrixAt, 24)))
        return;
    const QTransform glyphs = hasMatrix ? EmfPlusReader(data).matrix(matrixAt) : QTransform();
    double scale = 0;
    const QFont qt = qtFont(*font, scale);
    if (!(scale > 0) || !usableTransform(glyphs))
        return;
    const double em = qt.pixelSize() / scale;
    const QRectF reach = positions->boundingRect().adjusted(-em, -em, em * 2, em);
    if (!prepare(glyphs.mapRect(reach), qsizetype(count) * characterCost))
        return;
    painter_.setTransform(QTransform::fromScale(1 / scale, 1 / scale) * glyphs * transform());
    painter_.setPen(QPen(fontSpaceBrush(textBrush->brush, scale), 0));
    painter_.setFont(qt);
    QList<QPointF> places;
    for (const QPointF& p : *positions)
        places.append(p * scale);
    if (!std::all_of(places.begin(), places.end(), [](QPointF p) { return layoutReach.contains(p); }))
        return;
    QList<quint32> codes;
    for (quint32 i = 0; i < count; ++i)
        codes.append(data.u16(16 + 2 * std::size_t(i)));
    const bool followOn = options & U_DSO_RealizedAdvance;
    if (options & U_DSO_CmapLookup) {
        QStringList characters;
        for (quint32 code : codes)
            characters.append(shownText(*font, QString(QChar(char16_t(code)))));
        if (followOn) {
            painter_.drawText(places.front(), characters.join(QString()));
            return;
        }
        for (qsizetype i = 0; i < characters.size(); ++i)
            painter_.drawText(places[i], characters[i]);
        return;
    }
    // Glyph indices of the recording font, looked up in the nearest font here.
    const QRawFont raw = QRawFont::fromFont(qt);
    if (!raw.isValid())
        return;
    if (followOn) {
        const QList<QPointF> advances = raw.advancesForGlyphIndexes(codes);
        QPointF pen = places.front();
        for (qsizetype i = 0; i < places.size(); ++i) {
            places[i] = pen;
            pen += i < advances.size() ? advances[i] : QPointF();
        }
    }
    QGlyphRun run;
    run.setRawFont(raw);
    run.setGlyphIndexes(codes);
    run.setPositions(places);
    painter_.drawGlyphRun(QPointF(0, 0), run);
}

} // namespace pelmora
