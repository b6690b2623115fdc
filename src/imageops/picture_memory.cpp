#include "picture_memory.h"

// Std
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace pelmora {

namespace {

constexpr std::size_t kMaxKept = 4;
constexpr std::size_t kPageBytes = 4096;
constexpr std::size_t kHugePageBytes = std::size_t(2) << 20;
constexpr std::size_t kHeaderBytes = 64;   // keeps the pixels 64-byte aligned

// Reusing memory would hide use-after-free from AddressSanitizer.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kRecycle = false;
#else
constexpr bool kRecycle = true;
#endif

// Kept just before the pixels: where the allocation starts and its size.
struct Header {
    void* base;
    std::size_t total;
};

Header& headerOf(void* pixels) { return *(static_cast<Header*>(pixels) - 1); }

std::size_t keptBytesLimit() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    return pages > 0 && pageSize > 0 ? std::size_t(pages) * std::size_t(pageSize) / 8 : std::size_t(1) << 30;
}

struct Kept {
    std::mutex lock;
    std::vector<void*> bases;   // oldest first
    std::vector<std::size_t> totals;
    std::size_t bytes = 0;
    const std::size_t limit = keptBytesLimit();

    void dropOldest() {
        bytes -= totals.front();
        std::free(bases.front());
        bases.erase(bases.begin());
        totals.erase(totals.begin());
    }
};

// Never destroyed: a picture may outlive every other static.
Kept& kept() {
    static Kept* k = new Kept;
    return *k;
}

// Large buffers start on a huge-page boundary and ask for huge pages: a
// picture of 64 MB faults in 32 pages instead of 16,000, which costs more
// than the work done on it. The advice is a hint; a refusal changes nothing.
void* allocate(std::size_t total) {
    const std::size_t alignment = total >= 2 * kHugePageBytes ? kHugePageBytes : kPageBytes;
    const std::size_t rounded = (total + alignment - 1) / alignment * alignment;
    void* base = std::aligned_alloc(alignment, rounded);
    if (base && alignment == kHugePageBytes)
        madvise(base, rounded, MADV_HUGEPAGE);
    return base;
}

void* takeKept(std::size_t total) {
    Kept& k = kept();
    const std::lock_guard<std::mutex> guard(k.lock);
    for (std::size_t i = 0; i < k.bases.size(); ++i) {
        if (k.totals[i] == total) {
            void* base = k.bases[i];
            k.bases.erase(k.bases.begin() + std::ptrdiff_t(i));
            k.totals.erase(k.totals.begin() + std::ptrdiff_t(i));
            k.bytes -= total;
            return base;
        }
    }
    return nullptr;
}

} // namespace

void* takePixelBuffer(std::size_t bytes) {
    if (bytes > SIZE_MAX - kPageBytes - kHeaderBytes)
        return nullptr;
    const std::size_t total = bytes + kHeaderBytes;
    void* base = kRecycle ? takeKept(total) : nullptr;
    if (!base)
        base = allocate(total);
    if (!base)
        return nullptr;
    void* pixels = static_cast<char*>(base) + kHeaderBytes;
    headerOf(pixels) = Header{base, total};
    return pixels;
}

void releasePixelBuffer(void* buffer) {
    if (!buffer)
        return;
    const Header header = headerOf(buffer);
    if (kRecycle && header.total <= kept().limit) {
        Kept& k = kept();
        const std::lock_guard<std::mutex> guard(k.lock);
        while (!k.bases.empty() && (k.bases.size() == kMaxKept || k.bytes + header.total > k.limit))
            k.dropOldest();
        k.bases.push_back(header.base);
        k.totals.push_back(header.total);
        k.bytes += header.total;
        return;
    }
    std::free(header.base);
}

} // namespace pelmora
