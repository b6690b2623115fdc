// SPDX-License-Identifier: GPL-2.0-or-later
#include "metafile_player.h"

// Local
#include "emf_player.h"
#include "emfplus_player.h"
#include "emfplus_records.h"
#include "metafile_text.h"
#include "wmf_player.h"

// Std
#include <algorithm>
#include <cstring>

namespace pelmora {

namespace {

// True when every pixel has the same colour; the alpha byte, which raster
// operations may leave anything, does not count.
bool uniform(const QImage& image) {
    if (image.isNull() || image.depth() != 32)
        return false;
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        if (!std::all_of(line, line + image.width(), [first](QRgb p) { return ((p ^ first) & RGB_MASK) == 0; }))
            return false;
    }
    return true;
}

} // namespace

struct MetafilePlayer::Emf {
    EmfHeader header;
    EmfPlusHeader plus;
    bool glyphIndexText = false;    // GDI text that cannot be drawn here
};

MetafilePlayer::MetafilePlayer(const QByteArray& bytes) : padded_(bytes.size() + 64, '\0') {
    // Spare zero bytes past the end keep libUEMF's few fixed-size look-aheads
    // inside the buffer; the players only ever see the file's own bytes.
    std::memcpy(padded_.data(), bytes.constData(), std::size_t(bytes.size()));
    file_ = ByteView(padded_.constData(), std::size_t(bytes.size()));
    if (!isEmf(file_)) {
        size_ = wmfSize(file_);
        return;
    }
    auto emf = std::make_unique<Emf>();
    emf->header = readEmfHeader(file_);
    size_ = emfPictureSize(emf->header);
    bool plusFound = false;
    const bool whole = checkEmfRecords(file_, [&](ByteView record) {
        const ByteView plus = emfPlusRecords(record);
        if (!plusFound && plus.size() > 0) {
            emf->plus = readEmfPlusHeader(plus);
            plusFound = true;
        }
        emf->glyphIndexText = emf->glyphIndexText || glyphIndexText(record);
    });
    if (!whole)
        refuseMetafile();
    emf_ = std::move(emf);
}

MetafilePlayer::~MetafilePlayer() = default;

void MetafilePlayer::play(QImage& target, WorkBudget& budget) const {
    if (!emf_) {
        playWmf(file_, target, budget);
        return;
    }
    const EmfHeader& header = emf_->header;
    const EmfPlusHeader& plus = emf_->plus;
    const QTransform output = emfFrameToTarget(header, target.size());
    // A dual file's GDI text recorded as the recording font's glyph indices
    // shows nothing here; its EMF+ records hold that text as characters.
    if (plus.kind == EmfPlusKind::Only || (plus.kind == EmfPlusKind::Dual && emf_->glyphIndexText)) {
        EmfPlusPlayer(file_, header, plus, target, output, budget).play();
        return;
    }
    EmfPlayer(file_, header, target, output, budget).play();
    // Some writers mark a file dual and draw only in EMF+ records: GDI
    // records that leave one colour everywhere drew nothing of the picture.
    if (plus.kind == EmfPlusKind::Dual && uniform(target))
        EmfPlusPlayer(file_, header, plus, target, output, budget).play();
}

} // namespace pelmora
