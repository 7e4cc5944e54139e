#include <gtest/gtest.h>

#include "pictures/PixelFormats.h"

namespace ssf {
namespace {

TEST(PixelFormats, ShiftConversionsGiveTheExactBits) {
  struct Case {
    uint16_t rgb565;
    uint32_t colour;  // red low byte, green, blue
  };
  const Case cases[] = {
      {0xFFFF, 0x00F8FCF8},  // white keeps zero low bits: 248, 252, 248
      {0x11AA, 0x00503410},  // red 0x10, green 0x34, blue 0x50
      {0xF800, 0x000000F8},  // pure red is 248, not 255
      {0x07E0, 0x0000FC00},
      {0x001F, 0x00F80000},
      {0x0000, 0x00000000},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RGB16ToRGB24(c.rgb565), c.colour) << std::hex << c.rgb565;
    EXPECT_EQ(RGB24ToRGB16(c.colour), c.rgb565) << std::hex << c.colour;
  }
  // Cut off, never rounded; the top byte plays no part.
  EXPECT_EQ(RGB24ToRGB16(0x00FFFFFF), 0xFFFF);
  EXPECT_EQ(RGB24ToRGB16(0x00563412), 0x11AA);
  EXPECT_EQ(RGB24ToRGB16(0xAB563412), 0x11AA);
  EXPECT_EQ(RGB24ToRGB16(0x00070307), 0x0000);
  // Bytes 78 56 34 12 read low byte first give 34 56 78 00.
  EXPECT_EQ(SwapRB(0x12345678), 0x00785634u);
}

TEST(PixelFormats, EveryRgb565ValueSurvivesTheRoundTrip) {
  for (uint32_t v = 0; v <= 0xFFFF; ++v) {
    ASSERT_EQ(RGB24ToRGB16(RGB16ToRGB24(static_cast<uint16_t>(v))), v);
    uint8_t pixel[3];
    RGB565ToPixel(static_cast<uint16_t>(v), pixel);
    ASSERT_EQ(PixelToRGB565(pixel), v);
  }
}

TEST(PixelFormats, PicturePixelIsBlueGreenRed) {
  const uint8_t pixel[3] = {0x56, 0x34, 0x12};  // blue, green, red
  EXPECT_EQ(PixelToRGB565(pixel), 0x11AA);
  uint8_t out[3];
  RGB565ToPixel(0x11AA, out);
  EXPECT_EQ(out[0], 0x50);
  EXPECT_EQ(out[1], 0x34);
  EXPECT_EQ(out[2], 0x10);
}

}  // namespace
}  // namespace ssf
