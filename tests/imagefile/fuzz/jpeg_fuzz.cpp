// SPDX-License-Identifier: GPL-2.0-or-later
// Qt
#include <QByteArray>

// Local
#include "jpeg_file.h"
#include "pelmora_error.h"

// Std
#include <algorithm>
#include <cstddef>
#include <cstdint>

// libFuzzer entry point: every input must be read or refused with the
// reader's error, never crash, leak or hang. Only pictures of up to four
// megapixels are decoded, so that a short run tries many inputs rather than
// a few huge ones.

namespace {

constexpr std::int64_t decodedPixels = 4 << 20;

// The largest size any start-of-frame marker in the bytes gives; libjpeg
// skips junk between markers, so every FF Cn counts, not only those a clean
// walk of the segments would meet.
std::int64_t largestFrame(const std::uint8_t* data, std::size_t size) {
    std::int64_t largest = 0;
    for (std::size_t i = 0; i + 9 <= size; ++i) {
        const std::uint8_t marker = data[i + 1];
        const bool frame = data[i] == 0xFF && marker >= 0xC0 && marker <= 0xCF && marker != 0xC4
                           && marker != 0xC8 && marker != 0xCC;
        if (!frame)
            continue;
        const std::int64_t height = data[i + 5] << 8 | data[i + 6];
        const std::int64_t width = data[i + 7] << 8 | data[i + 8];
        largest = std::max(largest, width * height);
    }
    return largest;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (largestFrame(data, size) > decodedPixels)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        pelmora::decodeJpeg(bytes);
    } catch (const pelmora::PelmoraError&) {
    }
    return 0;
}
