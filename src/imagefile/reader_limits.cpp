// SPDX-License-Identifier: GPL-2.0-or-later
#include "reader_limits.h"

// Qt
#include <QImageReader>

// Local
#include "picture_memory.h"

// Std
#include <algorithm>
#include <mutex>

namespace pelmora {

void limitImageReaders() {
    // Qt keeps the limit in a plain global: it is written under the lock,
    // and only when the cap has changed, which happens before readers run.
    static std::mutex lock;
    static std::int64_t applied = 0;
    const std::int64_t cap = pictureMemoryCap();
    const std::lock_guard guard(lock);
    if (cap != applied) {
        QImageReader::setAllocationLimit(int(std::clamp<std::int64_t>(cap >> 20, 64, std::int64_t(1) << 30)));
        applied = cap;
    }
}

} // namespace pelmora
