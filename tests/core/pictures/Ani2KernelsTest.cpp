#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "pictures/Ani2Kernels.h"

namespace ssf {
namespace {

// The vector loops must give exactly the per-pixel conversion, for every tail length, with
// and without an alpha plane, and for stored alphas above 63 (which wrap).
TEST(Ani2Kernels, AgreeWithThePerPixelConversionAtEveryLength) {
  std::mt19937 rng(11);
  for (size_t count = 0; count <= 41; ++count) {
    std::vector<uint8_t> bgr(count * 3), alpha(count), ani2(count * 3);
    for (auto& b : bgr) b = static_cast<uint8_t>(rng());
    for (auto& b : alpha) b = static_cast<uint8_t>(rng());
    for (auto& b : ani2) b = static_cast<uint8_t>(rng());

    for (const uint8_t* a : {static_cast<const uint8_t*>(alpha.data()), static_cast<const uint8_t*>(nullptr)}) {
      std::vector<uint8_t> fast(count * 3), slow(count * 3);
      BgrToAni2(bgr.data(), a, fast.data(), count);
      BgrToAni2Scalar(bgr.data(), a, slow.data(), count);
      EXPECT_EQ(fast, slow) << count << (a ? " with alpha" : " opaque");
    }

    std::vector<uint8_t> fast_bgr(count * 3), slow_bgr(count * 3), fast_alpha(count), slow_alpha(count);
    Ani2ToBgr(ani2.data(), fast_bgr.data(), fast_alpha.data(), count);
    Ani2ToBgrScalar(ani2.data(), slow_bgr.data(), slow_alpha.data(), count);
    EXPECT_EQ(fast_bgr, slow_bgr) << count;
    EXPECT_EQ(fast_alpha, slow_alpha) << count;
  }
  // Every RGB565 value and every stored alpha 0..63 survives the way to a picture and back.
  std::vector<uint8_t> all(65536 * 3), pixels(65536 * 3), alpha(65536), back(65536 * 3);
  for (size_t v = 0; v < 65536; ++v) {
    all[3 * v] = static_cast<uint8_t>(v % 64);
    all[3 * v + 1] = static_cast<uint8_t>(v >> 8);
    all[3 * v + 2] = static_cast<uint8_t>(v);
  }
  Ani2ToBgr(all.data(), pixels.data(), alpha.data(), 65536);
  BgrToAni2(pixels.data(), alpha.data(), back.data(), 65536);
  EXPECT_EQ(back, all);
}

}  // namespace
}  // namespace ssf
