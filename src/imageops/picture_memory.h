// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Std
#include <cstddef>
#include <cstdint>

namespace pelmora {

// The machine's physical memory in bytes (4 GiB where it cannot be told);
// every size cap of the program is a share of it.
std::int64_t physicalMemory();

// The most one picture may take: half of physical memory, shared out among
// the pictures being read at once, so that together they fit.
std::int64_t pictureMemoryCap();

// Divides the cap among this many pictures made at the same time; called
// before any of them starts.
void sharePictureMemory(int atOnce);

// Pixel memory for large pictures. Fresh pages cost more to fault in than
// the work done on them, and the program makes pictures of the same size
// over and over (outline, fill, turns and copies of one picture), so the
// buffers of pictures that go away are kept for the next of the same size.

// A 64-byte aligned buffer of the given bytes, or nullptr when there is no
// memory for it. Give it back with releasePixelBuffer.
void* takePixelBuffer(std::size_t bytes);
void releasePixelBuffer(void* buffer);

// Makes one buffer of the given bytes in the background, its pages already
// faulted in, for the next take of that size; nothing when one is kept or
// being made already. A take of that size meanwhile waits for it.
void prepareSpareBuffer(std::size_t bytes);

// Large buffers made from now on ask for huge pages: their first touch
// costs a third less (a 4000 x 4000 turn from file to file: 74 ms against
// 50), but on a virtual machine it may at random take half a second, which
// a program that reads one picture and ends can bear better than a window.
void useHugePages();

} // namespace pelmora
