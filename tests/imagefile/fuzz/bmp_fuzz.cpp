// SPDX-License-Identifier: GPL-2.0-or-later
// Qt
#include <QByteArray>

// Local
#include "bmp_layout.h"
#include "bmp_file.h"
#include "bmp_row_shadow.h"
#include "pelmora_error.h"

// Std
#include <cstddef>
#include <cstdint>
#include <optional>

// libFuzzer entry point: every input must be read or refused with the
// reader's error, never crash, leak or hang, by the picture reader and by
// the row-by-row outline. Headers are checked for every input; only
// pictures of up to four megapixels are decoded, so that a short run tries
// many inputs rather than a few huge ones.

namespace {

constexpr std::int64_t decodedPixels = 4 << 20;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<pelmora::BmpLayout> layout = pelmora::checkedBmpLayout(bytes);
    if (layout && layout->width * layout->height > decodedPixels)
        return 0;
    try {
        pelmora::decodeBmp(bytes);
    } catch (const pelmora::PelmoraError&) {
    }
    // The row-by-row outline reads the same files its own way.
    try {
        pelmora::shadeBmp(pelmora::MemorySource(bytes), pelmora::RowShadow::Outline, 0, [](const char*, qsizetype) {});
    } catch (const pelmora::PelmoraError&) {
    }
    return 0;
}
