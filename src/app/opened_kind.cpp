// SPDX-License-Identifier: GPL-2.0-or-later
#include "opened_kind.h"

// Local
#include "window_texts.h"

namespace pelmora {

QString sourceKindText(PictureKind kind) {
    switch (kind) {
    case PictureKind::Wmf: return texts::sourceWmf();
    case PictureKind::Emf: return texts::sourceEmf();
    case PictureKind::Jpeg: return texts::sourceJpeg();
    case PictureKind::Icon: return texts::sourceIcon();
    case PictureKind::Bitmap: return texts::sourceBmp();
    }
    return QString();
}

bool allowsOutlineAndFill(PictureKind kind) {
    return kind != PictureKind::Jpeg;
}

} // namespace pelmora
