#include "base/ScratchBuffer.h"

#include <cstdlib>
#include <new>

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

ScratchBuffer::ScratchBuffer(size_t size) : size_(size) {
  void* p = nullptr;
#if defined(__linux__)
  if (size >= kHugeFrom) {
    // Rounded up to whole huge pages, which aligned_alloc wants a multiple of the alignment for.
    const size_t rounded = (size + kHugePage - 1) / kHugePage * kHugePage;
    p = std::aligned_alloc(kHugePage, rounded);
    if (p) madvise(p, rounded, MADV_HUGEPAGE);  // a hint: refused, the buffer still works
  }
#endif
  if (!p) p = std::malloc(size ? size : 1);
  if (!p) throw std::bad_alloc();
  data_.reset(static_cast<uint8_t*>(p));
}

void ScratchBuffer::Free::operator()(uint8_t* p) const { std::free(p); }

}  // namespace ssf
