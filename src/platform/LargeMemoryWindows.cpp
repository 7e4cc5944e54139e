#include <cstdlib>

#include "platform/LargeMemory.h"

namespace ssf {

// Large pages on Windows need a privilege that users do not hold: plain memory.
void* AllocateLarge(size_t size) { return std::malloc(size ? size : 1); }

void FreeLarge(void* p) { std::free(p); }

}  // namespace ssf
