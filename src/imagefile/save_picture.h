// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QString>

// Local
#include "bmp_row_shadow.h"
#include "bitmap.h"
#include "rotate_mirror.h"

// Std
#include <functional>

namespace pelmora {

// Writers: each replaces the file at path atomically, so a failed write
// leaves an existing file as it was, and throws PelmoraError with the I/O
// error texts.

// Uncompressed BMP in the picture's pixel format; an unchanged picture read
// from a run-length-compressed file is written with that file's own bytes.
void saveAsBitmap(const Bitmap& picture, const QString& path);

// The picture given a quarter turn (Turn90 or Turn270) as saveAsBitmap would
// write the turned picture, without making it.
void saveTurnedAsBitmap(const Bitmap& picture, TurnOrMirror turn, const QString& path);

// Baseline JPEG, quality 90, 24-bit colour.
void saveAsJpeg(const Bitmap& picture, const QString& path);

// The outline or fill of the BMP file at input written to path as
// saveAsBitmap would write it, made row by row without holding the picture
// where the file allows (see shadeBmp); false, with nothing written, where
// it does not. beginning runs when the output is about to be made.
bool saveShadowOfBitmapFile(const QString& input, const QString& path, RowShadow shadow, Colour colour,
                            const std::function<void()>& beginning);

// A 32 x 32 icon, 4 bits per pixel, whose top-left colour is transparent.
// Throws PelmoraError with the icon size text for any other size.
void saveAsIcon(const Bitmap& picture, const QString& path);

// Only a 32 x 32 picture is written as an icon.
bool fitsIcon(const Bitmap& picture);

} // namespace pelmora
