// SPDX-License-Identifier: GPL-2.0-or-later
#include "emf_player.h"

// Local
#include "dib.h"

// libUEMF
#include <uemf.h>

namespace pelmora {

QImage EmfPlayer::dib(std::size_t offBmi, quint32 cbBmi, std::size_t offBits, quint32 cbBits, quint32 usage,
                      DibAlpha alpha) const {
    if (cbBmi == 0)
        return QImage();
    return decodeDib(record_.sub(offBmi, cbBmi), record_.sub(offBits, cbBits), usage, device_.palette(), budget_,
                     alpha);
}

void EmfPlayer::createPen() {
    GdiPen pen;
    pen.style = record_.u32(12);
    pen.width = record_.i32(16);
    pen.colour = colour(24);
    device_.createObject(record_.u32(8), pen);
}

void EmfPlayer::createExtPen() {
    const ByteView& r = record_;
    GdiPen pen;
    pen.style = r.u32(28);
    pen.width = r.u32(32);
    pen.colour = colour(40);
    if (r.u32(36) == U_BS_NULL)
        pen.style = (pen.style & ~0xFu) | U_PS_NULL;
    const quint32 entries = r.u32(48);
    if ((pen.style & 0xF) == U_PS_USERSTYLE && entries <= 16 && r.has(52, std::size_t(entries) * 4))
        for (quint32 i = 0; i < entries; ++i)
            pen.dashes.append(r.u32(52 + 4 * std::size_t(i)));
    device_.createObject(r.u32(8), pen);
}

void EmfPlayer::createFont() {
    const ByteView& r = record_;
    GdiFont font;
    font.height = r.i32(12);
    font.width = r.i32(16);
    font.escapement = r.i32(20);
    font.orientation = r.i32(24);
    font.weight = r.i32(28);
    font.italic = r.u8(32) != 0;
    font.underline = r.u8(33) != 0;
    font.strikeOut = r.u8(34) != 0;
    font.charSet = r.u8(35);
    for (std::size_t i = 0; i < 32 && r.has(40 + 2 * i, 2); ++i) {
        const char16_t c = char16_t(r.u16(40 + 2 * i));
        if (c == 0)
            break;
        font.face.append(QChar(c));
    }
    device_.createObject(r.u32(8), font);
}

void EmfPlayer::createPatternBrush(bool monochrome) {
    const ByteView& r = record_;
    const QImage pattern = dib(r.u32(16), r.u32(20), r.u32(24), r.u32(28), r.u32(12));
    // A brush that cannot be made is not made; selecting it changes nothing.
    if (pattern.isNull())
        return;
    GdiBrush brush;
    brush.kind = GdiBrush::Kind::Pattern;
    brush.pattern = pattern;
    brush.monochrome = monochrome && pattern.format() == QImage::Format_Indexed8 && pattern.colorCount() == 2;
    device_.createObject(r.u32(8), brush);
}

std::size_t EmfPlayer::emrText(std::size_t at, bool wide) {
    const ByteView& r = record_;
    const QPointF reference = point(at);
    const quint32 count = r.u32(at + 8);
    const quint32 offString = r.u32(at + 12);
    const quint32 options = r.u32(at + 16);
    const bool hasRect = !(options & U_ETO_NO_RECT);
    const QRectF clipBox = hasRect ? box(at + 20) : QRectF();
    const quint32 offDx = r.u32(at + (hasRect ? 36 : 20));
    const std::size_t size = hasRect ? 40 : 24;
    const std::size_t charSize = wide ? 2 : 1;
    if ((options & U_ETO_GLYPH_INDEX) || !r.has(offString, std::size_t(count) * charSize))
        return size;
    QString text;
    if (wide) {
        text.reserve(count);
        for (quint32 i = 0; i < count; ++i)
            text.append(QChar(char16_t(r.u16(offString + 2 * std::size_t(i)))));
    } else {
        text = device_.decodeText(QByteArray(r.data() + offString, qsizetype(count)));
    }
    // Spacing: one value per character (two with ETO_PDY); only the
    // advances along the line are used.
    std::vector<double> advances;
    const std::size_t step = (options & U_ETO_PDY) ? 8 : 4;
    if (offDx != 0 && r.has(offDx, std::size_t(count) * step) && qsizetype(count) == text.size()) {
        advances.reserve(count);
        for (quint32 i = 0; i < count; ++i)
            advances.push_back(r.i32(offDx + step * i));
    }
    device_.textOut(reference, text, options, clipBox, advances, record_.u32(24) == U_GM_ADVANCED);
    return size;
}

void EmfPlayer::polyTextOut(bool wide) {
    const quint32 strings = record_.u32(36);
    std::size_t at = 40;
    for (quint32 i = 0; i < strings && record_.has(at, 24); ++i)
        at += emrText(at, wide);
}

void EmfPlayer::smallTextOut() {
    const ByteView& r = record_;
    const quint32 count = r.u32(16);
    const quint32 options = r.u32(20);
    const bool hasRect = !(options & U_ETO_NO_RECT);
    const std::size_t textAt = hasRect ? 52 : 36;
    const QRectF clipBox = hasRect ? box(36) : QRectF();
    const bool narrow = options & U_ETO_SMALL_CHARS;
    if ((options & U_ETO_GLYPH_INDEX) || !r.has(textAt, std::size_t(count) * (narrow ? 1 : 2)))
        return;
    QString text;
    if (narrow) {
        text = device_.decodeText(QByteArray(r.data() + textAt, qsizetype(count)));
    } else {
        for (quint32 i = 0; i < count; ++i)
            text.append(QChar(char16_t(r.u16(textAt + 2 * std::size_t(i)))));
    }
    device_.textOut(point(8), text, options, clipBox, {}, r.u32(24) == U_GM_ADVANCED);
}

void EmfPlayer::bitBlt(bool stretch) {
    const ByteView& r = record_;
    const QRectF destination(r.i32(24), r.i32(28), r.i32(32), r.i32(36));
    const quint32 rop = r.u32(40);
    const QImage source = dib(r.u32(84), r.u32(88), r.u32(92), r.u32(96), r.u32(80));
    const QSizeF sourceSize = stretch ? QSizeF(r.i32(100), r.i32(104)) : destination.size();
    device_.blit(destination, source, QRectF(QPointF(r.i32(44), r.i32(48)), sourceSize), rop);
}

void EmfPlayer::stretchDiBits() {
    const ByteView& r = record_;
    const QImage source = dib(r.u32(48), r.u32(52), r.u32(56), r.u32(60), r.u32(64));
    if (source.isNull())
        return;
    const QRectF destination(r.i32(24), r.i32(28), r.i32(72), r.i32(76));
    // The source rectangle counts rows from the bottom of the bitmap.
    const double cy = r.i32(44);
    const QRectF from(r.i32(32), double(source.height()) - r.i32(36) - cy, r.i32(40), cy);
    device_.blit(destination, source, from, r.u32(68));
}

void EmfPlayer::setDiBitsToDevice() {
    const ByteView& r = record_;
    const QImage source = dib(r.u32(48), r.u32(52), r.u32(56), r.u32(60), r.u32(64));
    if (source.isNull())
        return;
    const double cx = r.i32(40);
    const double cy = r.i32(44);
    const QRectF from(r.i32(32), double(source.height()) - r.i32(36) - cy, cx, cy);
    device_.blit(QRectF(r.i32(24), r.i32(28), cx, cy), source, from, 0xCC0020);
}

void EmfPlayer::transparentBlt() {
    const ByteView& r = record_;
    QImage source = dib(r.u32(84), r.u32(88), r.u32(92), r.u32(96), r.u32(80));
    if (source.isNull())
        return;
    // The raster-operation field holds the colour to leave out.
    const QRgb hole = colour(40) & 0xFFFFFFu;
    source = source.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < source.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(source.scanLine(y));
        for (int x = 0; x < source.width(); ++x)
            if ((line[x] & 0xFFFFFFu) == hole)
                line[x] = 0;
    }
    const QRectF destination(r.i32(24), r.i32(28), r.i32(32), r.i32(36));
    device_.blit(destination, source, QRectF(r.i32(44), r.i32(48), r.i32(100), r.i32(104)), 0xCC0020);
}

namespace {

// The source with the pixels a monochrome mask holds 0 for made transparent;
// the mask's pixel (x + shiftX, y + shiftY) goes with the source's (x, y).
QImage masked(const QImage& source, const QImage& mask, qint64 shiftX, qint64 shiftY) {
    if (source.isNull() || mask.isNull() || mask.format() != QImage::Format_Indexed8)
        return source;
    QImage result = source.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            const qint64 mx = x + shiftX;
            const qint64 my = y + shiftY;
            const bool inside = mx >= 0 && my >= 0 && mx < mask.width() && my < mask.height();
            if (inside && mask.pixelIndex(int(mx), int(my)) == 0)
                line[x] = 0;
        }
    }
    return result;
}

} // namespace

void EmfPlayer::maskBlt() {
    const ByteView& r = record_;
    QImage source = dib(r.u32(84), r.u32(88), r.u32(92), r.u32(96), r.u32(80));
    const QImage mask = dib(r.u32(112), r.u32(116), r.u32(120), r.u32(124), r.u32(108));
    const QRectF destination(r.i32(24), r.i32(28), r.i32(32), r.i32(36));
    const QRectF from(r.i32(44), r.i32(48), r.i32(32), r.i32(36));
    // ROP4: the foreground operation where the mask is 1, the background
    // one where it is 0. Only a background that keeps the destination is
    // honoured; other backgrounds draw as the foreground.
    const quint32 foreground = r.u32(40) & 0x00FFFFFFu;
    const bool keepBackground = (r.u32(40) >> 24) == 0xAA;
    if (keepBackground)
        source = masked(source, mask, qint64(r.i32(100)) - r.i32(44), qint64(r.i32(104)) - r.i32(48));
    device_.blit(destination, source, from, foreground);
}

void EmfPlayer::alphaBlend() {
    const ByteView& r = record_;
    // BLENDFUNCTION: operation, flags, constant alpha, AC_SRC_ALPHA (1).
    const quint32 blend = r.u32(40);
    const bool perPixel = (blend >> 24 & 0xFF) == 1;
    const QImage source = dib(r.u32(84), r.u32(88), r.u32(92), r.u32(96), r.u32(80),
                              perPixel ? DibAlpha::Keep : DibAlpha::Ignore);
    const QRectF destination(r.i32(24), r.i32(28), r.i32(32), r.i32(36));
    device_.alphaBlend(destination, source, QRectF(r.i32(44), r.i32(48), r.i32(100), r.i32(104)), int(blend >> 16 & 0xFF));
}

void EmfPlayer::plgBlt() {
    const ByteView& r = record_;
    QImage source = dib(r.u32(96), r.u32(100), r.u32(104), r.u32(108), r.u32(92));
    if (source.isNull())
        return;
    const QImage mask = dib(r.u32(124), r.u32(128), r.u32(132), r.u32(136), r.u32(120));
    const QRectF from(r.i32(48), r.i32(52), r.i32(56), r.i32(60));
    source = masked(source, mask, qint64(r.i32(112)) - r.i32(48), qint64(r.i32(116)) - r.i32(52));
    device_.plgBlt(points(24, 3, false), source, from);
}

void EmfPlayer::gradientFill() {
    const ByteView& r = record_;
    const quint32 vertices = r.u32(24);
    const quint32 shapes = r.u32(28);
    const quint32 mode = r.u32(32);
    const std::size_t shapesAt = 36 + std::size_t(vertices) * 16;
    const std::size_t shapeSize = mode == 2 ? 12 : 8;
    if (!r.has(36, std::size_t(vertices) * 16) || !r.has(shapesAt, std::size_t(shapes) * shapeSize))
        return;
    auto vertex = [&](quint32 i) { return point(36 + 16 * std::size_t(i)); };
    auto shade = [&](quint32 i) {
        const std::size_t at = 36 + 16 * std::size_t(i) + 8;
        return qRgb(r.u16(at) >> 8, r.u16(at + 2) >> 8, r.u16(at + 4) >> 8);
    };
    for (quint32 s = 0; s < shapes; ++s) {
        const std::size_t at = shapesAt + shapeSize * s;
        const quint32 a = r.u32(at);
        const quint32 b = r.u32(at + 4);
        const quint32 c = mode == 2 ? r.u32(at + 8) : a;
        if (a >= vertices || b >= vertices || c >= vertices)
            continue;
        if (mode == 2)
            device_.gradientTriangle({vertex(a), vertex(b), vertex(c)}, {shade(a), shade(b), shade(c)});
        else
            device_.gradientRect(QRectF(vertex(a), vertex(b)), shade(a), shade(b), mode == 1);
    }
}

} // namespace pelmora
