#pragma once
// Undoing the PNG row filters, the loop a PNG read spends most of its own time in after
// inflating. Pictures of three and four bytes a pixel go a pixel a step through SSE2 (every
// x86-64 processor has it); other sizes and other processors take the plain loop.
#include <cstddef>
#include <cstdint>

namespace ssf {

// Undoes `filter` (0 None, 1 Sub, 2 Up, 3 Average, 4 Paeth) on `row` (`stride` bytes,
// `bpp` bytes a pixel) in place, given the row above already undone, or null for the first
// row. False for an unknown filter.
bool UnfilterPngRow(uint8_t filter, uint8_t* row, const uint8_t* prior, size_t stride, size_t bpp);

// The same without the vector path, for comparison in tests.
bool UnfilterPngRowScalar(uint8_t filter, uint8_t* row, const uint8_t* prior, size_t stride, size_t bpp);

}  // namespace ssf
