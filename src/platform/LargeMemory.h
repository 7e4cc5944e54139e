#pragma once
// Memory for a picture's worth of bytes that is written before it is read: not cleared, and
// where the system offers it backed by huge pages, so that its first touch costs a few page
// faults rather than one per 4 KB.
#include <cstddef>

namespace ssf {

// At least `size` bytes (one for 0), or nullptr when there is no memory. Freed by FreeLarge.
void* AllocateLarge(size_t size);
void FreeLarge(void* p);

}  // namespace ssf
