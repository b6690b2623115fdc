// SPDX-License-Identifier: GPL-2.0-or-later
#include "large_bytes.h"

// Local
#include "pelmora_error.h"

// Std
#include <cstdint>
#include <new>
#include <sys/mman.h>

namespace pelmora {

namespace {

constexpr std::uintptr_t kHugePage = std::uintptr_t(2) << 20;

} // namespace

QByteArray largeByteArray(qsizetype size) {
    QByteArray bytes;
    try {
        bytes = QByteArray(size, Qt::Uninitialized);
    } catch (const std::bad_alloc&) {
        throw PelmoraError(outOfMemoryText());
    }
    // Only whole huge pages inside the block; the advice is a hint, and a
    // refusal changes nothing.
    const auto start = reinterpret_cast<std::uintptr_t>(bytes.data());
    const std::uintptr_t first = (start + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t end = (start + std::uintptr_t(size)) & ~(kHugePage - 1);
    if (end > first)
        madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
    return bytes;
}

} // namespace pelmora
