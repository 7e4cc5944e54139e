#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>

#include "PictureSupport.h"
#include "base/SsfError.h"
#include "ifeg/Ifeg.h"
#include "ifeg/IfegBits.h"

namespace ssf {
namespace {

// Walks an IFEG bit stream by the format's rules, independently of our decoder, and
// returns the largest delta table entry it meets (0 when none).
int LargestEntryUsed(const Bytes& data) {
  const IfgHeader h = ReadIfgHeader(data);
  IfgBitReader r(data, h.stream_start);
  int largest = 0;
  for (uint32_t by = 0; by < h.height; by += 4) {
    for (uint32_t bx = 0; bx < h.width; bx += 4) {
      r.Need(2);
      if (r.Take(2) == 3) continue;
      const uint32_t pixels = std::min(4u, h.width - bx) * std::min(4u, h.height - by);
      for (uint32_t p = 0; p < pixels; ++p) {
        r.Need(24);
        if (r.Take(1) == 1) continue;
        const uint32_t k = r.Take(3);
        if (k == 7) {
          if (h.mode != 1) r.Take(18);
          continue;
        }
        largest = std::max(largest, static_cast<int>((4u << k) + r.Take(k + 2)));
      }
    }
  }
  EXPECT_LE(r.BitsTaken(), (data.size() - h.stream_start) * 8);
  return largest;
}

uint32_t Pack(const uint8_t* bgr, uint32_t mode) {
  return mode == 1 ? PackRgb565(bgr[0], bgr[1], bgr[2]) : PackRgb666(bgr[0], bgr[1], bgr[2]);
}

// The largest difference of any channel between two packed values.
int ChannelError(uint32_t a, uint32_t b, uint32_t mode) {
  const unsigned blue = mode == 1 ? 5 : 6;
  const uint32_t bm = (1u << blue) - 1;
  const int db = std::abs(int(a & bm) - int(b & bm));
  const int dg = std::abs(int((a >> blue) & 63) - int((b >> blue) & 63));
  const int dr = std::abs(int(a >> (blue + 6)) - int(b >> (blue + 6)));
  return std::max({db, dg, dr});
}

Image Generated(uint32_t w, uint32_t h, const std::function<void(uint32_t, uint32_t, uint8_t*)>& paint) {
  Image img(w, h);
  for (uint32_t y = 0; y < h; ++y) {
    for (uint32_t x = 0; x < w; ++x) paint(x, y, img.Pixel(x, y));
  }
  return img;
}

// Smooth colour fields with sensor noise, as a camera gives.
Image Photo(uint32_t w, uint32_t h) {
  std::mt19937 rng(7);
  return Generated(w, h, [&](uint32_t x, uint32_t y, uint8_t* p) {
    const double fx = double(x) / w, fy = double(y) / h;
    const double v[3] = {128 + 90 * std::sin(6 * fx + 2 * fy), 128 + 80 * std::cos(4 * fy - 3 * fx),
                         120 + 100 * std::sin(9 * fx * fy + 1)};
    for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>(std::clamp(int(v[c]) + int(rng() % 9) - 4, 0, 255));
  });
}

// Flat panels and thin strokes in a few colours.
Image FlatUi(uint32_t w, uint32_t h) {
  const uint8_t palette[][3] = {{240, 240, 240}, {160, 80, 20}, {30, 30, 30}, {0, 140, 255}};
  return Generated(w, h, [&](uint32_t x, uint32_t y, uint8_t* p) {
    const int c = y < 5 ? 1 : (x / 7 + y / 9) % 3 == 0 ? 3 : y % 6 == 0 ? 2 : 0;
    std::copy_n(palette[c], 3, p);
  });
}

// Channels at or next to their ends, where an added table step would carry.
Image Extremes(uint32_t w, uint32_t h) {
  std::mt19937 rng(3);
  const uint8_t levels[] = {0, 4, 8, 247, 251, 255};
  return Generated(w, h, [&](uint32_t, uint32_t, uint8_t* p) {
    for (int c = 0; c < 3; ++c) p[c] = levels[rng() % 6];
  });
}

Image Noise(uint32_t w, uint32_t h) {
  std::mt19937 rng(11);
  return Generated(w, h, [&](uint32_t, uint32_t, uint8_t* p) {
    for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>(rng());
  });
}

Image White(uint32_t w, uint32_t h) {
  return Generated(w, h, [](uint32_t, uint32_t, uint8_t* p) { std::fill_n(p, 3, 255); });
}

// Every allowed error in every mode: the file decodes within the bound of the picture's
// packed values, uses only the fixed table entries 4..19, and 0 is today's encoder.
TEST(IfegWithinError, DecodesWithinTheBoundUsingOnlyTheFixedEntries) {
  struct Case {
    const char* name;
    Image picture;
  };
  const Case cases[] = {
      {"photo 64x48", Photo(64, 48)},   {"flat UI 40x30", FlatUi(40, 30)}, {"1x1", White(1, 1)},
      {"odd 5x7 photo", Photo(5, 7)},   {"odd 13x3 UI", FlatUi(13, 3)},    {"odd 1x9", Photo(1, 9)},
      {"odd 9x1", Photo(9, 1)},         {"extremes 23x17", Extremes(23, 17)},
      {"noise 17x11", Noise(17, 11)},
  };
  for (const Case& c : cases) {
    for (uint32_t mode : {1u, 2u, 3u}) {
      const uint32_t bits = mode == 1 ? 16 : 18;
      const Bytes lossless = EncodeIFG(c.picture, bits, mode);
      EXPECT_EQ(EncodeIFG(c.picture, bits, mode, 0), lossless) << c.name << " mode " << mode;
      for (uint32_t n : {1u, 2u, 3u, kIfgMaxError}) {
        SCOPED_TRACE(std::string(c.name) + " mode " + std::to_string(mode) + " error " + std::to_string(n));
        const Bytes data = EncodeIFG(c.picture, bits, mode, n);
        EXPECT_LE(LargestEntryUsed(data), 19);
        const IfgPacked d = DecodeIFGPacked(data);
        ASSERT_EQ(d.values.size(), c.picture.PixelCount());
        if (mode == 1) {
          EXPECT_EQ(d.consumed, data.size());
        }
        int worst = 0;
        for (size_t i = 0; i < d.values.size(); ++i) {
          EXPECT_EQ(d.values[i] >> bits, 0u) << "pixel " << i;
          worst = std::max(worst, ChannelError(d.values[i], Pack(c.picture.bgr.data() + 3 * i, mode), mode));
        }
        EXPECT_LE(worst, static_cast<int>(n));
        EXPECT_LE(data.size(), lossless.size() + lossless.size() / 20 + 4);
      }
    }
  }
}

// What the option is for: a photo shrinks to a fraction of its lossless size.
TEST(IfegWithinError, PhotoShrinksWithEachLevel) {
  const Image photo = Photo(120, 160);
  const size_t lossless = EncodeIFG(photo).size();
  const size_t one = EncodeIFG(photo, 16, 1, 1).size();
  const size_t two = EncodeIFG(photo, 16, 1, 2).size();
  EXPECT_LT(one, lossless * 6 / 10) << lossless << " " << one;
  EXPECT_LT(two, one) << one << " " << two;
  EXPECT_LT(EncodeIFG(photo, 18, 2, 1).size(), EncodeIFG(photo, 18, 2).size() * 6 / 10);
}

// Pixels one unit of each channel apart: with an error of 1 the first block escapes its
// column 0 (no left prediction there) and copies the rest, and the second block is a row
// fill of two bits.
TEST(IfegWithinError, NearlyEqualPixelsBecomeCopiesAndRowFills) {
  std::vector<uint32_t> v(8 * 4);
  for (size_t i = 0; i < v.size(); ++i) v[i] = (i % 2) ? 0x0821 : 0x0000;
  const Bytes data = EncodeIFGPacked(8, 4, 1, v, 1);
  // 00, four times 0111 and three 1s, then 11: 32 bits; the zero byte; four escapes.
  EXPECT_EQ(data.size(), 16u + 4 + 1 + 8);
  EXPECT_EQ(DecodeIFGPacked(data).values, std::vector<uint32_t>(v.size(), 0));
}

TEST(IfegWithinError, RefusesAnErrorAboveTheLimit) {
  const Image pic = White(2, 2);
  try {
    EncodeIFG(pic, 16, 1, kIfgMaxError + 1);
    FAIL() << "no error";
  } catch (const SsfError& e) {
    EXPECT_NE(std::string(e.what()).find("допустимая ошибка 9"), std::string::npos) << e.what();
  }
  EXPECT_THROW(EncodeIFGPacked(1, 1, 2, std::vector<uint32_t>{0}, kIfgMaxError + 1), SsfError);
}

}  // namespace
}  // namespace ssf
