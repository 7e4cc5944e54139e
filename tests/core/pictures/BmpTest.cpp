#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <utility>
#include <string>

#include "PictureSupport.h"
#include "TestSupport.h"
#include "pictures/Bmp.h"
#include "pictures/FitPicture.h"
#include "base/SsfError.h"

namespace ssf {
namespace {

// A BMP file put together field by field, for the variants our writer never makes.
struct BmpSpec {
  uint32_t header_size = 40;
  int32_t width = 0;
  int32_t height = 0;  // negative: rows stored top-down
  uint16_t bpp = 24;
  uint32_t compression = 0;
  uint32_t colours_used = 0;
  std::vector<uint32_t> masks = {};  // red, green, blue
  Bytes palette = {};  // as stored: 4 bytes an entry (3 for a core header)
  std::vector<Bytes> rows = {};  // in file order, without padding
};

Bytes BuildBmp(const BmpSpec& s) {
  Bytes out = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  Bytes header(std::max<uint32_t>(s.header_size, 40), 0);  // fields past a short header are cut off below
  WriteU32LE(header, 0, s.header_size);
  if (s.header_size == 12) {
    WriteU16LE(header, 4, static_cast<uint16_t>(s.width));
    WriteU16LE(header, 6, static_cast<uint16_t>(s.height));
    WriteU16LE(header, 8, 1);
    WriteU16LE(header, 10, s.bpp);
  } else {
    WriteI32LE(header, 4, s.width);
    WriteI32LE(header, 8, s.height);
    WriteU16LE(header, 12, 1);
    WriteU16LE(header, 14, s.bpp);
    WriteU32LE(header, 16, s.compression);
    WriteU32LE(header, 32, s.colours_used);
    if (s.header_size >= 52) {
      for (size_t i = 0; i < s.masks.size(); ++i) WriteU32LE(header, 40 + 4 * i, s.masks[i]);
    }
  }
  header.resize(s.header_size);
  out.insert(out.end(), header.begin(), header.end());
  if (s.header_size == 40) {
    for (uint32_t m : s.masks) AppendU32LE(out, m);
  }
  out.insert(out.end(), s.palette.begin(), s.palette.end());
  WriteU32LE(out, 10, static_cast<uint32_t>(out.size()));
  for (const Bytes& row : s.rows) {
    out.insert(out.end(), row.begin(), row.end());
    out.resize((out.size() - ReadU32LE(out, 10) + 3) / 4 * 4 + ReadU32LE(out, 10), 0);
  }
  WriteU32LE(out, 2, static_cast<uint32_t>(out.size()));
  return out;
}

// Expected picture from rows of blue, green, red triples, top row first.
Image Picture(uint32_t width, const std::vector<Bytes>& rows_top_first) {
  Image image(width, static_cast<uint32_t>(rows_top_first.size()));
  for (uint32_t y = 0; y < image.height; ++y) std::copy(rows_top_first[y].begin(), rows_top_first[y].end(), image.Row(y));
  return image;
}

// The picture OpenBmpRows hands out, row by row.
Image RowsOf(ByteSpan file) {
  const std::unique_ptr<PictureRows> rows = OpenBmpRows(file);
  Image image(rows->Width(), rows->Height());
  for (uint32_t y = 0; y < image.height; ++y) {
    const uint8_t* bgr = nullptr;
    const uint8_t* alpha = nullptr;
    rows->Row(y, &bgr, &alpha);
    EXPECT_EQ(alpha, nullptr);
    std::copy_n(bgr, static_cast<size_t>(image.width) * 3, image.Row(y));
  }
  return image;
}

const Bytes kPalette4 = {0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF, 0, 0, 0x10, 0x20, 0x30, 0};  // black, blue, green, 30/20/10

TEST(Bmp, ReadsTheVariantsOfOtherWriters) {
  struct Case {
    const char* name;
    BmpSpec layout;
    Image expected;
  };
  const Image two_by_two = Picture(2, {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}});
  const Case cases[] = {
      {"24-bit top-down", {.width = 2, .height = -2, .bpp = 24, .rows = {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}}}, two_by_two},
      {"24-bit OS/2 core header", {.header_size = 12, .width = 2, .height = 2, .bpp = 24, .rows = {{7, 8, 9, 10, 11, 12}, {1, 2, 3, 4, 5, 6}}}, two_by_two},
      {"32-bit, fourth byte dropped", {.width = 2, .height = 2, .bpp = 32, .rows = {{7, 8, 9, 0x80, 10, 11, 12, 0}, {1, 2, 3, 0xFF, 4, 5, 6, 9}}}, two_by_two},
      {"32-bit bitfields, red in the top byte",
       {.width = 2, .height = 2, .bpp = 32, .compression = 3, .masks = {0xFF000000, 0x00FF0000, 0x0000FF00},
        .rows = {{0, 7, 8, 9, 0, 10, 11, 12}, {0, 1, 2, 3, 0, 4, 5, 6}}},
       two_by_two},
      // 5-5-5: 0x7C00 red, 0x03E0 green, 0x0200 green 16 of 31 (132 when scaled), 0x0001 blue 1.
      {"16-bit 5-5-5", {.width = 2, .height = 2, .bpp = 16, .rows = {{0x00, 0x02, 0x01, 0x00}, {0x00, 0x7C, 0xE0, 0x03}}},
       Picture(2, {{0, 0, 255, 0, 255, 0}, {0, 132, 0, 8, 0, 0}})},
      {"16-bit bitfields 5-6-5 in a V5 header",
       {.header_size = 124, .width = 2, .height = 1, .bpp = 16, .compression = 3, .masks = {0xF800, 0x07E0, 0x001F},
        .rows = {{0x00, 0xF8, 0x20, 0x00}}},
       Picture(2, {{0, 0, 255, 0, 4, 0}})},
      {"8-bit palette, 4 colours used", {.width = 3, .height = 1, .bpp = 8, .colours_used = 4, .palette = kPalette4, .rows = {{3, 1, 2}}},
       Picture(3, {{0x10, 0x20, 0x30, 0xFF, 0, 0, 0, 0xFF, 0}})},
      {"4-bit palette, odd width", {.width = 3, .height = 1, .bpp = 4, .colours_used = 4, .palette = kPalette4, .rows = {{0x13, 0x20}}},
       Picture(3, {{0xFF, 0, 0, 0x10, 0x20, 0x30, 0, 0xFF, 0}})},
      {"1-bit palette across a byte", {.width = 9, .height = 1, .bpp = 1, .palette = {0, 0, 0, 0, 9, 8, 7, 0}, .rows = {{0x81, 0x80}}},
       Picture(9, {{9, 8, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9, 8, 7, 9, 8, 7}})},
      // A delta moves the pen right and up the stored rows (down the stored order, so up
      // on screen); the pixels it skips stay black.
      {"RLE8 delta right and up a row",
       {.width = 3, .height = 3, .bpp = 8, .compression = 1, .colours_used = 4, .palette = kPalette4,
        .rows = {{1, 1, 0, 2, 1, 1, 1, 2, 0, 0, 3, 3, 0, 1}}},
       Picture(3, {{0x10, 0x20, 0x30, 0x10, 0x20, 0x30, 0x10, 0x20, 0x30}, {0, 0, 0, 0, 0, 0, 0, 0xFF, 0}, {0xFF, 0, 0, 0, 0, 0, 0, 0, 0}})},
      {"RLE4 delta straight up two rows",
       {.width = 2, .height = 3, .bpp = 4, .compression = 2, .colours_used = 4, .palette = kPalette4,
        .rows = {{0, 2, 1, 2, 1, 0x20, 0, 1}}},
       Picture(2, {{0, 0, 0, 0, 0xFF, 0}, {0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}})},
      {"index past a short palette is black", {.width = 1, .height = 1, .bpp = 8, .colours_used = 2, .palette = {1, 2, 3, 0, 4, 5, 6, 0}, .rows = {{200}}},
       Picture(1, {{0, 0, 0}})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes file = BuildBmp(c.layout);
    EXPECT_EQ(DecodeBmp(file), c.expected);
    EXPECT_EQ(RowsOf(file), c.expected) << "row by row";
  }
}

// Fitting reads a large file row by row; the result is the one made from the whole picture,
// in every mode, shrinking and growing, and at the picture's own size.
TEST(Bmp, FittingFromRowsEqualsFittingTheDecodedPicture) {
  const std::filesystem::path dir = std::filesystem::path(SSF_SOURCE_DIR) / "tests" / "data" / "pictures";
  const Bytes files[] = {test::ReadFile(dir / "rle8-runs.bmp"), test::ReadFile(dir / "rle4-runs.bmp"),
                         test::ReadFile(dir / "os2v2-64-palette.bmp"), EncodeBmp(test::Gradient(37, 23))};
  for (const Bytes& file : files) {
    const Image whole = DecodeBmp(file);
    EXPECT_EQ(RowsOf(file), whole);
    for (FitMode mode : {FitMode::kCrop, FitMode::kPad, FitMode::kStretch}) {
      for (auto [w, h] : {std::pair{10u, 4u}, std::pair{3u, 40u}, std::pair{whole.width, whole.height}}) {
        SCOPED_TRACE(std::string(FitModeName(mode)) + " " + std::to_string(w) + "x" + std::to_string(h));
        const std::unique_ptr<PictureRows> rows = OpenBmpRows(file);
        EXPECT_EQ(FitPicture(*rows, w, h, mode), FitPicture(whole, w, h, mode));
      }
    }
  }
}

TEST(Bmp, WriterMakesBottomUp24BitThatReadsBack) {
  for (uint32_t width : {1u, 2u, 3u, 4u, 5u, 17u}) {  // every row padding
    Image image = test::Gradient(width, 3, /*with_alpha=*/true);
    const Bytes bmp = EncodeBmp(image);
    EXPECT_EQ(ReadU16LE(bmp, 28), 24);
    EXPECT_GT(ReadI32LE(bmp, 22), 0) << "bottom-up";
    EXPECT_EQ(bmp.size(), 54 + (width * 3 + 3) / 4 * 4 * 3);
    image.alpha.clear();  // the writer ignores alpha
    EXPECT_EQ(DecodeBmp(bmp), image) << width;
  }
  EXPECT_EQ(DecodeBmp(EncodeBmp(Image(0, 0))), Image(0, 0));
  EXPECT_EQ(DecodeBmp(EncodeBmp(Image(0, 5))), Image(0, 5)) << "rows without columns";
}

TEST(Bmp, RefusesDamagedAndUnsupportedFiles) {
  const Bytes good = EncodeBmp(test::Gradient(5, 4));
  Bytes huge = good;
  WriteI32LE(huge, 18, 20000);
  Bytes many = good;
  WriteI32LE(many, 18, 16384), WriteI32LE(many, 22, 16384);  // 256 megapixels: over the limit
  Bytes bad_header = good;
  WriteU32LE(bad_header, 14, 100);
  Bytes rows_past_end = good;
  WriteU32LE(rows_past_end, 10, 0xFFFFFFF0);
  Bytes bad_mask = BuildBmp({.width = 1, .height = 1, .bpp = 16, .compression = 3, .masks = {0xF00F, 0x07E0, 0x001F}, .rows = {{0, 0}}});
  // A palette file of `bpp` bits, `width` x 2, rows as the one stream given (the builder pads it to
  // four bytes with zeros: a harmless end of line); the stream starts at offset 58.
  auto Rle = [](uint16_t bpp, int32_t width, Bytes stream) {
    return BuildBmp({.width = width, .height = 2, .bpp = bpp, .compression = bpp == 8 ? 1u : 2u, .colours_used = 1,
                     .palette = {0, 0, 0, 0}, .rows = {std::move(stream)}});
  };
  Bytes rle_cut = Rle(8, 2, {2, 0, 0, 0});  // one row, its end of line, then nothing
  struct Case {
    const char* name;
    Bytes data;
    const char* message_part;
  };
  const Case cases[] = {
      {"empty", {}, "BM"},
      {"not a BMP", Bytes{'P', 'K', 3, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "BM"},
      {"cut in the header", Bytes(good.begin(), good.begin() + 30), "обрезан"},
      {"cut in the rows", Bytes(good.begin(), good.end() - 4), "обрезан"},
      {"pixel offset past the end", rows_past_end, "обрезан"},
      {"unknown header size", bad_header, "100"},
      {"RLE8 run past the end of the row", Rle(8, 1, {5, 1, 0, 1}), "смещению 58: серия из 5"},
      {"RLE4 run past the end of the row", Rle(4, 2, {2, 0x11, 0, 0, 9, 0x11}), "смещению 62: серия из 9"},
      {"RLE8 absolute run past the end of the row", Rle(8, 2, {1, 1, 0, 4, 1, 1, 1, 1}), "смещению 60: серия из 4"},
      {"RLE delta past the last row", Rle(8, 2, {0, 2, 0, 3}), "сдвиг"},
      {"RLE delta past the row end", Rle(8, 2, {0, 2, 5, 0}), "сдвиг"},
      {"RLE cut short before the last row", rle_cut, "обрезан в сжатых строках"},
      {"RLE absolute run cut short", Rle(8, 4, {0, 3, 1}), "обрезан в сжатых строках"},
      {"RLE8 at 4 bits", BuildBmp({.width = 1, .height = 1, .bpp = 4, .compression = 1, .palette = {0, 0, 0, 0}, .rows = {{0, 1}}}), "RLE8"},
      {"RLE rows top-down", BuildBmp({.width = 1, .height = -1, .bpp = 8, .compression = 1, .palette = {0, 0, 0, 0}, .rows = {{0, 1}}}), "сверху вниз"},
      {"OS/2 Huffman", BuildBmp({.header_size = 64, .width = 8, .height = 1, .bpp = 1, .compression = 3, .rows = {{0}}}), "Хаффмана"},
      {"header of 14 bytes", BuildBmp({.header_size = 14, .width = 1, .height = 1, .rows = {{0, 0, 0}}}), "14"},
      {"2 bits per pixel", BuildBmp({.width = 1, .height = 1, .bpp = 2, .rows = {{0}}}), "2 бит"},
      {"bitfields on a palette file", BuildBmp({.width = 1, .height = 1, .bpp = 8, .compression = 3, .masks = {1, 2, 4}, .rows = {{0}}}), "маски"},
      {"broken mask", bad_mask, "маска"},
      {"side over the limit", huge, "Слишком большое"},
      {"too many pixels", many, "Слишком большое"},
      // 54 bytes claiming 16384x4096: refused for its length before 192 MB are allocated.
      {"header only, huge size", [] {
         Bytes b = EncodeBmp(test::Gradient(1, 1));
         b.resize(54);
         WriteI32LE(b, 18, 16384), WriteI32LE(b, 22, 4096);
         return b;
       }(), "обрезан"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      DecodeBmp(c.data);
      ADD_FAILURE() << "accepted";
    } catch (const SsfError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message_part), std::string::npos) << e.what();
    }
  }
}

// ImageMagick, where installed, writes BMP variants that we read and compare with its own
// reading of the same file.
TEST(Bmp, AgreesWithImageMagickOnItsVariants) {
  if (std::system("command -v convert >/dev/null 2>&1") != 0) GTEST_SKIP() << "ImageMagick not installed";
  test::TempDir dir;
  const std::string src = (dir / "src.bmp").string();
  test::WriteFile(src, EncodeBmp(test::Gradient(13, 7)));
  const struct {
    const char* args;
    int tolerance;  // 16-bit files: ImageMagick scales 5 bits by rounding, we repeat bits
  } variants[] = {
      {"BMP3:", 0}, {"-type Palette BMP3:", 0}, {"-type Bilevel BMP3:", 0}, {"BMP2:", 0},
      {"-define bmp:subtype=RGB565 BMP:", 1}, {"-define bmp:subtype=RGB555 BMP:", 1}, {"-type TrueColorAlpha BMP:", 0},
  };
  for (const auto& v : variants) {
    SCOPED_TRACE(v.args);
    const std::string out = (dir / "v.bmp").string();
    const std::string ppm = (dir / "v.ppm").string();
    ASSERT_EQ(std::system(("convert " + src + " -compress None " + v.args + out + " && convert " + out + " -depth 8 ppm:" + ppm).c_str()), 0);
    const Image ours = DecodeBmp(test::ReadFile(out));
    const Image theirs = test::ReadPpm(test::ReadFile(ppm));
    ASSERT_EQ(ours.width, theirs.width);
    ASSERT_EQ(ours.height, theirs.height);
    for (size_t i = 0; i < ours.bgr.size(); ++i) {
      ASSERT_LE(std::abs(ours.bgr[i] - theirs.bgr[i]), v.tolerance) << "byte " << i;
    }
  }
}

}  // namespace
}  // namespace ssf
