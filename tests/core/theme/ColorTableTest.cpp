// A COLORTAB file read as RGB565 colours: entries, conversions, edits and swatches.
#include <gtest/gtest.h>

#include "base/SsfError.h"
#include "theme/ColorTable.h"

namespace ssf {
namespace {

TEST(ColorTable, EntriesAreLowByteFirstAndAnEditTouchesOnlyItsTwoBytes) {
  Bytes table = {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0x42};  // red, green, blue, an odd byte
  EXPECT_EQ(ColorTableEntryCount(table), 3u);
  EXPECT_EQ(ColorTableEntry(table, 0), 0xF800);
  EXPECT_EQ(ColorTableEntry(table, 2), 0x001F);
  EXPECT_THROW(ColorTableEntry(table, 3), SsfError);

  SetColorTableEntry(table, 1, 0x1234);
  EXPECT_EQ(table, (Bytes{0x00, 0xF8, 0x34, 0x12, 0x1F, 0x00, 0x42}));
  EXPECT_THROW(SetColorTableEntry(table, 3, 0), SsfError);
  EXPECT_EQ(ColorTableEntryText(table, 0), "№ 0: 0xF800 (R 248, G 0, B 0)");
}

TEST(ColorTable, ColoursComeBackAsTheyWereRead) {
  const struct {
    uint16_t value;
    Rgb rgb;
  } cases[] = {{0x0000, {0, 0, 0}}, {0xFFFF, {248, 252, 248}}, {0xF800, {248, 0, 0}}, {0x07E0, {0, 252, 0}},
               {0x001F, {0, 0, 248}}, {0x8410, {128, 128, 128}}};
  for (const auto& c : cases) {
    EXPECT_EQ(Rgb565ToRgb(c.value), c.rgb) << c.value;
    EXPECT_EQ(RgbToRgb565(c.rgb), c.value) << c.value;
  }
  // Any 16-bit value survives the trip through the colour chooser's 24-bit colour.
  for (uint32_t v = 0; v <= 0xFFFF; v += 0x0101) EXPECT_EQ(RgbToRgb565(Rgb565ToRgb(static_cast<uint16_t>(v))), v);
  EXPECT_EQ(RgbToRgb565({255, 255, 255}), 0xFFFF);
}

TEST(ColorTable, SwatchesSixteenToARowWithAGrid) {
  Bytes table(2 * 18, 0);
  table[2 * 17 + 1] = 0xF8;  // entry 17 red: second row, second place
  const Image swatches = ColorTableSwatches(table, 4);
  EXPECT_EQ(swatches.width, 16u * 5 + 1);
  EXPECT_EQ(swatches.height, 2u * 5 + 1);
  const uint8_t* red = swatches.Pixel(1 * 5 + 2, 1 * 5 + 2);
  EXPECT_EQ(red[2], 248);
  EXPECT_EQ(red[1], 0);
  const uint8_t* black = swatches.Pixel(2, 2);
  EXPECT_EQ(black[2], 0);
  EXPECT_EQ(swatches.Pixel(5, 2)[2], 0xA0) << "the grid line";
  EXPECT_EQ(swatches.Pixel(2 * 5 + 2, 1 * 5 + 2)[2], 0xA0) << "no entry after the last";
  EXPECT_EQ(ColorTableSwatches(Bytes{1}, 4).width, 0u);
}

}  // namespace
}  // namespace ssf
