#pragma once
// The bounded-error IFEG encoder behind EncodeIFGPacked's max_error: it follows the
// decoder pixel by pixel and lets every decoded channel differ from the source's packed
// value by at most max_error units, which turns most escapes of a photo into copies or
// short table codes.
#include <cstdint>
#include <span>

#include "base/ByteIO.h"
#include "ifeg/IfegBits.h"

namespace ssf {

// Writes the block and pixel codes of a width x height picture of packed values (already
// masked to the mode's bits) into `stream`, and in mode 1 the escaped values into
// `escapes`. max_error is 1..kIfgMaxError.
void EncodeBlocksWithinError(uint32_t width, uint32_t height, uint32_t mode,
                             std::span<const uint32_t> values, uint32_t max_error,
                             IfgBitWriter& stream, Bytes& escapes);

}  // namespace ssf
