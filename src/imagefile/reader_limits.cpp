// SPDX-License-Identifier: GPL-2.0-or-later
#include "reader_limits.h"

// Qt
#include <QImageReader>

// Std
#include <algorithm>
#include <unistd.h>

namespace pelmora {

void limitImageReaders() {
    // A function-local static runs once even with readers on several threads.
    static const bool done = [] {
        const long pages = sysconf(_SC_PHYS_PAGES);
        const long pageSize = sysconf(_SC_PAGESIZE);
        const long long memoryMb = pages > 0 && pageSize > 0 ? (long long)pages * pageSize >> 20 : 4096;
        QImageReader::setAllocationLimit(int(std::clamp(memoryMb / 2, 64LL, 1LL << 30)));
        return true;
    }();
    (void)done;
}

} // namespace pelmora
