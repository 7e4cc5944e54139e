#pragma once
// The hot loops of ANI2 files on plain buffers: picture pixels (blue, green, red) plus an
// alpha plane to ANI2 pixels (alpha 0..63, RGB565 high byte, low byte) and back, with the
// shift conversions of PixelFormats.h bit for bit. On x86 processors with SSSE3 they run
// eight pixels a step; the rest goes pixel by pixel.
#include <cstddef>
#include <cstdint>

namespace ssf {

// `bgr` holds count * 3 bytes, `ani2` count * 3; `alpha` count bytes, or null for opaque
// (stored alpha 63). The stored alpha is the 8-bit alpha >> 2.
void BgrToAni2(const uint8_t* bgr, const uint8_t* alpha, uint8_t* ani2, size_t count);
// The 8-bit alpha is (stored << 2) & 0xFF: a stored value above 63 wraps.
void Ani2ToBgr(const uint8_t* ani2, uint8_t* bgr, uint8_t* alpha, size_t count);

// The same without the vector path, for comparison in tests.
void BgrToAni2Scalar(const uint8_t* bgr, const uint8_t* alpha, uint8_t* ani2, size_t count);
void Ani2ToBgrScalar(const uint8_t* ani2, uint8_t* bgr, uint8_t* alpha, size_t count);

}  // namespace ssf
