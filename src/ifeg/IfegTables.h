#pragma once
// The delta tables of the IFEG codec, read from the embedded "IFG16" and "IFG18".
#include <array>
#include <cstdint>

namespace ssf {

// Entries 4..511 are packed-value differences; 0..3 are never used.
using DeltaTable = std::array<int32_t, 512>;

// The 18-bit table (rgb666), else the first 16-bit table, or with `doubled` the second
// one: "IFG16" read from byte 2032 on, so entry i is the stored entry 508 + i.
DeltaTable LoadDeltaTable(bool rgb666, bool doubled = false);

}  // namespace ssf
