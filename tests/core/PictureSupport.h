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

// Smooth ramps across, down and diagonally without wrapping, as a photo's large areas are:
// for comparing pictures made by different ways of shrinking.
inline Image SmoothPicture(uint32_t width, uint32_t height) {
  Image image(width, height);
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      uint8_t* p = image.Pixel(x, y);
      p[0] = static_cast<uint8_t>(x * 255 / width);
      p[1] = static_cast<uint8_t>(y * 255 / height);
      p[2] = static_cast<uint8_t>((x + y) * 255 / (width + height));
    }
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

// A progressive greyscale JPEG of one DC scan, one AC scan and `refinements` AC refinement
// scans that hold nothing: each costs a few dozen bytes (runs of empty blocks) but makes
// libjpeg visit every block of the picture once more.
inline std::vector<uint8_t> EmptyScanJpeg(uint32_t width, uint32_t height, int refinements) {
  std::vector<uint8_t> f = {0xFF, 0xD8};
  auto segment = [&f](uint8_t marker, std::vector<uint8_t> body) {
    const size_t length = body.size() + 2;
    f.insert(f.end(), {0xFF, marker, static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length)});
    f.insert(f.end(), body.begin(), body.end());
  };
  segment(0xE0, {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0});
  std::vector<uint8_t> dqt(65, 1);
  dqt[0] = 0;
  segment(0xDB, dqt);
  segment(0xC2, {8, static_cast<uint8_t>(height >> 8), static_cast<uint8_t>(height), static_cast<uint8_t>(width >> 8),
                 static_cast<uint8_t>(width), 1, 1, 0x11, 0});
  std::vector<uint8_t> one_code(18, 0);  // a table of one symbol with the code "0"
  one_code[1] = 1;
  segment(0xC4, one_code);  // DC: difference 0
  one_code[0] = 0x10, one_code[17] = 0xE0;
  segment(0xC4, one_code);  // AC: a run of 16384 + 14 more bits of empty blocks
  struct Bits {
    std::vector<uint8_t> out;
    uint32_t acc = 0, count = 0;
    void Put(uint32_t v, uint32_t n) {
      for (uint32_t i = n; i-- > 0;) {
        acc = acc << 1 | ((v >> i) & 1);
        if (++count == 8) {
          out.push_back(static_cast<uint8_t>(acc));
          if (acc == 0xFF) out.push_back(0);
          acc = count = 0;
        }
      }
    }
    std::vector<uint8_t> Done() {
      while (count) Put(1, 1);
      return out;
    }
  };
  const uint64_t blocks = uint64_t{(width + 7) / 8} * ((height + 7) / 8);
  auto scan = [&](uint8_t ss, uint8_t se, uint8_t ah_al, const std::vector<uint8_t>& data) {
    segment(0xDA, {1, 1, 0x00, ss, se, ah_al});
    f.insert(f.end(), data.begin(), data.end());
  };
  Bits dc;
  for (uint64_t i = 0; i < blocks; ++i) dc.Put(0, 1);
  scan(0, 0, 0x00, dc.Done());
  Bits ac;
  for (uint64_t left = blocks; left > 0;) {  // the last run may pass the end: libjpeg stops at it
    const uint64_t run = std::min<uint64_t>(std::max<uint64_t>(left, 16384), 32767);
    ac.Put(0, 1);
    ac.Put(static_cast<uint32_t>(run - 16384), 14);
    left -= std::min(left, run);
  }
  const std::vector<uint8_t> runs = ac.Done();
  scan(1, 63, 0x01, runs);
  for (int i = 0; i < refinements; ++i) scan(1, 63, 0x10, runs);
  f.insert(f.end(), {0xFF, 0xD9});
  return f;
}

}  // namespace ssf::test
