#include <cstdlib>

#include "platform/LargeMemory.h"

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace ssf {

namespace {

constexpr size_t kHugePage = size_t{2} << 20;
// From this size on one huge page costs less than the small pages it stands for: a 230 KB
// BMP's 57 first touches took longer than clearing one 2 MB page.
constexpr size_t kHugeFrom = kHugePage / 16;

}  // namespace

void* AllocateLarge(size_t size) {
#if defined(__linux__)
  if (size >= kHugeFrom) {
    // Rounded up to whole huge pages, which aligned_alloc wants a multiple of the alignment for.
    const size_t rounded = (size + kHugePage - 1) / kHugePage * kHugePage;
    if (void* p = std::aligned_alloc(kHugePage, rounded)) {
      ::madvise(p, rounded, MADV_HUGEPAGE);  // a hint: refused, the memory still works
      return p;
    }
  }
#endif
  return std::malloc(size ? size : 1);
}

void FreeLarge(void* p) { std::free(p); }

}  // namespace ssf
