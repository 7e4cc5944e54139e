// Files written by other programs (ImageMagick, or put together byte by byte by
// tests/tools/make_picture_fixtures.py), each beside the pixels an independent decoder read
// from it (a PPM of the same name).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "PictureSupport.h"
#include "TestSupport.h"
#include "pictures/Bmp.h"
#include "pictures/Jpeg.h"

namespace ssf {
namespace {

namespace fs = std::filesystem;

TEST(PictureFixtures, ReadersAgreeWithTheExpectedPixels) {
  const fs::path dir = fs::path(SSF_SOURCE_DIR) / "tests" / "data" / "pictures";
  const struct {
    const char* file;
    int tolerance;  // JPEG: ImageMagick's own colour conversion rounds differently
  } cases[] = {
      {"rle8-imagemagick.bmp", 0},     // ImageMagick's default for palette BMPs
      {"rle8-runs.bmp", 0},            // encoded, odd and even absolute runs, deltas, early end
      {"rle4-runs.bmp", 0},            // the same with nibbles, absolute runs padded
      {"os2v2-64-palette.bmp", 0},     // OS/2 2.x, full 64-byte header
      {"os2v2-64-rle8.bmp", 0},
      {"os2v2-16-truecolour.bmp", 0},  // OS/2 2.x cut to 16 bytes: no compression field
      {"cmyk-imagemagick.jpg", 3},     // inverted CMYK with the Adobe marker
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const fs::path file = dir / c.file;
    const Bytes data = test::ReadFile(file);
    const Image ours = file.extension() == ".bmp" ? DecodeBmp(data) : DecodeJpeg(data);
    const Image theirs = test::ReadPpm(test::ReadFile(fs::path(file).replace_extension(".ppm")));
    ASSERT_EQ(ours.width, theirs.width);
    ASSERT_EQ(ours.height, theirs.height);
    EXPECT_FALSE(ours.HasAlpha());
    for (size_t i = 0; i < ours.bgr.size(); ++i) {
      ASSERT_LE(std::abs(ours.bgr[i] - theirs.bgr[i]), c.tolerance) << "pixel " << i / 3 << " channel " << i % 3;
    }
  }
}

}  // namespace
}  // namespace ssf
