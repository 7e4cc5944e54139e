#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "pictures/Rgb565Kernels.h"

namespace ssf {
namespace {

// The vector loops must give exactly the per-pixel conversion, for every tail length.
TEST(Rgb565Kernels, AgreeWithThePerPixelConversionAtEveryLength) {
  std::mt19937 rng(7);
  for (size_t count = 0; count <= 41; ++count) {
    std::vector<uint8_t> bgr(count * 3), raw(count * 2);
    for (auto& b : bgr) b = static_cast<uint8_t>(rng());
    for (auto& b : raw) b = static_cast<uint8_t>(rng());

    std::vector<uint8_t> fast_raw(count * 2), slow_raw(count * 2);
    BgrToRgb565(bgr.data(), fast_raw.data(), count);
    BgrToRgb565Scalar(bgr.data(), slow_raw.data(), count);
    EXPECT_EQ(fast_raw, slow_raw) << count;

    std::vector<uint8_t> fast_bgr(count * 3), slow_bgr(count * 3);
    Rgb565ToBgr(raw.data(), fast_bgr.data(), count);
    Rgb565ToBgrScalar(raw.data(), slow_bgr.data(), count);
    EXPECT_EQ(fast_bgr, slow_bgr) << count;
  }
  // Every RGB565 value survives the way to a picture and back.
  std::vector<uint8_t> all(65536 * 2), pixels(65536 * 3), back(65536 * 2);
  for (size_t v = 0; v < 65536; ++v) {
    all[2 * v] = static_cast<uint8_t>(v);
    all[2 * v + 1] = static_cast<uint8_t>(v >> 8);
  }
  Rgb565ToBgr(all.data(), pixels.data(), 65536);
  BgrToRgb565(pixels.data(), back.data(), 65536);
  EXPECT_EQ(back, all);
}

}  // namespace
}  // namespace ssf
