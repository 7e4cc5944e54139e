#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pictures/PngUnfilter.h"

namespace ssf {
namespace {

// The vector path undoes every filter as the plain loop does, for both pixel sizes, with and
// without a row above, on rows of one pixel up to rows that do not end on a vector's width,
// on bytes of every value and on bytes of few values (where Paeth's ties decide); the byte
// after the row is never touched.
TEST(PngUnfilter, VectorPathMatchesThePlainLoop) {
  uint32_t seed = 12345;
  auto next = [&] { return static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 16); };
  for (size_t bpp : {3u, 4u}) {
    for (size_t pixels : {1u, 2u, 5u, 16u, 37u}) {
      for (uint8_t filter = 0; filter <= 4; ++filter) {
        for (bool first : {false, true}) {
          for (uint8_t mask : {0xFF, 0x03}) {
          SCOPED_TRACE("bpp " + std::to_string(bpp) + " pixels " + std::to_string(pixels) + " filter " +
                       std::to_string(filter) + (first ? " first row" : ""));
          const size_t stride = bpp * pixels;
          std::vector<uint8_t> prior(stride), row(stride + 1);
          for (auto& v : prior) v = next() & mask;
          for (auto& v : row) v = next() & mask;
          std::vector<uint8_t> plain = row;
          ASSERT_TRUE(UnfilterPngRow(filter, row.data(), first ? nullptr : prior.data(), stride, bpp));
          ASSERT_TRUE(UnfilterPngRowScalar(filter, plain.data(), first ? nullptr : prior.data(), stride, bpp));
          EXPECT_EQ(row, plain);
          }
        }
      }
    }
  }
  uint8_t row[6] = {};
  EXPECT_FALSE(UnfilterPngRow(5, row, row, 6, 3));
}

}  // namespace
}  // namespace ssf
