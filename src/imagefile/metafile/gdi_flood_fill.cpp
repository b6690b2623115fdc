// SPDX-License-Identifier: GPL-2.0-or-later
#include "gdi_device.h"

// Std
#include <vector>

namespace pelmora {

namespace {

// The pixels connected to a seed (left, right, up, down) that belong to the
// fill, found a run at a time.
class Spans {
public:
    Spans(const QImage& image, QRgb key, bool surface)
        : image_(image), key_(key & 0xFFFFFFu), surface_(surface),
          marked_(std::size_t(image.width()) * std::size_t(image.height())) {}

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

private:
    std::size_t index(int x, int y) const { return std::size_t(y) * std::size_t(image_.width()) + std::size_t(x); }

    const QImage& image_;
    QRgb key_;
    bool surface_;
    std::vector<bool> marked_;
};

} // namespace

void GdiDevice::floodFill(QPointF start, QRgb colour, bool surface) {
    const QPoint seed = toTarget(start).toPoint();
    if (!target_.rect().contains(seed) || dc_.brush.kind == GdiBrush::Kind::Null || budget_ <= 0)
        return;
    Spans spans(target_, colour, surface);
    const QRect box = spans.grow(seed);
    if (box.isEmpty() || !spend(box))
        return;
    // The brush over the box, then only the marked pixels kept; patterns
    // stay aligned with the picture's origin.
    QImage layer(box.size(), QImage::Format_ARGB32_Premultiplied);
    if (layer.isNull())
        return;
    layer.fill(Qt::transparent);
    {
        QPainter brushPainter(&layer);
        brushPainter.setBrushOrigin(-box.topLeft());
        brushPainter.fillRect(layer.rect(), qtBrush(dc_.brush));
    }
    for (int y = 0; y < box.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(layer.scanLine(y));
        for (int x = 0; x < box.width(); ++x)
            if (!spans.marked(box.left() + x, box.top() + y))
                line[x] = 0;
    }
    applyClip();
    painter_.drawImage(box.topLeft(), layer);
}

} // namespace pelmora
