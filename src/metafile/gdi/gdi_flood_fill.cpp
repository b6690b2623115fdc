// SPDX-License-Identifier: GPL-2.0-or-later
#include "gdi_device.h"

// Std
#include <vector>

namespace pelmora {

namespace {

// The pixels connected to a seed (left, right, up, down) that belong to the
// fill, found a run at a time and marked in a picture-sized set of flags
// that starts and ends clear.
class Spans {
public:
    Spans(const QImage& image, QRgb key, bool surface, std::vector<bool>& marked)
        : image_(image), key_(key & 0xFFFFFFu), surface_(surface), marked_(marked) {}

    bool fills(int x, int y) const {
        const QRgb p = reinterpret_cast<const QRgb*>(image_.constScanLine(y))[x] & 0xFFFFFFu;
        return (p == key_) == surface_ && !marked_[index(x, y)];
    }

    // Marks every pixel of the fill from the seed on; the bounding box of
    // what it marked.
    QRect grow(QPoint seed) {
        QRect bounds;
        std::vector<QPoint> seeds{seed};
        while (!seeds.empty()) {
            const QPoint s = seeds.back();
            seeds.pop_back();
            if (!fills(s.x(), s.y()))
                continue;
            int left = s.x();
            int right = s.x();
            while (left > 0 && fills(left - 1, s.y()))
                --left;
            while (right + 1 < image_.width() && fills(right + 1, s.y()))
                ++right;
            for (int x = left; x <= right; ++x)
                marked_[index(x, s.y())] = true;
            bounds |= QRect(QPoint(left, s.y()), QPoint(right, s.y()));
            for (int y : {s.y() - 1, s.y() + 1}) {
                if (y < 0 || y >= image_.height())
                    continue;
                // One seed per run of fill pixels along the next row.
                for (int x = left; x <= right; ++x)
                    if (fills(x, y) && (x == left || !fills(x - 1, y)))
                        seeds.push_back(QPoint(x, y));
            }
        }
        return bounds;
    }

    bool marked(int x, int y) const { return marked_[index(x, y)]; }

    // Clears what grow() marked, at the cost of its box rather than the picture.
    void clear(const QRect& box) {
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                marked_[index(x, y)] = false;
    }

private:
    std::size_t index(int x, int y) const { return std::size_t(y) * std::size_t(image_.width()) + std::size_t(x); }

    const QImage& image_;
    QRgb key_;
    bool surface_;
    std::vector<bool>& marked_;
};

// The brush over the box, kept only where the fill marked; patterns stay
// aligned with the picture's origin.
QImage filledLayer(const Spans& spans, const QRect& box, const QBrush& brush) {
    QImage layer(box.size(), QImage::Format_ARGB32_Premultiplied);
    if (layer.isNull())
        return layer;
    layer.fill(Qt::transparent);
    {
        QPainter painter(&layer);
        painter.setBrushOrigin(-box.topLeft());
        painter.fillRect(layer.rect(), brush);
    }
    for (int y = 0; y < box.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(layer.scanLine(y));
        for (int x = 0; x < box.width(); ++x)
            if (!spans.marked(box.left() + x, box.top() + y))
                line[x] = 0;
    }
    return layer;
}

} // namespace

void GdiDevice::floodFill(QPointF start, QRgb colour, bool surface) {
    const QPoint seed = toTarget(start).toPoint();
    if (!target_.rect().contains(seed) || dc_.brush.kind == GdiBrush::Kind::Null || budget_.spent())
        return;
    const std::size_t pixels = std::size_t(target_.width()) * std::size_t(target_.height());
    if (floodMarks_.size() != pixels)
        floodMarks_.assign(pixels, false);
    Spans spans(target_, colour, surface, floodMarks_);
    const QRect box = spans.grow(seed);
    if (!box.isEmpty() && spend(box)) {
        const QImage layer = filledLayer(spans, box, qtBrush(dc_.brush));
        applyClip();
        painter_.drawImage(box.topLeft(), layer);
    }
    spans.clear(box);
}

} // namespace pelmora
