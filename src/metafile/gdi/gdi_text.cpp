// SPDX-License-Identifier: GPL-2.0-or-later
#include "gdi_device.h"
#include "symbol_fonts.h"

// Qt
#include <QFontInfo>
#include <QFontMetricsF>
#include <QStringDecoder>

// Std
#include <cmath>
#include <numbers>

namespace pelmora {

namespace {

// The families drawn for a face fontconfig knows nothing of: its kind
// guessed from its name.
QStringList familiesLike(const QString& face) {
    static const QString gothic = QStringLiteral("IPAPGothic");
    const QString f = face.trimmed().toLower();
    auto has = [&](const char* word) { return f.contains(QLatin1String(word)); };
    const bool japanese = f.contains(QStringLiteral("ゴシック")) || f.contains(QStringLiteral("明朝"))
        || f.contains(QStringLiteral("メイリオ")) || has("gothic") || has("mincho") || has("meiryo")
        || has("msgothic") || has("osaka");
    if (japanese) {
        if (f.contains(QStringLiteral("明朝")) || has("mincho"))
            return {QStringLiteral("IPAPMincho"), QStringLiteral("IPAMincho"), QStringLiteral("DejaVu Serif"), gothic};
        return {gothic, QStringLiteral("IPAGothic")};
    }
    if (has("courier") || has("mono") || has("consolas") || has("console") || has("fixed") || has("terminal"))
        return {QStringLiteral("DejaVu Sans Mono"), gothic};
    if (has("times") || has("roman") || (has("serif") && !has("sans")) || has("georgia") || has("garamond")
        || has("century") || has("cambria") || has("book") || has("palatino"))
        return {QStringLiteral("DejaVu Serif"), gothic};
    return {QStringLiteral("DejaVu Sans"), gothic};
}

// The families Windows faces are drawn with here: the face itself or one
// fontconfig gives its widths (Liberation Sans for Arial, Carlito for
// Calibri), so text runs as long as where it was recorded; else a face of
// its kind.
QStringList familiesFor(const QString& face) {
    // What fontconfig answers for a name it does not know.
    static const QString unknown = QFontInfo(QFont(QStringLiteral("-"))).family();
    QStringList families = familiesLike(face);
    const QString found = QFontInfo(QFont(face.trimmed())).family();
    if (!face.trimmed().isEmpty() && found != unknown)
        families.prepend(found);
    return families;
}

} // namespace

QFont GdiDevice::qtFont(double& pixelHeight, bool advanced) const {
    const QTransform t = transform();
    const double yScale = std::hypot(t.m21(), t.m22());
    double height = std::abs(double(dc_.font.height)) * yScale;
    if (dc_.font.height == 0)
        height = 12;
    height = std::clamp(height, 1.0, 4000.0);
    QFont font;
    const bool symbols = symbolEncoding(dc_.font.face, dc_.font.charSet) != SymbolEncoding::None;
    font.setFamilies(symbols ? symbolFamilies() : familiesFor(dc_.font.face));
    font.setStyleStrategy(QFont::NoAntialias);
    font.setPixelSize(std::max(1, int(std::round(height))));
    if (dc_.font.height > 0) {
        // A positive height is the cell (ascent plus descent), not the em.
        const QFontMetricsF metrics(font);
        if (metrics.height() > 0)
            font.setPixelSize(int(std::clamp(std::round(height * height / metrics.height()), 1.0, 4000.0)));
    }
    if (dc_.font.width != 0) {
        // A width is the average character width: stretch the face to it.
        // Drawn through the whole transform, the face is stretched with it.
        const double xScale = advanced ? yScale : std::hypot(t.m11(), t.m12());
        const double average = QFontMetricsF(font).averageCharWidth();
        if (average > 0)
            font.setStretch(int(std::clamp(100 * std::abs(double(dc_.font.width)) * xScale / average, 1.0, 4000.0)));
    }
    font.setWeight(QFont::Weight(std::clamp(dc_.font.weight == 0 ? 400 : dc_.font.weight, 100, 900)));
    font.setItalic(dc_.font.italic);
    font.setUnderline(dc_.font.underline);
    font.setStrikeOut(dc_.font.strikeOut);
    pixelHeight = height;
    return font;
}

QString GdiDevice::decodeText(const QByteArray& bytes) const {
    // A symbol font's codes are not letters of any character set.
    if (symbolEncoding(dc_.font.face, dc_.font.charSet) != SymbolEncoding::None)
        return QString::fromLatin1(bytes);
    return decodeAnsi(bytes, dc_.font.charSet);
}

QString decodeAnsi(const QByteArray& bytes, int charSet) {
    const char* encoding = "windows-1252";
    switch (charSet) {
    case 128: encoding = "Shift_JIS"; break;
    case 129: encoding = "EUC-KR"; break;
    case 134: encoding = "GBK"; break;
    case 136: encoding = "Big5"; break;
    case 161: encoding = "windows-1253"; break;
    case 162: encoding = "windows-1254"; break;
    case 177: encoding = "windows-1255"; break;
    case 178: encoding = "windows-1256"; break;
    case 186: encoding = "windows-1257"; break;
    case 204: encoding = "windows-1251"; break;
    case 238: encoding = "windows-1250"; break;
    default: break;
    }
    QStringDecoder decoder(encoding);
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

void GdiDevice::textOut(QPointF reference, const QString& text, quint32 options, const QRectF& box,
                        const std::vector<double>& advances, bool advanced) {
    applyClip();
    const QTransform t = transform();
    const bool updateCp = (dc_.textAlign & 1) != 0;
    const QPointF origin = t.map(updateCp ? dc_.position : reference);
    if ((options & 2) && !box.isEmpty() && axisAligned())
        painter_.fillRect(targetBox(box).adjusted(0, 0, 1, 1), QColor::fromRgb(dc_.bkColour));
    if (text.isEmpty())
        return;

    double pixelHeight = 0;
    const QFont font = qtFont(pixelHeight, advanced);
    const QFontMetricsF metrics(font);
    const double yScale = std::hypot(t.m21(), t.m22());
    // Logical units along the baseline as pixels of the font drawn.
    const double unit = advanced ? yScale : std::hypot(t.m11(), t.m12());
    const double extra = dc_.charExtra * unit;

    // One entry a character code, as the advances count them.
    const SymbolEncoding encoding = symbolEncoding(dc_.font.face, dc_.font.charSet);
    QStringList characters;
    if (encoding != SymbolEncoding::None) {
        characters = symbolCharacters(text, encoding);
    } else {
        characters.reserve(text.size());
        for (QChar c : text)
            characters.append(QString(c));
    }
    const QString shown = characters.join(QString());

    // Character positions along the baseline, in pixels of the font.
    std::vector<double> positions;
    positions.reserve(std::size_t(characters.size()) + 1);
    double x = 0;
    for (qsizetype i = 0; i < characters.size(); ++i) {
        positions.push_back(x);
        if (std::size_t(i) < advances.size())
            x += advances[std::size_t(i)] * unit;
        else
            x += metrics.horizontalAdvance(characters.at(i)) + extra;
    }
    const double width = x;

    // glyphs: the font's pixels (x along the characters' baseline, y down
    // them) as target offsets; step: a pixel of advance along the
    // escapement. Angles are anticlockwise.
    const double escapement = dc_.font.escapement / 10.0 * std::numbers::pi / 180;
    QTransform glyphs;
    QPointF step;
    if (advanced) {
        // The text is drawn in logical units and follows the mapping and
        // the world transform wholly, mirrored where they mirror; its
        // characters stand at their own orientation.
        const double orientation = dc_.font.orientation / 10.0 * std::numbers::pi / 180;
        const QTransform linear(t.m11(), t.m12(), t.m21(), t.m22(), 0, 0);
        glyphs = QTransform::fromScale(1 / yScale, 1 / yScale)
            * QTransform(std::cos(orientation), -std::sin(orientation), std::sin(orientation),
                         std::cos(orientation), 0, 0)
            * linear;
        step = linear.map(QPointF(std::cos(escapement), -std::sin(escapement))) / yScale;
    } else {
        // Upright and left to right on the device whatever the mapping; the
        // angle is the logical one, so a mapping that mirrors turns it the
        // other way (a y-up chart's 270 degrees reads bottom to top).
        const double angle = t.determinant() < 0 ? -escapement : escapement;
        glyphs = QTransform(std::cos(angle), -std::sin(angle), std::sin(angle), std::cos(angle), 0, 0);
        step = QPointF(std::cos(angle), -std::sin(angle));
    }
    // The characters lie along the escapement: one run from one place.
    const bool along = !advanced || dc_.font.escapement == dc_.font.orientation;

    double dx = 0;
    switch (dc_.textAlign & 6) {
    case 6: dx = -width / 2; break;
    case 2: dx = -width; break;
    default: break;
    }
    double dy = metrics.ascent();
    switch (dc_.textAlign & 24) {
    case 24: dy = 0; break;
    case 8: dy = -metrics.descent(); break;
    default: break;
    }

    // The glyphs' frame with its origin where the baseline has gone that far.
    auto frameAt = [&](double advance) {
        const QPointF at = origin + step * (dx + advance);
        return glyphs * QTransform::fromTranslate(at.x(), at.y());
    };
    const QRectF cell(0, dy - metrics.ascent(), width, metrics.height());
    QRectF reach = frameAt(0).mapRect(cell);
    if (!along)
        reach |= frameAt(width).mapRect(cell);
    if (!spend(reach))
        return;
    painter_.save();
    if ((options & 4) && !box.isEmpty() && axisAligned())
        painter_.setClipRect(targetBox(box).adjusted(0, 0, 1, 1), Qt::IntersectClip);
    const QTransform base = painter_.transform();
    QRgb colour = dc_.textColour;
    if (dc_.bkOpaque && !(options & 2)) {
        painter_.setTransform(frameAt(0) * base);
        painter_.fillRect(cell, QColor::fromRgb(dc_.bkColour));
    }
    if (applyRop2(colour)) {
        // The background box is ours to draw (above); Qt must not add its own.
        painter_.setBackgroundMode(Qt::TransparentMode);
        painter_.setFont(font);
        painter_.setPen(QColor::fromRgb(colour));
        if (advances.empty() && along) {
            painter_.setTransform(frameAt(0) * base);
            painter_.drawText(QPointF(0, dy), shown);
        } else {
            for (qsizetype i = 0; i < characters.size(); ++i) {
                painter_.setTransform(frameAt(positions[std::size_t(i)]) * base);
                painter_.drawText(QPointF(0, dy), characters.at(i));
            }
        }
    }
    painter_.restore();
    if (updateCp) {
        // The text's end as drawn on the device, back in logical units: the
        // mapping may flip or stretch the axes the baseline runs along.
        bool invertible = false;
        const QTransform back = t.inverted(&invertible);
        if (invertible)
            dc_.position = back.map(origin + step * width);
    }
}

} // namespace pelmora
