#pragma once

// Std
#include <cstddef>

namespace pelmora {

// Pixel memory for large pictures. Fresh pages cost more to fault in than
// the work done on them, and the program makes pictures of the same size
// over and over (outline, fill, turns and copies of one picture), so the
// buffers of pictures that go away are kept for the next of the same size.

// A buffer of the given bytes, or nullptr when there is no memory for it.
// Its start lies at pageOffset within a memory page, rounded down to a
// multiple of 64. Give it back with releasePixelBuffer.
void* takePixelBuffer(std::size_t bytes, std::size_t pageOffset);
void releasePixelBuffer(void* buffer);

// A row loop that reads one buffer and writes another stalls when its
// stores sit a little ahead of its loads at the same offset within a page
// (4K aliasing); a result placed at its source's page offset avoids that.
inline constexpr std::size_t kPageBytes = 4096;
std::size_t pageOffsetOf(const void* pixels);

} // namespace pelmora
