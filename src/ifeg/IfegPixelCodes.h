#pragma once
// The pixel codes both IFEG encoders write: a copy, one of the table entries 4..19 whose
// values the format fixes, or an escape. Other entries are never written, so our files
// decode the same with any delta table.
#include <cstdint>

#include "base/ByteIO.h"
#include "ifeg/IfegBits.h"

namespace ssf::ifeg_codes {

inline constexpr int kFirstEntry = 4;
inline constexpr int kEndEntry = 20;

// What one pixel becomes: kEscape, kCopy, or a table entry 4..19.
inline constexpr uint8_t kEscape = 0;
inline constexpr uint8_t kCopy = 1;

// Code length of table entry t: group k = floor(log2 t) - 2 costs k + 6 bits.
constexpr unsigned Group(int t) { return t < 8 ? 0 : t < 16 ? 1 : 2; }

// Bits a pixel code costs, an escape's value included (in mode 1 it goes to the escape
// area, whose bytes count the same as stream bits).
constexpr unsigned Cost(uint8_t code, uint32_t mode) {
  return code == kEscape ? (mode == 1 ? 4 + 16 : 4 + 18) : code == kCopy ? 1 : Group(code) + 6;
}

// Appends one pixel code; `value` is the escaped pixel's packed value.
inline void PutPixelCode(IfgBitWriter& stream, Bytes& escapes, uint32_t mode, uint8_t code, uint32_t value) {
  if (code == kCopy) {
    stream.Put(1, 1);
  } else if (code != kEscape) {
    const unsigned k = Group(code);
    stream.Put((k << (k + 2)) | (code & ((1u << (k + 2)) - 1)), k + 6);
  } else if (mode == 1) {
    stream.Put(7, 4);
    escapes.push_back(static_cast<uint8_t>(value));
    escapes.push_back(static_cast<uint8_t>(value >> 8));
  } else {
    stream.Put((7u << 18) | value, 4 + 18);
  }
}

}  // namespace ssf::ifeg_codes
