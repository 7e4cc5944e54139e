#include "base/ScratchBuffer.h"

#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace ssf {

namespace {

constexpr size_t kHugePage = size_t{2} << 20;

}  // namespace

ScratchBuffer::ScratchBuffer(size_t size) : size_(size) {
  void* p = nullptr;
#if defined(__linux__)
  if (size >= kHugePage) {
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
