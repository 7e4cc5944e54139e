#include <gtest/gtest.h>

#include <string>

#include "PictureSupport.h"
#include "PngBuilder.h"
#include "pictures/Png.h"
#include "pictures/RawImage.h"
#include "base/SsfError.h"

namespace ssf {
namespace {

using test::BuildPng;
using test::PngLayout;

// Expected pixels as red, green, blue, alpha, row-major.
Image FromRgba(uint32_t width, uint32_t height, const std::vector<int>& rgba, bool with_alpha) {
  Image image(width, height);
  if (with_alpha) image.AddAlpha();
  for (size_t i = 0; i < image.PixelCount(); ++i) {
    image.bgr[i * 3] = static_cast<uint8_t>(rgba[i * 4 + 2]);
    image.bgr[i * 3 + 1] = static_cast<uint8_t>(rgba[i * 4 + 1]);
    image.bgr[i * 3 + 2] = static_cast<uint8_t>(rgba[i * 4]);
    if (with_alpha) image.alpha[i] = static_cast<uint8_t>(rgba[i * 4 + 3]);
  }
  return image;
}

TEST(Png, DecodesEveryColourTypeToEightBitBgrWithAlpha) {
  struct Case {
    const char* name;
    PngLayout layout;
    std::vector<int> rgba;
    bool has_alpha_channel;
    bool image_has_alpha;
  };
  const Case cases[] = {
      {"grey 1-bit", {.depth = 1, .colour_type = 0, .samples = {0, 1, 1, 1, 0, 0}},
       {0, 0, 0, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 0, 0, 0, 255, 0, 0, 0, 255}, false, false},
      {"grey 4-bit interlaced", {.depth = 4, .colour_type = 0, .interlace = true, .samples = {0, 5, 15, 1, 2, 3}},
       {0, 0, 0, 255, 85, 85, 85, 255, 255, 255, 255, 255, 17, 17, 17, 255, 34, 34, 34, 255, 51, 51, 51, 255}, false, false},
      {"grey 16-bit", {.depth = 16, .colour_type = 0, .samples = {0, 2570, 65535, 51400, 257, 32896}},
       {0, 0, 0, 255, 10, 10, 10, 255, 255, 255, 255, 255, 200, 200, 200, 255, 1, 1, 1, 255, 128, 128, 128, 255}, false, false},
      {"grey with alpha", {.depth = 8, .colour_type = 4, .samples = {10, 0, 20, 64, 30, 255, 40, 1, 50, 2, 60, 3}},
       {10, 10, 10, 0, 20, 20, 20, 64, 30, 30, 30, 255, 40, 40, 40, 1, 50, 50, 50, 2, 60, 60, 60, 3}, true, true},
      {"truecolour interlaced",
       {.colour_type = 2, .interlace = true, .samples = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}},
       {1, 2, 3, 255, 4, 5, 6, 255, 7, 8, 9, 255, 10, 11, 12, 255, 13, 14, 15, 255, 16, 17, 18, 255}, false, false},
      {"truecolour with alpha 16-bit",
       {.depth = 16, .colour_type = 6,
        .samples = {257, 514, 771, 65535, 0, 0, 0, 0, 65535, 65535, 65535, 32896, 257, 0, 0, 257, 0, 257, 0, 514, 0, 0, 257, 771}},
       {1, 2, 3, 255, 0, 0, 0, 0, 255, 255, 255, 128, 1, 0, 0, 1, 0, 1, 0, 2, 0, 0, 1, 3}, true, true},
      {"palette 2-bit with alpha table",
       {.depth = 2, .colour_type = 3, .plte = {255, 0, 0, 0, 255, 0, 0, 0, 255}, .trns = {0, 128}, .samples = {0, 1, 2, 2, 1, 0}},
       {255, 0, 0, 0, 0, 255, 0, 128, 0, 0, 255, 255, 0, 0, 255, 255, 0, 255, 0, 128, 255, 0, 0, 0}, true, true},
      {"palette 8-bit opaque", {.depth = 8, .colour_type = 3, .plte = {9, 8, 7, 6, 5, 4}, .samples = {0, 1, 1, 0, 0, 1}},
       {9, 8, 7, 255, 6, 5, 4, 255, 6, 5, 4, 255, 9, 8, 7, 255, 9, 8, 7, 255, 6, 5, 4, 255}, false, false},
      // A single transparent colour is transparency, but not an alpha channel.
      {"truecolour with one transparent colour",
       {.colour_type = 2, .trns = {0, 10, 0, 20, 0, 30}, .samples = {10, 20, 30, 1, 2, 3, 10, 20, 30, 4, 5, 6, 7, 8, 9, 10, 20, 31}},
       {10, 20, 30, 0, 1, 2, 3, 255, 10, 20, 30, 0, 4, 5, 6, 255, 7, 8, 9, 255, 10, 20, 31, 255}, false, true},
      {"grey with one transparent value", {.depth = 8, .colour_type = 0, .trns = {0, 7}, .samples = {7, 8, 7, 0, 255, 6}},
       {7, 7, 7, 0, 8, 8, 8, 255, 7, 7, 7, 0, 0, 0, 0, 255, 255, 255, 255, 255, 6, 6, 6, 255}, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const PngPicture p = DecodePng(BuildPng(c.layout));
    EXPECT_EQ(p.has_alpha_channel, c.has_alpha_channel);
    EXPECT_EQ(p.image, FromRgba(3, 2, c.rgba, c.image_has_alpha));
  }
}

TEST(Png, FlatteningBlendsAnAlphaChannelButKeepsATransparentColour) {
  const PngPicture channel = DecodePng(BuildPng({.width = 3, .height = 1, .colour_type = 6,
                                                 .samples = {200, 100, 50, 0, 200, 100, 50, 255, 200, 100, 50, 128}}));
  EXPECT_EQ(FlattenOverBlack(channel), FromRgba(3, 1, {0, 0, 0, 0, 200, 100, 50, 0, 100, 50, 25, 0}, false));
  const PngPicture colour = DecodePng(BuildPng({.width = 2, .height = 1, .colour_type = 2, .trns = {0, 10, 0, 20, 0, 30},
                                                .samples = {10, 20, 30, 1, 2, 3}}));
  EXPECT_EQ(FlattenOverBlack(colour), FromRgba(2, 1, {10, 20, 30, 0, 1, 2, 3, 0}, false));
  const Image opaque = test::Gradient(4, 3);
  EXPECT_EQ(FlattenOverBlack(opaque), opaque);

  // Rounded to the nearest level, not cut: 200 × 200 / 255 is 156.9, 128 × 1 / 255 is 0.502.
  const PngPicture blend = DecodePng(BuildPng({.width = 2, .height = 1, .colour_type = 6,
                                               .samples = {200, 150, 90, 200, 200, 128, 127, 1}}));
  EXPECT_EQ(FlattenOverBlack(blend), FromRgba(2, 1, {157, 118, 71, 0, 1, 1, 0, 0}, false));
}

// A PNG to a raw file row by row gives the values of the whole way round (decoded, flattened
// over black, converted), for the files read in one piece and for those libpng reads; faults
// are told as the decoder tells them.
TEST(Png, RawValuesAreThoseOfTheFlattenedPicture) {
  const auto samples = [](const PngLayout& l) {
    std::vector<uint16_t> v(size_t{l.width} * l.height * static_cast<size_t>(test::Channels(l.colour_type)));
    for (size_t i = 0; i < v.size(); ++i) v[i] = static_cast<uint16_t>((i * 2654435761u >> 7) % (l.depth == 16 ? 65536 : 256));
    if (l.colour_type == 3) for (auto& x : v) x %= 3;
    return v;
  };
  const std::vector<PngLayout> layouts = {
      {.width = 37, .height = 4, .colour_type = 2, .filters = {0, 1, 2, 3, 4}},
      {.width = 37, .height = 4, .colour_type = 6, .filters = {4, 3, 2, 1}},
      {.width = 5, .height = 3, .colour_type = 2, .trns = {0, 10, 0, 20, 0, 30}},
      {.width = 5, .height = 3, .colour_type = 3, .plte = {1, 2, 3, 40, 50, 60, 200, 100, 0}, .trns = {255, 128}},
      {.width = 5, .height = 3, .depth = 16, .colour_type = 6},
      {.width = 5, .height = 3, .colour_type = 6, .interlace = true},
  };
  for (PngLayout layout : layouts) {
    SCOPED_TRACE("colour type " + std::to_string(layout.colour_type) + " depth " + std::to_string(layout.depth));
    layout.samples = samples(layout);
    const Bytes png = BuildPng(layout);
    const ScratchBuffer raw = PngToRaw(png);
    EXPECT_EQ(Bytes(raw.data(), raw.data() + raw.size()), ImageToRaw(FlattenOverBlack(DecodePng(png))));
  }
  EXPECT_THROW(PngToRaw(Bytes{'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0}), PngSignatureError);
  PngLayout unknown{.width = 2, .height = 2, .samples = std::vector<uint16_t>(12, 7), .filters = {0, 5}};
  EXPECT_THROW(PngToRaw(BuildPng(unknown)), SsfError);
}

TEST(Png, EncodedPicturesReadBackExactly) {
  for (bool alpha : {false, true}) {
    const Image image = test::Gradient(7, 5, alpha);
    const Bytes png = EncodePng(image);
    EXPECT_EQ(png[25], alpha ? 6 : 2) << "colour type";
    const PngPicture back = DecodePng(png);
    EXPECT_EQ(back.image, image);
    EXPECT_EQ(back.has_alpha_channel, alpha);
  }
  // Sixteen bits a sample, each 8-bit value v stored as v * 257.
  const Image image = test::Gradient(5, 4, true);
  const Bytes png16 = EncodePngRgba16(image);
  EXPECT_EQ(png16[24], 16) << "bit depth";
  EXPECT_EQ(png16[25], 6) << "colour type";
  EXPECT_EQ(DecodePng(png16).image, image);
  EXPECT_THROW(EncodePng(Image(0, 3)), SsfError);
}

TEST(Png, RefusesDamagedFilesAndTellsAMissingSignatureApart) {
  const Bytes good = EncodePng(test::Gradient(9, 9));
  for (const Bytes& not_png : {Bytes{}, Bytes(good.begin(), good.begin() + 7), Bytes{'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0}}) {
    EXPECT_THROW(DecodePng(not_png), PngSignatureError);
  }
  Bytes bad_crc = good;
  bad_crc[bad_crc.size() - 20] ^= 0xFF;  // inside IDAT
  const struct {
    const char* name;
    Bytes data;
    const char* message_part;
  } damaged[] = {
      {"signature only", Bytes(good.begin(), good.begin() + 8), "обрезан"},
      {"cut in the header", Bytes(good.begin(), good.begin() + 20), "обрезан"},
      {"cut in the pixels", Bytes(good.begin(), good.end() - 30), "обрезан"},
      {"IDAT data damaged", bad_crc, "IDAT"},
      {"side over the limit", BuildPng({.width = 20000, .height = 1, .colour_type = 0}), "Слишком большое"},
      {"too many pixels", BuildPng({.width = 16384, .height = 8193, .depth = 1, .colour_type = 0}), "Слишком большое"},
      // A few dozen bytes cannot inflate to the rows of a large picture: refused before
      // anything of its size is allocated.
      {"large 16-bit picture in a few bytes",
       BuildPng({.width = 16384, .height = 4096, .depth = 16, .colour_type = 6, .interlace = true}),
       "строкам 16384x4096 нужно не меньше 520231 байт сжатых данных, в файле 8"},
  };
  for (const auto& c : damaged) {
    SCOPED_TRACE(c.name);
    try {
      DecodePng(c.data);
      ADD_FAILURE() << "accepted";
    } catch (const PngSignatureError& e) {
      ADD_FAILURE() << "a damaged PNG is still a PNG: " << e.what();
    } catch (const SsfError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message_part), std::string::npos) << e.what();
      EXPECT_EQ(std::string(e.what()).find("Not enough"), std::string::npos) << e.what();
    }
  }
}

// The file with its one IDAT chunk cut into chunks of the given lengths and the rest.
Bytes SplitIdat(const Bytes& png, const std::vector<size_t>& lengths) {
  size_t at = 8;
  while (std::string(png.begin() + static_cast<std::ptrdiff_t>(at) + 4, png.begin() + static_cast<std::ptrdiff_t>(at) + 8) != "IDAT") {
    at += 12 + (size_t{png[at]} << 24 | size_t{png[at + 1]} << 16 | size_t{png[at + 2]} << 8 | png[at + 3]);
  }
  const size_t length = size_t{png[at]} << 24 | size_t{png[at + 1]} << 16 | size_t{png[at + 2]} << 8 | png[at + 3];
  const Bytes body(png.begin() + static_cast<std::ptrdiff_t>(at + 8), png.begin() + static_cast<std::ptrdiff_t>(at + 8 + length));
  Bytes out(png.begin(), png.begin() + static_cast<std::ptrdiff_t>(at));
  size_t from = 0;
  for (size_t part : lengths) {
    test::AppendChunk(out, "IDAT", Bytes(body.begin() + static_cast<std::ptrdiff_t>(from), body.begin() + static_cast<std::ptrdiff_t>(from + part)));
    from += part;
  }
  test::AppendChunk(out, "IDAT", Bytes(body.begin() + static_cast<std::ptrdiff_t>(from), body.end()));
  out.insert(out.end(), png.begin() + static_cast<std::ptrdiff_t>(at + 12 + length), png.end());
  return out;
}

// Truecolour files, the kind read in one piece, come back exactly whatever filter each row
// uses, the first row included; a row of an unknown filter is refused in Russian.
TEST(Png, EveryRowFilterIsUndone) {
  for (uint8_t colour_type : {2, 6}) {
    for (const Bytes& filters : {Bytes{0, 1, 2, 3, 4}, Bytes{1}, Bytes{2}, Bytes{3}, Bytes{4}, Bytes{4, 3}}) {
      SCOPED_TRACE(std::to_string(colour_type) + " filters " + std::to_string(filters[0]) + "..");
      PngLayout layout{.width = 5, .height = 6, .colour_type = colour_type, .filters = filters};
      const size_t channels = colour_type == 6 ? 4 : 3;
      std::vector<int> rgba;
      for (uint32_t i = 0; i < layout.width * layout.height; ++i) {
        for (size_t c = 0; c < 4; ++c) {
          const int v = static_cast<int>((i * 97 + c * 61 + i * i * 13) % 256);
          rgba.push_back(c == 3 && channels == 3 ? 255 : v);
          if (c < channels) layout.samples.push_back(static_cast<uint16_t>(v));
        }
      }
      const Bytes png = BuildPng(layout);
      // The compressed rows in one IDAT chunk, and spread over several (with an empty one).
      for (const Bytes& file : {png, SplitIdat(png, {3, 0, 5})}) {
        const PngPicture back = DecodePng(file);
        EXPECT_EQ(back.image, FromRgba(layout.width, layout.height, rgba, colour_type == 6));
        EXPECT_EQ(back.has_alpha_channel, colour_type == 6);
      }
    }
  }
  PngLayout unknown{.width = 2, .height = 2, .samples = std::vector<uint16_t>(12, 7), .filters = {0, 5}};
  try {
    DecodePng(BuildPng(unknown));
    ADD_FAILURE() << "accepted";
  } catch (const SsfError& e) {
    EXPECT_NE(std::string(e.what()).find("неизвестный фильтр строки"), std::string::npos) << e.what();
  }
}

// A file that holds enough compressed bytes but ends its rows early fails in Russian, and
// what it held is all it cost: rows are taken on as they arrive.
TEST(Png, RowsEndingEarlyAreRefusedInRussian) {
  test::PngLayout layout{.width = 64, .height = 64, .depth = 8, .colour_type = 2};
  layout.samples.assign(64 * 64 * 3, 0);
  for (size_t i = 0; i < layout.samples.size(); ++i) layout.samples[i] = static_cast<uint16_t>(i * 7919 % 251);
  Bytes png = BuildPng(layout);
  png[20 + 3] = 65;  // height 65: one row more than the data holds
  const uLong crc = crc32(0, &png[12], 17);
  for (int i = 0; i < 4; ++i) png[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
  try {
    DecodePng(png);
    ADD_FAILURE() << "accepted";
  } catch (const SsfError& e) {
    EXPECT_NE(std::string(e.what()).find("сжатых строк меньше, чем строк в изображении"), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace ssf
