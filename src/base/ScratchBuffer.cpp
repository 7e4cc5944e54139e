#include "base/ScratchBuffer.h"

#include <new>

#include "platform/LargeMemory.h"

namespace ssf {

ScratchBuffer::ScratchBuffer(size_t size) : size_(size) {
  void* p = AllocateLarge(size);
  if (!p) throw std::bad_alloc();
  data_.reset(static_cast<uint8_t*>(p));
}

void ScratchBuffer::Free::operator()(uint8_t* p) const { FreeLarge(p); }

}  // namespace ssf
