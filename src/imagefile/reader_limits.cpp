// SPDX-License-Identifier: GPL-2.0-or-later
#include "reader_limits.h"

// Qt
#include <QImageReader>

// Local
#include "picture_memory.h"

// Std
#include <algorithm>

namespace pelmora {

void limitImageReaders() {
    // A function-local static runs once even with readers on several threads.
    static const bool done = [] {
        const long long memoryMb = physicalMemory() >> 20;
        QImageReader::setAllocationLimit(int(std::clamp(memoryMb / 2, 64LL, 1LL << 30)));
        return true;
    }();
    (void)done;
}

} // namespace pelmora
