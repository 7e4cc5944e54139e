#pragma once
// Bit reader and writer of the IFEG stream: most significant bit first, byte by byte.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <cstdint>

#include "base/ByteIO.h"

namespace ssf {

// Reads past the end of the data as zero bytes: a code may be fetched a few bytes ahead
// of what it needs, and the decoder checks separately, with BitsTaken(), that no code was
// really taken from beyond the end. Holds up to 64 bits, most significant first.
class IfgBitReader {
 public:
  IfgBitReader(ByteSpan data, size_t start) : data_(data), start_(start), pos_(start) { Refill(); }

  // Makes at least m (<= 56) bits available.
  void Need(unsigned m) {
    if (avail_ < m) Refill();
    need_end_ = std::max(need_end_, taken_ + m);
  }

  // The next k (1..32) bits that Need() made available, without taking them.
  uint32_t Peek(unsigned k) const { return static_cast<uint32_t>(bits_ >> (64 - k)); }
  void Skip(unsigned k) {
    bits_ <<= k;
    avail_ -= k;
    taken_ += k;
  }
  uint32_t Take(unsigned k) {
    uint32_t v = Peek(k);
    Skip(k);
    return v;
  }

  // The position after the last byte a byte-at-a-time reader would have fetched: it
  // starts with one byte and fetches one more while it holds fewer bits than a Need()
  // asks for. May pass the data's end.
  size_t NextPosition() const { return start_ + static_cast<size_t>((need_end_ + 7) / 8); }
  // Bits handed out so far, counted from the stream start.
  uint64_t BitsTaken() const { return taken_; }

 private:
  // Tops the buffer up to at least 56 bits.
  void Refill() {
    if (pos_ + 8 <= data_.size()) {
      uint64_t word;
      std::memcpy(&word, data_.data() + pos_, 8);
      // Bits below the counted ones are the true following bits, so a later refill
      // writes the same values over them.
      bits_ |= __builtin_bswap64(word) >> avail_;
      const unsigned bytes = (63 - avail_) >> 3;
      pos_ += bytes;
      avail_ += bytes * 8;
      return;
    }
    while (avail_ <= 56) {
      uint64_t b = pos_ < data_.size() ? data_[pos_] : 0;
      bits_ |= b << (56 - avail_);
      ++pos_;
      avail_ += 8;
    }
  }

  ByteSpan data_;
  size_t start_;
  size_t pos_;
  uint64_t bits_ = 0;
  unsigned avail_ = 0;
  uint64_t taken_ = 0;
  uint64_t need_end_ = 8;
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
