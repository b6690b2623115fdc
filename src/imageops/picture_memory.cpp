// SPDX-License-Identifier: GPL-2.0-or-later
#include "picture_memory.h"

// Std
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <system_error>
#include <thread>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace pelmora {

std::int64_t physicalMemory() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    return pages > 0 && pageSize > 0 ? std::int64_t(pages) * pageSize : std::int64_t(1) << 32;
}

namespace {

std::atomic<int> picturesAtOnce{1};

} // namespace

std::int64_t pictureMemoryCap() {
    return physicalMemory() / 2 / picturesAtOnce.load(std::memory_order_relaxed);
}

void sharePictureMemory(int atOnce) {
    picturesAtOnce.store(atOnce > 0 ? atOnce : 1, std::memory_order_relaxed);
}

namespace {

constexpr std::size_t kMaxKept = 4;
constexpr std::size_t kPageBytes = 4096;
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
    return std::size_t(physicalMemory() / 8);
}

// Every member is guarded by lock.
struct Kept {
    std::mutex lock;
    std::vector<void*> bases;   // oldest first
    std::vector<std::size_t> totals;
    std::size_t bytes = 0;
    const std::size_t limit = keptBytesLimit();
    std::size_t preparing = 0;   // the total of the spare being made, or 0
    std::condition_variable prepared;
    std::thread preparer;

    void dropOldest() {
        bytes -= totals.front();
        std::free(bases.front());
        bases.erase(bases.begin());
        totals.erase(totals.begin());
    }

    bool holds(std::size_t total) const {
        for (std::size_t kept : totals)
            if (kept == total)
                return true;
        return false;
    }

    void keep(void* base, std::size_t total) {
        while (!bases.empty() && (bases.size() == kMaxKept || bytes + total > limit))
            dropOldest();
        bases.push_back(base);
        totals.push_back(total);
        bytes += total;
    }

    void* take(std::size_t total) {
        for (std::size_t i = 0; i < bases.size(); ++i) {
            if (totals[i] == total) {
                void* base = bases[i];
                bases.erase(bases.begin() + std::ptrdiff_t(i));
                totals.erase(totals.begin() + std::ptrdiff_t(i));
                bytes -= total;
                return base;
            }
        }
        return nullptr;
    }
};

// Never destroyed: a picture may outlive every other static, and a spare
// may still be in the making when the program ends.
Kept& kept() {
    static Kept* k = new Kept;
    return *k;
}

std::atomic<bool> hugePages{false};
constexpr std::size_t kHugeFrom = std::size_t(32) << 20;

// Plain pages unless a one-shot program asks for huge ones. Where free
// memory goes back to a virtual machine's host, fresh huge pages for 192 MB
// took 13 ms or, at random, 0.5 s to fault in; small pages took 80-160 ms
// every time. Spares take that off the window's command path; the quarter
// turns lose about 8% to the TLB.
void* allocate(std::size_t total) {
    const std::size_t rounded = (total + kPageBytes - 1) / kPageBytes * kPageBytes;
    void* base = std::aligned_alloc(kPageBytes, rounded);
    if (base && rounded >= kHugeFrom && hugePages.load(std::memory_order_relaxed))
        madvise(base, rounded, MADV_HUGEPAGE);
    return base;
}

void makeSpare(std::size_t total) {
    void* base = allocate(total);
    if (base) {
        auto* bytes = static_cast<volatile char*>(base);
        for (std::size_t at = 0; at < total; at += kPageBytes)
            bytes[at] = 0;
    }
    Kept& k = kept();
    const std::lock_guard<std::mutex> guard(k.lock);
    if (base)
        k.keep(base, total);
    k.preparing = 0;
    k.prepared.notify_all();
}

} // namespace

void* takePixelBuffer(std::size_t bytes) {
    if (bytes > SIZE_MAX - kPageBytes - kHeaderBytes)
        return nullptr;
    const std::size_t total = bytes + kHeaderBytes;
    void* base = nullptr;
    if (kRecycle) {
        Kept& k = kept();
        std::unique_lock<std::mutex> guard(k.lock);
        k.prepared.wait(guard, [&] { return k.preparing != total; });
        base = k.take(total);
    }
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
        k.keep(header.base, header.total);
        return;
    }
    std::free(header.base);
}

void useHugePages() {
    hugePages.store(true, std::memory_order_relaxed);
}

void prepareSpareBuffer(std::size_t bytes) {
    if (!kRecycle || bytes > SIZE_MAX - kPageBytes - kHeaderBytes)
        return;
    const std::size_t total = bytes + kHeaderBytes;
    Kept& k = kept();
    const std::lock_guard<std::mutex> guard(k.lock);
    if (k.preparing != 0 || total > k.limit || k.holds(total))
        return;
    // The last spare's thread has already let go of the lock for good.
    if (k.preparer.joinable())
        k.preparer.join();
    k.preparing = total;
    try {
        k.preparer = std::thread(makeSpare, total);
    } catch (const std::system_error&) {
        // Without a thread the next picture simply starts on fresh pages.
        k.preparing = 0;
    }
}

} // namespace pelmora
