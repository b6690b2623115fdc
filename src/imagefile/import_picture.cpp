// SPDX-License-Identifier: GPL-2.0-or-later
#include "import_picture.h"

// Local
#include "bmp_file.h"
#include "file_io.h"
#include "icon_file.h"
#include "jpeg_file.h"
#include "metafile.h"

namespace pelmora {

Bitmap importPicture(const QString& path, PictureKind kind) {
    switch (kind) {
    case PictureKind::Wmf:
    case PictureKind::Emf:
        return importMetafile(readFileBytes(path));
    case PictureKind::Jpeg:
        return readJpeg(ReadFile(path));
    case PictureKind::Icon:
        return decodeIcon(readFileBytes(path));
    case PictureKind::Bitmap:
        return readBmp(ReadFile(path));
    }
    return Bitmap();
}

} // namespace pelmora
