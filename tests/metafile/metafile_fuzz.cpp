// SPDX-License-Identifier: GPL-2.0-or-later
// Qt
#include <QByteArray>

// Local
#include "metafile.h"
#include "metafile_player.h"
#include "pelmora_error.h"
#include "../imagefile/fuzz/fuzz_application.h"

// Std
#include <cstddef>
#include <cstdint>

// libFuzzer entry points: every input must be drawn or refused with the
// reader's error, never crash, leak or hang. Headers and record chains are
// checked for every input; only pictures of up to four megapixels are
// drawn, so that a short run tries many inputs rather than a few huge ones.

namespace {

constexpr qint64 drawnPixels = 4 << 20;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    startOffscreenApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const QSize picture = pelmora::MetafilePlayer(bytes).size();
        if (qint64(picture.width()) * picture.height() <= drawnPixels)
            pelmora::importMetafile(bytes);
    } catch (const pelmora::PelmoraError&) {
    }
    return 0;
}
