// Resampling against known kernels, the three fit modes and dithering to RGB565.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "base/ByteIO.h"
#include "base/SsfError.h"
#include "ifeg/IfegScale.h"
#include "pictures/FitPicture.h"
#include "pictures/PixelFormats.h"
#include "pictures/Resample.h"
#include "PictureSupport.h"

namespace ssf {
namespace {

Image Filled(uint32_t w, uint32_t h, uint8_t b, uint8_t g, uint8_t r) {
  Image image(w, h);
  for (size_t i = 0; i < image.PixelCount(); ++i) {
    image.bgr[i * 3] = b;
    image.bgr[i * 3 + 1] = g;
    image.bgr[i * 3 + 2] = r;
  }
  return image;
}

TEST(Resample, CatmullRomAtKnownPoints) {
  const struct { double x, w; } cases[] = {
      {0, 1}, {0.25, 0.8671875}, {0.5, 0.5625}, {0.75, 0.2265625}, {1, 0},
      {1.25, -0.0703125}, {1.5, -0.0625}, {1.75, -0.0234375}, {2, 0}, {-0.5, 0.5625}, {3, 0}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(CatmullRom(c.x), c.w) << c.x;
}

TEST(Resample, WeightTablesAreAreaSharesWhenShrinkingAndCubicWhenGrowing) {
  struct Tap { uint32_t index; float weight; };
  const struct Case {
    uint32_t in, out, pixel;
    std::vector<Tap> taps;
  } cases[] = {
      // Halving: two source pixels, half each.
      {4, 2, 1, {{2, 0.5f}, {3, 0.5f}}},
      // 3 -> 2: output 0 covers source [0, 1.5).
      {3, 2, 0, {{0, 2.0f / 3}, {1, 1.0f / 3}}},
      {3, 2, 1, {{1, 1.0f / 3}, {2, 2.0f / 3}}},
      // Doubling: output 1 sits at source 0.25, its cubic taps at -1 (folded onto 0), 0, 1, 2.
      // Source 2 folds onto 1 as well.
      {2, 4, 1, {{0, -0.0703125f + 0.8671875f}, {1, 0.2265625f - 0.0234375f}}},
      // Output 4 of 8 sits at source 1.75: four taps inside.
      {4, 8, 4, {{0, -0.0234375f}, {1, 0.2265625f}, {2, 0.8671875f}, {3, -0.0703125f}}},
      // The same size: the pixel itself.
      {5, 5, 3, {{3, 1.0f}}},
  };
  for (const Case& c : cases) {
    const auto w = ResampleWeights(c.in, c.out);
    ASSERT_EQ(w.size(), c.out);
    float sum = 0;
    for (const ResampleTap& t : w[c.pixel]) sum += t.weight;
    EXPECT_NEAR(sum, 1.0f, 1e-6) << c.in << "->" << c.out;
    for (const Tap& want : c.taps) {
      float got = 0;
      for (const ResampleTap& t : w[c.pixel]) {
        if (t.index == want.index) got += t.weight;
      }
      EXPECT_NEAR(got, want.weight, 1e-6) << c.in << "->" << c.out << " pixel " << c.pixel << " tap " << want.index;
    }
  }
}

TEST(Resample, AveragesInLinearLightAndKeepsFlatColoursExactly) {
  // A black and white checkerboard halves to the grey of half the light: 188, not 128.
  Image board(4, 4);
  for (uint32_t y = 0; y < 4; ++y) {
    for (uint32_t x = 0; x < 4; ++x) std::fill_n(board.Pixel(x, y), 3, (x + y) % 2 ? 255 : 0);
  }
  const Image half = ResizePicture(board, 2, 2);
  for (uint8_t v : half.bgr) EXPECT_EQ(v, 188);

  // Every 8-bit value survives the trip through linear light, shrinking and growing.
  for (int v = 0; v < 256; ++v) {
    const auto c = static_cast<uint8_t>(v);
    const Image flat = Filled(6, 5, c, static_cast<uint8_t>(255 - v), c);
    for (auto [w, h] : {std::pair{3u, 2u}, {13u, 11u}}) {
      EXPECT_EQ(ResizePicture(flat, w, h), Filled(w, h, c, static_cast<uint8_t>(255 - v), c)) << v;
    }
  }
}

TEST(Resample, TransparentPixelsLendNoColour) {
  // Left half transparent black, right half opaque red; halved, the mixed pixel stays
  // pure red at half opacity instead of darkening.
  Image picture = Filled(4, 1, 0, 0, 255);
  picture.AddAlpha(255);
  picture.alpha[0] = picture.alpha[1] = 0;
  std::fill_n(picture.bgr.begin(), 6, 0);
  const Image two = ResizePicture(picture, 1, 1);
  ASSERT_TRUE(two.HasAlpha());
  EXPECT_EQ(two.alpha[0], 128);
  EXPECT_EQ(two.bgr, (Bytes{0, 0, 255}));
}

TEST(Resample, GrowingAStepOvershootsNoMoreThanTheCubicAllowsAndStaysInRange) {
  Image step(2, 1);
  std::fill_n(step.Pixel(1, 0), 3, 255);
  const Image wide = ResizePicture(step, 8, 3);
  EXPECT_EQ(wide.width, 8u);
  EXPECT_EQ(wide.height, 3u);
  // Monotonic from black to white along the row, rows alike.
  for (uint32_t x = 1; x < 8; ++x) EXPECT_LE(wide.Pixel(x - 1, 0)[1], wide.Pixel(x, 0)[1]);
  EXPECT_EQ(wide.Pixel(0, 0)[0], 0);
  EXPECT_EQ(wide.Pixel(7, 2)[0], 255);
  EXPECT_EQ(std::vector<uint8_t>(wide.Row(0), wide.Row(1)), std::vector<uint8_t>(wide.Row(2), wide.Row(2) + 24));
}

// A window of the resized picture is those pixels of the whole, made without the whole:
// crop fits work this way, so a thin picture covering a wide target is never enlarged whole.
TEST(Resample, WindowIsThePartOfTheWholeResizedPicture) {
  const Image source = test::Gradient(7, 5, true);
  const struct { uint32_t full_w, full_h, x, y, w, h; } cases[] = {
      {21, 15, 0, 0, 21, 15}, {21, 15, 5, 4, 9, 6}, {3, 2, 1, 1, 2, 1}, {7, 40, 2, 30, 5, 10}, {50, 3, 49, 0, 1, 3},
  };
  for (const auto& c : cases) {
    const Image whole = ResizePicture(source, c.full_w, c.full_h);
    uint32_t rows = 0;
    ResizeRows(source, {c.full_w, c.full_h, c.x, c.y, c.w, c.h}, [&](uint32_t y, const uint8_t* bgr, const uint8_t* alpha) {
      ASSERT_EQ(y, rows++);
      EXPECT_EQ(Bytes(bgr, bgr + c.w * 3), Bytes(whole.Pixel(c.x, c.y + y), whole.Pixel(c.x, c.y + y) + c.w * 3));
      ASSERT_NE(alpha, nullptr);
      const uint8_t* want = &whole.alpha[(c.y + y) * c.full_w + c.x];
      EXPECT_EQ(Bytes(alpha, alpha + c.w), Bytes(want, want + c.w));
    });
    EXPECT_EQ(rows, c.h);
  }
}

// The extremes of a legal picture: a column of 16384 pixels cropped to a screen would be
// 240x3932160 enlarged whole (refused as too large before); a single pixel stretched to
// a picture of the largest width is made a row at a time.
TEST(FitPicture, ExtremeProportionsAreFittedWithoutTheEnlargedPicture) {
  Image column(1, 16384);
  for (uint32_t y = 0; y < column.height; ++y) std::fill_n(column.Pixel(0, y), 3, static_cast<uint8_t>(y / 64));
  const Image crop = FitPicture(column, 240, 320, FitMode::kCrop);
  ASSERT_EQ(crop.width, 240u);
  ASSERT_EQ(crop.height, 320u);
  // The middle of the column, every row one colour across.
  EXPECT_NEAR(crop.Pixel(0, 160)[0], 128, 1);
  for (uint32_t y = 0; y < crop.height; ++y) {
    EXPECT_EQ(Bytes(crop.Row(y), crop.Row(y) + 3), Bytes(crop.Row(y) + 239 * 3, crop.Row(y) + 240 * 3)) << y;
  }

  const Image dot = Filled(1, 1, 10, 200, 30);
  uint32_t rows = 0;
  bool flat = true;
  ResizeRows(dot, {16384, 1024, 0, 0, 16384, 1024}, [&](uint32_t, const uint8_t* bgr, const uint8_t*) {
    ++rows;
    flat = flat && bgr[0] == 10 && bgr[16383 * 3 + 1] == 200 && bgr[8000 * 3 + 2] == 30;
  });
  EXPECT_EQ(rows, 1024u);
  EXPECT_TRUE(flat);
}

// A 4x2 picture: left half red, right half blue; fitted to a square in each mode.
TEST(FitPicture, ModesCoverFitOrStretch) {
  Image wide = Filled(40, 20, 0, 0, 255);
  for (uint32_t y = 0; y < 20; ++y) {
    for (uint32_t x = 20; x < 40; ++x) {
      uint8_t* p = wide.Pixel(x, y);
      p[0] = 255;
      p[2] = 0;
    }
  }
  const uint8_t grey[3] = {50, 60, 70};

  // crop: scaled to 20 high (40 wide), the middle 10 columns kept: red left, blue right.
  const Image crop = FitPicture(wide, 10, 10, FitMode::kCrop);
  EXPECT_EQ(crop.width, 10u);
  EXPECT_EQ(crop.Pixel(0, 5)[2], 255);
  EXPECT_EQ(crop.Pixel(9, 5)[0], 255);

  // pad: scaled to 10 wide (5 high), centred with the fill colour above and below.
  const Image pad = FitPicture(wide, 10, 10, FitMode::kPad, grey);
  EXPECT_EQ(std::vector<uint8_t>(pad.Pixel(4, 0), pad.Pixel(4, 0) + 3), (Bytes{50, 60, 70}));
  EXPECT_EQ(std::vector<uint8_t>(pad.Pixel(4, 9), pad.Pixel(4, 9) + 3), (Bytes{50, 60, 70}));
  EXPECT_EQ(pad.Pixel(0, 4)[2], 255);
  EXPECT_EQ(pad.Pixel(9, 4)[0], 255);
  EXPECT_EQ(FitPicture(wide, 10, 10, FitMode::kPad).Pixel(5, 0)[1], 0);  // black by default

  // stretch: all of it, squeezed.
  const Image stretch = FitPicture(wide, 10, 10, FitMode::kStretch);
  EXPECT_EQ(stretch.Pixel(0, 0)[2], 255);
  EXPECT_EQ(stretch.Pixel(9, 9)[0], 255);
  EXPECT_EQ(stretch, ResizePicture(wide, 10, 10));

  // A tall picture into a wide target: crop keeps the middle rows.
  Image tall = Filled(3, 27, 0, 0, 0);
  std::fill_n(tall.Pixel(0, 12), 27, 255);
  const Image band = FitPicture(tall, 9, 3, FitMode::kCrop);
  EXPECT_EQ(band, Filled(9, 3, 255, 255, 255));
}

TEST(FitPicture, PadOfAPictureWithAlphaIsTransparentAndAlphaSurvivesEveryMode) {
  Image icon = Filled(4, 8, 10, 20, 30);
  icon.AddAlpha(200);
  const Image pad = FitPicture(icon, 8, 8, FitMode::kPad);
  ASSERT_TRUE(pad.HasAlpha());
  EXPECT_EQ(pad.alpha[0], 0);        // the fill
  EXPECT_EQ(pad.alpha[8 * 4 + 4], 200);  // the picture
  for (FitMode m : {FitMode::kCrop, FitMode::kStretch}) {
    const Image fitted = FitPicture(icon, 3, 5, m);
    ASSERT_TRUE(fitted.HasAlpha());
    EXPECT_EQ(fitted.alpha[7], 200);
  }
  EXPECT_THROW(FitPicture(icon, 0, 5, FitMode::kCrop), SsfError);
}

TEST(FitPicture, ModeWords) {
  for (FitMode m : {FitMode::kCrop, FitMode::kPad, FitMode::kStretch}) EXPECT_EQ(ParseFitMode(FitModeName(m)), m);
  EXPECT_FALSE(ParseFitMode("Crop"));
  EXPECT_FALSE(ParseFitMode(""));
}

TEST(Dither, LevelsSurviveBothQuantisersAndTheAverageKeepsTheShade) {
  // A shade between two RGB565 levels: plain truncation gives one flat level, dithering a
  // mix whose average is the shade.
  const Image flat = Filled(64, 64, 4, 130, 12);
  Image dithered = flat;
  DitherToRgb565(dithered);
  double sum[3] = {0, 0, 0};
  for (size_t i = 0; i < dithered.PixelCount(); ++i) {
    const uint8_t* p = &dithered.bgr[i * 3];
    // Each channel is a level both the raw shifts and the IFEG scale read back the same.
    const uint16_t raw = PixelToRGB565(p);
    EXPECT_EQ(raw & 31u, ifeg_scale::kTo5[p[0]]);
    EXPECT_EQ((raw >> 5) & 63u, ifeg_scale::kTo6[p[1]]);
    EXPECT_EQ(raw >> 11, ifeg_scale::kTo5[p[2]]);
    EXPECT_EQ(ifeg_scale::kFrom5[ifeg_scale::kTo5[p[0]]], p[0]);
    for (int c = 0; c < 3; ++c) sum[c] += p[c];
  }
  const double n = static_cast<double>(dithered.PixelCount());
  EXPECT_NEAR(sum[0] / n, 4, 0.5);
  EXPECT_NEAR(sum[1] / n, 130, 0.5);
  EXPECT_NEAR(sum[2] / n, 12, 0.5);
  EXPECT_NE(dithered.bgr[0], dithered.bgr[3 * 5]);  // not one flat level

  // Values already on a level stay put; alpha is untouched.
  Image exact = Filled(5, 3, 255, 0, 132);
  exact.AddAlpha(7);
  const Image before = exact;
  DitherToRgb565(exact);
  EXPECT_EQ(exact, before);
}

// Every level of RGB565 is its own: 32 for red and blue, 64 for green. A picture already on
// a level stays put; one level finer in green is no mix of the levels beside it.
TEST(Dither, EveryLevelOfEachChannelStaysPut) {
  struct Channel {
    const char* name;
    size_t index;  // in blue, green, red
    uint32_t max;
  };
  for (const Channel& ch : {Channel{"blue", 0, 31}, Channel{"green", 1, 63}, Channel{"red", 2, 31}}) {
    for (uint32_t level = 0; level <= ch.max; ++level) {
      SCOPED_TRACE(std::string(ch.name) + " level " + std::to_string(level));
      uint8_t bgr[3] = {0, 0, 0};
      bgr[ch.index] = static_cast<uint8_t>((level * 255 + ch.max / 2) / ch.max);
      const Image before = Filled(8, 8, bgr[0], bgr[1], bgr[2]);
      Image dithered = before;
      DitherToRgb565(dithered);
      ASSERT_EQ(dithered, before);
    }
  }
}

}  // namespace
}  // namespace ssf
