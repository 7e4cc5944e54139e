#include <gtest/gtest.h>

#include <functional>

#include "PictureSupport.h"
#include "TestSupport.h"
#include "pictures/Ani2.h"
#include "pictures/Bmp.h"
#include "base/FileIO.h"
#include "pictures/PixelFormats.h"
#include "pictures/RawImage.h"
#include "base/SsfError.h"
#include "ifeg/IfegFile.h"

namespace ssf {
namespace {

Image OnePixel(uint8_t red, uint8_t green, uint8_t blue) {
  Image image(1, 1);
  image.bgr = {blue, green, red};
  return image;
}

TEST(RawImage, PixelsBecomeLowByteFirstRgb565AndBack) {
  EXPECT_EQ(ImageToRaw(OnePixel(0x12, 0x34, 0x56)), (Bytes{0xAA, 0x11}));
  EXPECT_EQ(RawToImage(Bytes{0xAA, 0x11}, 1, 1), OnePixel(0x10, 0x34, 0x50));
  EXPECT_EQ(RawToImage(Bytes{0x00, 0xF8}, 1, 1), OnePixel(248, 0, 0));  // not 255
  EXPECT_EQ(ImageToRaw(OnePixel(255, 255, 255)), (Bytes{0xFF, 0xFF}));

  // Rows from the top, left to right; every raw file survives raw -> picture -> raw.
  Bytes raw(3 * 2 * 2);
  for (size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<uint8_t>(i * 53 + 7);
  const Image image = RawToImage(raw, 3, 2);
  EXPECT_EQ(ImageToRaw(image), raw);
  EXPECT_EQ(ImageToRaw(RawToImage(Bytes{0x00, 0xF8, 0x1F, 0x00}, 2, 1)), (Bytes{0x00, 0xF8, 0x1F, 0x00}));
  EXPECT_EQ(RawToImage(Bytes{0x00, 0xF8, 0x1F, 0x00}, 1, 2).Pixel(0, 1)[0], 248) << "second row is blue";
}

TEST(RawImage, WordAtATimeLoopMatchesThePixelConversion) {
  const Image image = test::Gradient(37, 3);  // 111 pixels: groups of four and a tail
  const Bytes raw = ImageToRaw(image);
  for (size_t i = 0; i < image.PixelCount(); ++i) {
    const uint16_t v = PixelToRGB565(&image.bgr[i * 3]);
    ASSERT_EQ(raw[i * 2], v & 0xFF) << i;
    ASSERT_EQ(raw[i * 2 + 1], v >> 8) << i;
  }
}

TEST(RawImage, SizesOfA240By320Picture) {
  const Image image = test::Gradient(240, 320, true);
  EXPECT_EQ(ImageToRaw(image).size(), 153600u);
  EXPECT_EQ(ImageToAni2(image, true).size(), 230408u);
}

TEST(RawImage, FileConvertersRoundTripAndWriteNothingOnError) {
  test::TempDir dir;
  Bytes raw(4 * 3 * 2);
  for (size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<uint8_t>(i * 71 + 3);
  Bytes longer = raw;
  longer.push_back(0xEE);  // one byte too many is ignored
  test::WriteFile(dir / "in.raw", longer);
  RawToBmp(dir / "in.raw", dir / "out.bmp", 4, 3);
  BmpToRaw(dir / "out.bmp", dir / "back.raw");
  EXPECT_EQ(test::ReadFile(dir / "back.raw"), raw);

  test::WriteFile(dir / "short.raw", Bytes(raw.begin(), raw.end() - 1));
  EXPECT_THROW(RawToBmp(dir / "short.raw", dir / "none.bmp", 4, 3), SsfError);
  EXPECT_THROW(RawToBmp(dir / "in.raw", dir / "none.bmp", -4, 3), SsfError);
  test::WriteFile(dir / "bad.bmp", Bytes{'B', 'M', 0, 0});
  EXPECT_THROW(BmpToRaw(dir / "bad.bmp", dir / "none.raw"), SsfError);
  EXPECT_THROW(BmpToRaw(dir / "missing.bmp", dir / "none.raw"), SsfError);
  EXPECT_FALSE(std::filesystem::exists(dir / "none.bmp"));
  EXPECT_FALSE(std::filesystem::exists(dir / "none.raw"));
}

// The user sees only the message: it must say which file could not be converted.
TEST(FileConverters, AFailureNamesTheFileThatCouldNotBeRead) {
  test::TempDir dir;
  test::WriteFile(dir / "bad.bmp", Bytes{'B', 'M', 0, 0});
  test::WriteFile(dir / "short.raw", Bytes(4 * 3 * 2 - 1));
  test::WriteFile(dir / "bad.png", Bytes(20, 'x'));
  test::WriteFile(dir / "short.ani2", Bytes{'A', 'N', 'I', '2', 2, 0, 2, 0, 63});
  const struct {
    const char* source;
    std::function<void()> convert;
  } rows[] = {
      {"bad.bmp", [&] { BmpToRaw(dir / "bad.bmp", dir / "out.raw"); }},
      {"missing.bmp", [&] { BmpToRaw(dir / "missing.bmp", dir / "out.raw"); }},
      {"short.raw", [&] { RawToBmp(dir / "short.raw", dir / "out.bmp", 4, 3); }},
      {"bad.png", [&] { PngToAni2(dir / "bad.png", dir / "out.ani2"); }},
      {"short.ani2", [&] { Ani2ToPng(dir / "short.ani2", dir / "out.png"); }},
      {"bad.bmp", [&] { BmpFileToIFG(dir / "bad.bmp", dir / "out.ifg"); }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.source);
    try {
      row.convert();
      ADD_FAILURE() << "converted";
    } catch (const SsfError& e) {
      EXPECT_NE(std::string(e.what()).find(row.source), std::string::npos) << e.what();
    }
  }
  for (const char* out : {"out.raw", "out.bmp", "out.ani2", "out.png", "out.ifg"}) {
    EXPECT_FALSE(std::filesystem::exists(dir / out)) << out;
  }
}

TEST(Ani2, AlphaReducesToSixBitsAndOpaqueWithoutAnAlphaChannel) {
  struct Case {
    uint8_t alpha_in;
    bool has_alpha_channel;
    uint8_t alpha_byte;
  };
  const Case cases[] = {{255, true, 63}, {3, true, 0}, {4, true, 1}, {128, true, 32}, {0, true, 0}, {0, false, 63}, {128, false, 63}};
  for (const Case& c : cases) {
    Image image = OnePixel(0x12, 0x34, 0x56);
    image.AddAlpha(c.alpha_in);
    EXPECT_EQ(ImageToAni2(image, c.has_alpha_channel), (Bytes{'A', 'N', 'I', '2', 1, 0, 1, 0, c.alpha_byte, 0x11, 0xAA}))
        << int{c.alpha_in} << " " << c.has_alpha_channel;
  }
  EXPECT_EQ(ImageToAni2(OnePixel(0, 0, 0), true)[8], 63) << "no alpha plane at all";
}

TEST(Ani2, DecodesHighByteFirstAndWrapsAlphaAboveSixtyThree) {
  struct Case {
    uint8_t alpha_byte;
    uint8_t alpha;
  };
  for (const Case c : {Case{63, 252}, Case{0, 0}, Case{1, 4}, Case{64, 0}, Case{255, 252}}) {
    const Image image = Ani2ToImage(Bytes{'A', 'N', 'I', '2', 1, 0, 1, 0, c.alpha_byte, 0xF8, 0x00});
    Image expected = OnePixel(248, 0, 0);
    expected.AddAlpha(c.alpha);
    EXPECT_EQ(image, expected) << int{c.alpha_byte};
  }
  // Width and height little-endian; pixels row by row.
  const Image two = Ani2ToImage(Bytes{'A', 'N', 'I', '2', 1, 0, 2, 0, 63, 0x00, 0x1F, 63, 0x07, 0xE0});
  EXPECT_EQ(two.width, 1u);
  EXPECT_EQ(two.height, 2u);
  EXPECT_EQ(two.Pixel(0, 0)[0], 248);
  EXPECT_EQ(two.Pixel(0, 1)[1], 252);
}

TEST(Ani2, RefusesCutShortFiles) {
  const Bytes whole = ImageToAni2(test::Gradient(3, 2, true), true);
  for (size_t size : {size_t{0}, size_t{5}, size_t{7}, whole.size() - 1}) {
    EXPECT_THROW(Ani2ToImage(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size))), SsfError) << size;
  }
  EXPECT_NO_THROW(Ani2ToImage(whole));
}

TEST(Ani2, PngToAni2AndBackKeepsSixBitAlphaAndRgb565) {
  test::TempDir dir;
  const Image image = test::Gradient(5, 4, true);
  test::WriteFile(dir / "in.png", EncodePng(image));
  PngToAni2(dir / "in.png", dir / "pic.ani2");
  const Bytes ani2 = test::ReadFile(dir / "pic.ani2");
  EXPECT_EQ(ani2, ImageToAni2(image, true));
  Ani2ToPng(dir / "pic.ani2", dir / "out.png");
  const Bytes png = test::ReadFile(dir / "out.png");
  EXPECT_EQ(png[24], 16);
  EXPECT_EQ(png[25], 6);
  const PngPicture back = DecodePng(png);
  EXPECT_EQ(back.image, Ani2ToImage(ani2));
  EXPECT_EQ(ImageToAni2(back.image, true), ani2) << "stable after one trip";

  // A damaged or missing input writes nothing; a missing signature keeps its kind.
  test::WriteFile(dir / "not.png", Bytes(20, 'x'));
  EXPECT_THROW(PngToAni2(dir / "not.png", dir / "none.ani2"), PngSignatureError);
  test::WriteFile(dir / "short.ani2", Bytes(ani2.begin(), ani2.end() - 1));
  EXPECT_THROW(Ani2ToPng(dir / "short.ani2", dir / "none.png"), SsfError);
  EXPECT_FALSE(std::filesystem::exists(dir / "none.ani2"));
  EXPECT_FALSE(std::filesystem::exists(dir / "none.png"));
}

}  // namespace
}  // namespace ssf
