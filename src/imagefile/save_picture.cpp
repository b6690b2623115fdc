// SPDX-License-Identifier: GPL-2.0-or-later
#include "save_picture.h"

// Local
#include "atomic_file.h"
#include "bmp_file.h"
#include "bmp_row_shadow.h"
#include "bmp_turned.h"
#include "file_io.h"
#include "icon_file.h"
#include "pelmora_error.h"
#include "rotate_mirror.h"
#include "jpeg_file.h"
#include "picture_file_texts.h"

// Std
#include <optional>

namespace pelmora {

void saveAsBitmap(const Bitmap& picture, const QString& path) {
    AtomicFile file(path);
    writeBmp(picture, [&](const char* data, qsizetype size) { file.write(data, size); });
    file.commit();
}

void saveTurnedAsBitmap(const Bitmap& picture, TurnOrMirror turn, const QString& path) {
    if (picture.isEmpty() || picture.format() != QImage::Format_RGB32) {
        saveAsBitmap(rotateOrFlipPicture(picture, turn), path);
        return;
    }
    AtomicFile file(path);
    writeTurnedBmp(picture, turn == TurnOrMirror::Turn90, [&](const char* data, qsizetype size) { file.write(data, size); });
    file.commit();
}

void saveAsJpeg(const Bitmap& picture, const QString& path) {
    writeFileAtomically(path, encodeJpeg(picture, 90));
}

void saveAsIcon(const Bitmap& picture, const QString& path) {
    if (!fitsIcon(picture))
        throw PelmoraError(texts::iconSize());
    writeFileAtomically(path, encodeIcon(picture));
}

bool saveShadowOfBitmapFile(const QString& input, const QString& path, RowShadow shadow, Colour colour,
                            const std::function<void()>& beginning) {
    const ReadFile source(input);
    std::optional<AtomicFile> file;
    const bool done = shadeBmp(source, shadow, colour, [&](const char* data, qsizetype size) {
        if (!file) {
            beginning();
            file.emplace(path);
        }
        file->write(data, size);
    });
    if (done)
        file->commit();
    return done;
}

bool fitsIcon(const Bitmap& picture) {
    return picture.width() == 32 && picture.height() == 32;
}

} // namespace pelmora
