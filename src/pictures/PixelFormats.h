#pragma once
// The phone's 16-bit pixels and the editor's 24-bit pictures.
//
//   RGB565 value  16 bits: red 15..11, green 10..5, blue 4..0
//   colour value  32 bits: red 7..0, green 15..8, blue 23..16, top byte 0
//   picture pixel 3 bytes blue, green, red (read little-endian: blue in the low byte)
//
// These are shift conversions: the dropped bits are cut off, never rounded, and the bits
// filled on widening are zero. Stored raw, ANI2 and icon files depend on exactly this, so
// it is not the rounding scale of the IFEG codec.
#include <cstdint>

namespace ssf {

// Exchanges the low and the third byte; the top byte of the result is always 0.
constexpr uint32_t SwapRB(uint32_t x) {
  return ((x & 0xFFu) << 16) | (x & 0xFF00u) | ((x >> 16) & 0xFFu);
}

// RGB565 value -> colour value, low bits of each channel zero (0xFFFF gives 248, 252, 248).
constexpr uint32_t RGB16ToRGB24(uint16_t v) {
  return ((v & 0xF800u) >> 8) | ((v & 0x07E0u) << 5) | (static_cast<uint32_t>(v & 0x001Fu) << 19);
}

// Colour value -> RGB565 value, low bits cut off; bits 24..31 of c play no part.
constexpr uint16_t RGB24ToRGB16(uint32_t c) {
  return static_cast<uint16_t>((((c & 0xFFu) >> 3) << 11) | ((((c >> 8) & 0xFFu) >> 2) << 5) |
                               (((c >> 16) & 0xFFu) >> 3));
}

// A picture pixel (three bytes blue, green, red) as an RGB565 value.
constexpr uint16_t PixelToRGB565(const uint8_t* bgr) {
  const uint32_t pixel = bgr[0] | (uint32_t{bgr[1]} << 8) | (uint32_t{bgr[2]} << 16);
  return RGB24ToRGB16(SwapRB(pixel));
}

// Writes an RGB565 value as a picture pixel (three bytes blue, green, red).
constexpr void RGB565ToPixel(uint16_t v, uint8_t* bgr) {
  const uint32_t pixel = SwapRB(RGB16ToRGB24(v));
  bgr[0] = static_cast<uint8_t>(pixel);
  bgr[1] = static_cast<uint8_t>(pixel >> 8);
  bgr[2] = static_cast<uint8_t>(pixel >> 16);
}

}  // namespace ssf
