#pragma once
// A large scratch buffer that is written in full before it is read: left uninitialised, and
// backed by huge pages where the system grants them (platform/LargeMemory.h), so that the
// first touch of a picture's worth of bytes costs a few page faults rather than one per 4 KB
// (that first touch was a third of a whole PNG conversion).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace ssf {

class ScratchBuffer {
 public:
  explicit ScratchBuffer(size_t size);
  uint8_t* data() { return data_.get(); }
  const uint8_t* data() const { return data_.get(); }
  size_t size() const { return size_; }
  std::span<const uint8_t> span() const { return {data_.get(), size_}; }
  // Keeps the first `size` bytes (no more than there are); the memory stays.
  void Shrink(size_t size) { size_ = size < size_ ? size : size_; }

 private:
  struct Free {
    void operator()(uint8_t* p) const;
  };
  std::unique_ptr<uint8_t, Free> data_;
  size_t size_ = 0;
};

}  // namespace ssf
