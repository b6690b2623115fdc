// SPDX-License-Identifier: GPL-2.0-or-later
#include "metafile.h"

// Local
#include "metafile_player.h"
#include "picture_limits.h"

namespace pelmora {

Bitmap importMetafile(const QByteArray& bytes) {
    PlayedWork work;
    return importMetafile(bytes, work);
}

Bitmap importMetafile(const QByteArray& bytes, PlayedWork& work) {
    const MetafilePlayer metafile(bytes);
    const QSize size = metafile.size();
    Bitmap picture;
    picture.setHeight(size.height());
    picture.setWidth(size.width());
    if (picture.isEmpty())
        return picture;
    QImage& pixels = picture.rgb32();
    WorkBudget budget(size);
    metafile.play(pixels, budget);
    work = {budget.charged(), budget.total()};
    // Raster operations may leave the unused alpha byte anything; keep it opaque.
    for (int y = 0; y < pixels.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(pixels.scanLine(y));
        for (int x = 0; x < pixels.width(); ++x)
            line[x] |= 0xFF000000u;
    }
    return picture;
}

} // namespace pelmora
