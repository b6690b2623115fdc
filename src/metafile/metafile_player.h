// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QByteArray>
#include <QImage>
#include <QSize>

// Local
#include "byte_view.h"
#include "picture_limits.h"

// Std
#include <memory>

namespace pelmora {

// A placeable WMF or an EMF, told apart by its content, its header read and
// its records checked once; then played onto pictures, a file's own or one
// inside another's. An EMF plays its GDI records or its EMF+ records, as
// chosen here: a dual file's EMF+ ones when its GDI ones leave the picture
// blank or hold text that cannot be drawn.
class MetafilePlayer {
public:
    // Throws PelmoraError("メタファイルが不正です") for anything that is
    // neither, whose records do not hold together, or whose picture would be
    // too large.
    explicit MetafilePlayer(const QByteArray& bytes);
    ~MetafilePlayer();

    // The picture size the metafile asks for; a WMF's may be empty.
    QSize size() const { return size_; }

    // Plays the metafile so that its frame fills the target, charging the
    // budget of the file it belongs to.
    void play(QImage& target, WorkBudget& budget) const;

private:
    struct Emf;

    QByteArray padded_;
    ByteView file_;
    QSize size_;
    std::unique_ptr<const Emf> emf_;   // none for a WMF
};

} // namespace pelmora
