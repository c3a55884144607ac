// The allocator set up for a program that loads, converts and frees a
// picture of tens of megabytes for every file of a batch.
#pragma once

namespace platform {

// Keeps blocks of up to 128 MB in the heap, and up to 256 MB of free heap
// before it is given back, so that each file's picture buffers reuse the
// last file's memory instead of being mapped, zeroed by the kernel and
// unmapped again (that cost about 40 % of a print run). The peak memory of
// a run stays the same.
void tuneAllocatorForPictures();

}  // namespace platform
