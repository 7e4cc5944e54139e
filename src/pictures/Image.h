#pragma once
// The one picture type of the core: 24-bit pixels stored blue, green, red, rows from
// the top, no row padding, and an optional 8-bit alpha plane of width * height bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/Limits.h"

namespace ssf {

// Limits for pictures from untrusted files, checked before anything is allocated.
inline constexpr uint32_t kMaxImageSide = static_cast<uint32_t>(kMaxPictureSide);
inline constexpr uint64_t kMaxImagePixels = static_cast<uint64_t>(kMaxPicturePixels);

// Throws SsfError when a picture of this size is refused (a side above the limit
// or too many pixels). Zero sizes are allowed: an empty picture.
void CheckImageSize(uint64_t width, uint64_t height);

struct Image {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint8_t> bgr;    // width * height * 3
  std::vector<uint8_t> alpha;  // empty, or width * height

  Image() = default;
  // Checks the size against the limits and makes a black picture without alpha.
  Image(uint32_t w, uint32_t h);

  bool HasAlpha() const { return !alpha.empty(); }
  void AddAlpha(uint8_t value = 255) { alpha.assign(static_cast<size_t>(width) * height, value); }
  size_t PixelCount() const { return static_cast<size_t>(width) * height; }

  uint8_t* Row(uint32_t y) { return bgr.data() + static_cast<size_t>(y) * width * 3; }
  const uint8_t* Row(uint32_t y) const { return bgr.data() + static_cast<size_t>(y) * width * 3; }
  uint8_t* Pixel(uint32_t x, uint32_t y) { return Row(y) + static_cast<size_t>(x) * 3; }
  const uint8_t* Pixel(uint32_t x, uint32_t y) const { return Row(y) + static_cast<size_t>(x) * 3; }

  bool operator==(const Image&) const = default;
};

}  // namespace ssf
