// SPDX-License-Identifier: GPL-2.0-or-later
#include "metafile.h"

// Local
#include "emf_player.h"
#include "wmf_player.h"

// Std
#include <cstring>

namespace pelmora {

Bitmap importMetafile(const QByteArray& bytes) {
    PlayedWork work;
    return importMetafile(bytes, work);
}

Bitmap importMetafile(const QByteArray& bytes, PlayedWork& work) {
    // Spare zero bytes past the end keep libUEMF's few fixed-size look-aheads
    // inside the buffer; the players only ever see the file's own bytes.
    QByteArray padded(bytes.size() + 64, '\0');
    std::memcpy(padded.data(), bytes.constData(), std::size_t(bytes.size()));
    const ByteView file(padded.constData(), std::size_t(bytes.size()));

    const bool emf = isEmf(file);
    const QSize size = emf ? emfSize(file) : wmfSize(file);
    Bitmap picture;
    picture.setHeight(size.height());
    picture.setWidth(size.width());
    if (picture.isEmpty())
        return picture;
    QImage& pixels = picture.rgb32();
    WorkBudget budget(size);
    if (emf)
        playEmf(file, pixels, budget);
    else
        playWmf(file, pixels, budget);
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
