#pragma once
// Pictures for the codec tests, made in code.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "pictures/Image.h"

namespace ssf {

// Lets a failed comparison show the pixels instead of the vectors' addresses.
inline void PrintTo(const Image& image, std::ostream* os) {
  *os << image.width << "x" << image.height << (image.HasAlpha() ? " with alpha" : "") << " bgr:";
  for (size_t i = 0; i < image.bgr.size() && i < 48; ++i) *os << ' ' << int{image.bgr[i]};
  if (image.bgr.size() > 48) *os << " ...";
}

}  // namespace ssf

namespace ssf::test {

// A picture whose every pixel differs from its neighbours in all three channels, so a
// swapped channel, a flipped row or a shifted column shows.
inline Image Gradient(uint32_t width, uint32_t height, bool with_alpha = false) {
  Image image(width, height);
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      uint8_t* p = image.Pixel(x, y);
      p[0] = static_cast<uint8_t>(x * 7 + y * 3);
      p[1] = static_cast<uint8_t>(x * 5 + y * 11 + 40);
      p[2] = static_cast<uint8_t>(x * 13 + y * 2 + 90);
    }
  }
  if (with_alpha) {
    image.AddAlpha();
    for (size_t i = 0; i < image.PixelCount(); ++i) image.alpha[i] = static_cast<uint8_t>(i * 37);
  }
  return image;
}

// A binary PPM ("P6", maximum 255) as ImageMagick writes it, as an opaque picture.
inline Image ReadPpm(const std::vector<uint8_t>& ppm) {
  const std::string head(ppm.begin(), ppm.begin() + static_cast<std::ptrdiff_t>(std::min<size_t>(ppm.size(), 64)));
  unsigned w = 0, h = 0, max = 0;
  int used = 0;
  if (std::sscanf(head.c_str(), "P6 %u %u %u%n", &w, &h, &max, &used) != 3 || max != 255) throw std::runtime_error("bad ppm");
  Image image(w, h);
  if (ppm.size() < static_cast<size_t>(used) + 1 + image.PixelCount() * 3) throw std::runtime_error("short ppm");
  const uint8_t* src = ppm.data() + used + 1;
  for (size_t i = 0; i < image.PixelCount(); ++i) {
    image.bgr[i * 3] = src[i * 3 + 2], image.bgr[i * 3 + 1] = src[i * 3 + 1], image.bgr[i * 3 + 2] = src[i * 3];
  }
  return image;
}

// The quantisation tables (DQT segments) of a JPEG stream, each as its 64 steps; empty
// when the stream cannot be walked up to its first scan.
inline std::vector<std::vector<int>> JpegQuantisationTables(const std::vector<uint8_t>& jpeg) {
  std::vector<std::vector<int>> tables;
  size_t at = 2;  // after SOI
  while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF && jpeg[at + 1] != 0xDA) {
    const size_t length = static_cast<size_t>(jpeg[at + 2]) << 8 | jpeg[at + 3];
    if (length < 2 || at + 2 + length > jpeg.size()) return {};
    if (jpeg[at + 1] == 0xDB) {
      for (size_t t = at + 4; t < at + 2 + length;) {
        const bool wide = (jpeg[t] >> 4) != 0;
        std::vector<int> steps;
        for (size_t i = 0; i < 64; ++i) {
          steps.push_back(wide ? jpeg[t + 1 + 2 * i] << 8 | jpeg[t + 2 + 2 * i] : jpeg[t + 1 + i]);
        }
        tables.push_back(std::move(steps));
        t += 1 + (wide ? 128 : 64);
      }
    }
    at += 2 + length;
  }
  return tables;
}

// Quality 100: both tables (luminance, chrominance) quantise by 1, so nothing is lost there.
inline bool AllQuantisationStepsAreOne(const std::vector<uint8_t>& jpeg) {
  const auto tables = JpegQuantisationTables(jpeg);
  if (tables.size() != 2) return false;
  for (const auto& t : tables) {
    for (int step : t) {
      if (step != 1) return false;
    }
  }
  return true;
}

}  // namespace ssf::test
