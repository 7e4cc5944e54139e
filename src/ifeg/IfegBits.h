#pragma once
// Bit reader and writer of the IFEG stream: most significant bit first, byte by byte.
#include <cstddef>
#include <cstdint>

#include "theme/ByteIO.h"

namespace ssf {

// Reads past the end of the data as zero bytes: the reader fetches up to three bytes
// ahead of what a code needs, and the decoder checks separately, with BitsTaken(), that
// no code was really taken from beyond the end.
class IfgBitReader {
 public:
  IfgBitReader(ByteSpan data, size_t start) : data_(data), start_(start), pos_(start) {
    acc_ = NextByte();
    count_ = 8;
  }

  // Makes at least m (<= 24) bits available.
  void Need(unsigned m) {
    while (count_ < m) {
      acc_ = (acc_ << 8) | NextByte();
      count_ += 8;
    }
  }

  // Takes k bits that Need() made available.
  uint32_t Take(unsigned k) {
    count_ -= k;
    return (acc_ >> count_) & ((1u << k) - 1);
  }

  // Position of the next byte the reader would fetch (may pass the data's end).
  size_t NextPosition() const { return pos_; }
  // Bits handed out so far, counted from the stream start.
  uint64_t BitsTaken() const { return (pos_ - start_) * 8 - count_; }

 private:
  uint32_t NextByte() {
    uint32_t b = pos_ < data_.size() ? data_[pos_] : 0;
    ++pos_;
    return b;
  }

  ByteSpan data_;
  size_t start_;
  size_t pos_;
  uint32_t acc_ = 0;
  unsigned count_ = 0;
};

class IfgBitWriter {
 public:
  // Appends the low n (<= 32) bits of value.
  void Put(uint32_t value, unsigned n) {
    acc_ = (acc_ << n) | (value & (n == 32 ? 0xFFFFFFFFu : (1u << n) - 1));
    count_ += n;
    bits_ += n;
    while (count_ >= 8) {
      count_ -= 8;
      bytes_.push_back(static_cast<uint8_t>(acc_ >> count_));
    }
  }

  uint64_t BitCount() const { return bits_; }
  void Reserve(size_t bytes) { bytes_.reserve(bytes); }

  // The stream padded with zero bits to a whole byte.
  Bytes Finish() {
    if (count_ > 0) {
      bytes_.push_back(static_cast<uint8_t>(acc_ << (8 - count_)));
      count_ = 0;
    }
    return std::move(bytes_);
  }

 private:
  Bytes bytes_;
  uint64_t acc_ = 0;
  unsigned count_ = 0;
  uint64_t bits_ = 0;
};

}  // namespace ssf
