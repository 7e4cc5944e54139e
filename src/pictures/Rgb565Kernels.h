#pragma once
// The two hot loops of the raw image format, on plain buffers: picture pixels (blue,
// green, red) to RGB565 values (low byte first) and back, with the shift conversions of
// PixelFormats.h bit for bit. On x86 processors they run sixteen (AVX2) or eight (SSSE3)
// pixels a step; the rest goes pixel by pixel.
#include <cstddef>
#include <cstdint>

namespace ssf {

// `bgr` holds count * 3 bytes, `raw` count * 2.
void BgrToRgb565(const uint8_t* bgr, uint8_t* raw, size_t count);
void Rgb565ToBgr(const uint8_t* raw, uint8_t* bgr, size_t count);

// The same without the vector path, for comparison in tests.
void BgrToRgb565Scalar(const uint8_t* bgr, uint8_t* raw, size_t count);
void Rgb565ToBgrScalar(const uint8_t* raw, uint8_t* bgr, size_t count);

}  // namespace ssf
