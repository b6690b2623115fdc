// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QPainterPath>
#include <QSize>
#include <QTransform>

namespace pelmora {

// The largest picture a metafile may ask for: a side, and in all (800 MB
// of 32-bit pixels), so that a small file cannot demand gigabytes.
inline constexpr int maxPictureSide = 30000;
inline constexpr qint64 maxPicturePixels = 200'000'000;

// The picture size for a metafile's width and height in pixels; throws
// PelmoraError with the metafile text for a size no picture may have (empty,
// negative), and with the out-of-memory text for one larger than the limits.
QSize checkedPictureSize(double width, double height);

// The work a metafile may ask for, counted in pixels painted or what costs
// as much: 32 passes over its picture, plus a little. One budget serves a
// whole file and every metafile drawn inside it, so that nothing a file
// holds can ask for more; what finds it spent is not drawn.
class WorkBudget {
public:
    explicit WorkBudget(QSize picture);

    // Charges cost; false once the budget is spent.
    bool spend(double cost) {
        left_ -= cost;
        return left_ > 0;
    }
    bool spent() const { return left_ <= 0; }
    double charged() const { return total_ - left_; }
    double total() const { return total_; }

private:
    double total_;
    double left_;
};

// What Qt's rasterisers do for a path, in the budget's units. A fill steps
// every edge row by row, sorts the edges crossing each row, and when
// antialiased renders in bands, each of which steps every edge it meets
// from end to end, rows off the picture included. A cosmetic stroke steps
// each edge pixel by pixel; a wide one, penPixels wide, fills an outline
// of both sides, joins and caps.
enum class Raster { Fill, CosmeticStroke, WideStroke };
double rasterCost(const QPainterPath& path, const QTransform& toPixels, QSize picture, bool antialiased, Raster kind,
                  double penPixels = 0);

// Unpacking a pixel of a bitmap into fresh memory, as pixels painted: read
// from the file's bits, or inflated from an embedded PNG or JPEG, which a
// small file can make huge.
inline constexpr double rawPixelCost = 16;
inline constexpr double packedPixelCost = 32;

} // namespace pelmora
