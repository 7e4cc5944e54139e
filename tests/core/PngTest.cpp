#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

#include "PictureSupport.h"
#include "theme/Png.h"
#include "theme/SsfError.h"

namespace ssf {
namespace {

// A PNG put together chunk by chunk, for the colour types, depths and interlacing that our
// writer never makes. Samples are given per channel, row-major, at the file's bit depth.
struct PngSpec {
  uint32_t width = 3;
  uint32_t height = 2;
  uint8_t depth = 8;
  uint8_t colour_type = 2;
  bool interlace = false;
  Bytes plte = {};
  Bytes trns = {};
  std::vector<uint16_t> samples = {};
};

int Channels(uint8_t colour_type) {
  switch (colour_type) {
    case 0: case 3: return 1;
    case 4: return 2;
    case 2: return 3;
    default: return 4;
  }
}

void AppendChunk(Bytes& out, const char* type, const Bytes& body) {
  out.push_back(static_cast<uint8_t>(body.size() >> 24));
  out.push_back(static_cast<uint8_t>(body.size() >> 16));
  out.push_back(static_cast<uint8_t>(body.size() >> 8));
  out.push_back(static_cast<uint8_t>(body.size()));
  Bytes typed(type, type + 4);
  typed.insert(typed.end(), body.begin(), body.end());
  out.insert(out.end(), typed.begin(), typed.end());
  const uLong crc = crc32(0, typed.data(), static_cast<uInt>(typed.size()));
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(crc >> shift));
}

// One filtered row (filter 0) of the pixels at x = x0, x0 + dx, ... of row y.
void AppendRow(Bytes& raw, const PngSpec& s, uint32_t y, uint32_t x0, uint32_t dx) {
  raw.push_back(0);
  const int channels = Channels(s.colour_type);
  uint32_t bits = 0, acc = 0;
  for (uint32_t x = x0; x < s.width; x += dx) {
    for (int c = 0; c < channels; ++c) {
      const uint16_t v = s.samples[(static_cast<size_t>(y) * s.width + x) * channels + c];
      if (s.depth == 16) {
        raw.push_back(static_cast<uint8_t>(v >> 8));
        raw.push_back(static_cast<uint8_t>(v));
      } else if (s.depth == 8) {
        raw.push_back(static_cast<uint8_t>(v));
      } else {
        acc = (acc << s.depth) | v;
        bits += s.depth;
        if (bits == 8) raw.push_back(static_cast<uint8_t>(acc)), bits = 0, acc = 0;
      }
    }
  }
  if (bits) raw.push_back(static_cast<uint8_t>(acc << (8 - bits)));
}

Bytes BuildPng(const PngSpec& s) {
  Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes ihdr(13, 0);
  for (int i = 0; i < 4; ++i) ihdr[i] = static_cast<uint8_t>(s.width >> (24 - 8 * i));
  for (int i = 0; i < 4; ++i) ihdr[4 + i] = static_cast<uint8_t>(s.height >> (24 - 8 * i));
  ihdr[8] = s.depth, ihdr[9] = s.colour_type, ihdr[12] = s.interlace ? 1 : 0;
  AppendChunk(out, "IHDR", ihdr);
  if (!s.plte.empty()) AppendChunk(out, "PLTE", s.plte);
  if (!s.trns.empty()) AppendChunk(out, "tRNS", s.trns);
  Bytes raw;  // no samples: a header-only file for the size limits
  if (s.samples.empty()) {
  } else if (!s.interlace) {
    for (uint32_t y = 0; y < s.height; ++y) AppendRow(raw, s, y, 0, 1);
  } else {
    const uint32_t passes[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4}, {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    for (const auto& p : passes) {
      if (p[0] >= s.width) continue;
      for (uint32_t y = p[1]; y < s.height; y += p[3]) AppendRow(raw, s, y, p[0], p[2]);
    }
  }
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  Bytes idat(size);
  compress(idat.data(), &size, raw.data(), static_cast<uLong>(raw.size()));
  idat.resize(size);
  AppendChunk(out, "IDAT", idat);
  AppendChunk(out, "IEND", {});
  return out;
}

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
    PngSpec spec;
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
    const PngPicture p = DecodePng(BuildPng(c.spec));
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
    }
  }
}

}  // namespace
}  // namespace ssf
