#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <set>
#include <string>

#include "ifeg/Ifeg.h"
#include "ifeg/IfegBits.h"
#include "ifeg/IfegTables.h"
#include "base/SsfError.h"

namespace ssf {
namespace {

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

const Bytes kHeader1x1Mode1 = {'I', 'F', 'E', 'G', 1, 0, 1, 0, 1, 0, 0, 0x65};
const Bytes kWhite1x1Mode1 = Concat({kHeader1x1Mode1, {0x12, 0, 0, 0, 0x1C, 0x00, 0xFF, 0xFF}});
const Bytes kWhite1x1Mode2 = {'I', 'F', 'E', 'G', 1, 0, 1, 0, 2, 0, 0, 0x0A, 0x1F, 0xFF, 0xFF};
const Bytes k2x2Mode1 = {'I', 'F', 'E', 'G', 2, 0, 2, 0, 1, 0, 0, 0x65, 0x14, 0, 0, 0,
                         0x1C, 0x17, 0x16, 0x00, 0x00, 0x00, 0x20, 0x00};
const Bytes k5x2BlackMode1 = {'I', 'F', 'E', 'G', 5, 0, 2, 0, 1, 0, 0, 0x65, 20, 0, 0, 0,
                              0x1F, 0xBF, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00};

// The worked examples: our encoder writes exactly these bytes, and they decode back.
TEST(IfegExamples, EncodeAndDecodeByteForByte) {
  struct Case {
    const char* name;
    uint32_t width, height, mode;
    std::vector<uint32_t> values;
    Bytes bytes;
  };
  const Case cases[] = {
      {"1x1 white, mode 1", 1, 1, 1, {0xFFFF}, kWhite1x1Mode1},
      {"1x1 white, mode 2", 1, 1, 2, {0x3FFFF}, kWhite1x1Mode2},
      {"2x2, mode 1", 2, 2, 1, {0x0000, 0x0800, 0x0020, 0x0021}, k2x2Mode1},
      {"5x2 black, mode 1", 5, 2, 1, std::vector<uint32_t>(10, 0), k5x2BlackMode1},
      {"empty, mode 1", 0, 0, 1, {}, {'I', 'F', 'E', 'G', 0, 0, 0, 0, 1, 0, 0, 0x65, 17, 0, 0, 0, 0}},
      {"empty, mode 2", 7, 0, 2, {}, {'I', 'F', 'E', 'G', 7, 0, 0, 0, 2, 0, 0, 0x0A}},
      {"empty, mode 3", 0, 3, 3, {}, {'I', 'F', 'E', 'G', 0, 0, 3, 0, 3, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(EncodeIFGPacked(c.width, c.height, c.mode, c.values), c.bytes);
    IfgPacked d = DecodeIFGPacked(c.bytes);
    EXPECT_EQ(d.header.width, c.width);
    EXPECT_EQ(d.header.height, c.height);
    EXPECT_EQ(d.header.mode, c.mode);
    EXPECT_EQ(d.values, c.values);
    const IfgPacked summary = DecodeIFGSummary(c.bytes);
    EXPECT_EQ(summary.header.width, c.width);
    EXPECT_EQ(summary.consumed, d.consumed);
    EXPECT_EQ(summary.escapes, d.escapes);
    EXPECT_TRUE(summary.values.empty());
  }
}

// The largest picture in 1 MB: one block of copies, then blocks that repeat the pixel
// before. `ifeg info` and the check read it through without holding its 64 M values.
TEST(IfegExamples, SummaryOfALargePictureKeepsNoValues) {
  const uint32_t w = 16384, h = 4096;
  Bytes data = {'I', 'F', 'E', 'G', 0, 0x40, 0, 0x10, 2, 0, 0, 0, 0x3F};
  data.resize(data.size() + (w / 4) * (h / 4) / 4 + 8, 0xFF);
  const IfgPacked summary = DecodeIFGSummary(data);
  EXPECT_EQ(summary.header.width, w);
  EXPECT_EQ(summary.header.height, h);
  EXPECT_EQ(summary.escapes, 0u);
  EXPECT_TRUE(summary.values.empty());
}

TEST(IfegExamples, DecodeToPictureWithRoundingScale) {
  Image white(1, 1);
  white.bgr = {0xFF, 0xFF, 0xFF};
  for (const Bytes* data : {&kWhite1x1Mode1, &kWhite1x1Mode2}) {
    Image pic;
    IfgHeader h;
    EXPECT_EQ(DecodeIFG(*data, pic, &h), data == &kWhite1x1Mode1 ? 20u : 16u);  // mode 2 counts the look-ahead
    EXPECT_EQ(pic, white);
    EXPECT_EQ(h.Bits(), data == &kWhite1x1Mode1 ? 16u : 18u);
    EXPECT_EQ(EncodeIFG(white, h.Bits(), h.mode), *data);
  }

  Image pic;
  DecodeIFG(k2x2Mode1, pic);
  // Red, green, blue of 000000, 080000 / 000400, 000408, stored blue first.
  EXPECT_EQ(pic.bgr, (Bytes{0, 0, 0, 0, 0, 8, 0, 4, 0, 8, 4, 0}));
  EXPECT_EQ(EncodeIFG(pic), k2x2Mode1);

  Image empty;
  EXPECT_EQ(DecodeIFG(Bytes{'I', 'F', 'E', 'G', 0, 0, 9, 0, 2, 0, 0, 0}, empty), 13u);
  EXPECT_EQ(empty.PixelCount(), 0u);
  EXPECT_EQ(empty.height, 9u);
}

TEST(IfegEncode, ReducesChannelsToTheNearestValue) {
  Image pic(3, 1);
  pic.bgr = {4, 4, 4, 8, 127, 128, 255, 0, 1};
  EXPECT_EQ(DecodeIFGPacked(EncodeIFG(pic, 16, 1)).values,
            (std::vector<uint32_t>{1u << 5, 1 | 31u << 5 | 16u << 11, 31}));
  EXPECT_EQ(DecodeIFGPacked(EncodeIFG(pic, 18, 2)).values,
            (std::vector<uint32_t>{1 | 1u << 6 | 1u << 12, 2 | 31u << 6 | 32u << 12, 63}));
}

TEST(IfegEncode, BitsAndModeAgree) {
  Image pic(1, 1);
  EXPECT_EQ(EncodeIFG(pic, 16, 2)[8], 1);  // 16 bits forces mode 1
  EXPECT_EQ(EncodeIFG(pic, 18, 0)[8], 1);  // mode 0 is mode 1
  EXPECT_EQ(EncodeIFG(pic, 18, 3)[8], 3);
  EXPECT_EQ(EncodeIFG(pic, 24, 2)[8], 2);
  EXPECT_EQ(EncodeIFG(pic)[10], 0);        // always the plain table
  EXPECT_THROW(EncodeIFG(pic, 18, 4), SsfError);
  EXPECT_THROW(EncodeIFGPacked(1, 1, 0, std::vector<uint32_t>{0}), SsfError);
}

TEST(IfegEncode, RefusesSidesAbove65535) {
  std::vector<uint32_t> row(65536, 0);
  try {
    EncodeIFGPacked(65536, 1, 1, row);
    FAIL() << "no error";
  } catch (const SsfError& e) {
    EXPECT_NE(std::string(e.what()).find("65535"), std::string::npos) << e.what();
  }
  EXPECT_THROW(EncodeIFGPacked(1, 65536, 2, row), SsfError);
  const Bytes widest = EncodeIFGPacked(65535, 1, 1, std::span(row).first(65535));
  EXPECT_EQ(ReadU16LE(widest, 4), 65535);
}

// A difference that only matches a table entry modulo 65536 must be escaped: the
// decoder's wrap-around would give the same value, but we write only plain differences.
TEST(IfegEncode, EscapesDifferencesThatOnlyWrap) {
  IfgPacked d = DecodeIFGPacked(EncodeIFGPacked(2, 1, 1, std::vector<uint32_t>{0xFFFF, 0x0000}));
  EXPECT_EQ(d.escapes, 2u);
  EXPECT_EQ(d.values, (std::vector<uint32_t>{0xFFFF, 0}));
}

// 8x8 with identical rows of unrelated values: only prediction from above pays. Blocks
// in the first block row must still use the left prediction (16 escapes each), those in
// the first column use the up prediction, and the inner block picks it by cost.
TEST(IfegEncode, PositionRulesThenCheapestPrediction) {
  const uint32_t row[8] = {0x1234, 0x8765, 0x0F0F, 0xF0F0, 0x5A5A, 0xA5A5, 0x3C3C, 0xC3C3};
  std::vector<uint32_t> v;
  for (int y = 0; y < 8; ++y) v.insert(v.end(), row, row + 8);
  IfgPacked d = DecodeIFGPacked(EncodeIFGPacked(8, 8, 1, v));
  EXPECT_EQ(d.values, v);
  EXPECT_EQ(d.escapes, 32u);
}

// Mode 1 data as the encoder lays it out: header, bit stream, one zero byte, escape area.
Bytes Mode1Data(uint16_t width, uint16_t height, const Bytes& stream, const std::vector<uint32_t>& escapes) {
  Bytes out = {'I', 'F', 'E', 'G', 0, 0, 0, 0, 1, 0, 0, 0x65, 0, 0, 0, 0};
  WriteU16LE(out, 4, width);
  WriteU16LE(out, 6, height);
  WriteU32LE(out, 12, static_cast<uint32_t>(16 + stream.size() + 1));
  out.insert(out.end(), stream.begin(), stream.end());
  out.push_back(0);
  for (uint32_t v : escapes) out.insert(out.end(), {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)});
  return out;
}

// Values in block order (blocks of 4x4 from the top left, row-major inside each block).
std::vector<uint32_t> InBlockOrder(const std::vector<uint32_t>& v, uint32_t width, uint32_t height) {
  std::vector<uint32_t> out;
  for (uint32_t by = 0; by < height; by += 4) {
    for (uint32_t bx = 0; bx < width; bx += 4) {
      for (uint32_t y = by; y < std::min(by + 4, height); ++y) {
        for (uint32_t x = bx; x < std::min(bx + 4, width); ++x) out.push_back(v[y * width + x]);
      }
    }
  }
  return out;
}

// Eight RGB565 levels 9000 apart: no two differ by an entry of the table (|entry| <= 8288),
// so a prediction from another level can only escape.
uint32_t Level(int k) { return 1000 + 9000 * static_cast<uint32_t>(((k % 8) + 8) % 8); }

TEST(IfegEncode, LevelsAreFurtherApartThanAnyTableEntry) {
  for (int32_t entry : LoadDeltaTable(false)) ASSERT_LT(std::abs(entry), 9000);
}

// Every prediction misses, so all three candidates of the inner block escape all sixteen
// pixels at the same cost: the tie keeps block code 0. The position rules give codes 0, 0
// and 1 to the other blocks.
TEST(IfegEncode, EqualCostKeepsTheLowerBlockCode) {
  std::vector<uint32_t> v;
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) v.push_back(Level(x + 3 * y));  // left, up, up-left: other levels
  }
  IfgBitWriter w;
  for (uint32_t code : {0u, 0u, 1u, 0u}) {
    w.Put(code, 2);
    for (int i = 0; i < 16; ++i) w.Put(0b0111, 4);
  }
  EXPECT_EQ(EncodeIFGPacked(8, 8, 1, v), Mode1Data(8, 8, w.Finish(), InBlockOrder(v, 8, 8)));
}

// v[y][x] = f(x - y): inside the picture every pixel equals its up-left neighbour, so the
// inner blocks cost 18 bits with code 2; left and up see another level and escape.
TEST(IfegEncode, DiagonalPictureTakesUpLeftPredictionInside) {
  const uint32_t width = 12, height = 8;
  std::vector<uint32_t> v;
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) v.push_back(Level(static_cast<int>(x) - static_cast<int>(y)));
  }
  IfgBitWriter w;
  std::vector<uint32_t> escapes;
  const std::vector<uint32_t> blocks = InBlockOrder(v, width, height);
  for (int b = 0; b < 6; ++b) {
    const bool inner = b > 3;
    w.Put(inner ? 2 : b == 3 ? 1 : 0, 2);  // first row 0; first column 1; inside 2
    for (int i = 0; i < 16; ++i) {
      if (inner) {
        w.Put(1, 1);
      } else {
        w.Put(0b0111, 4);
        escapes.push_back(blocks[static_cast<size_t>(b * 16 + i)]);
      }
    }
  }
  const Bytes data = EncodeIFGPacked(width, height, 1, v);
  EXPECT_EQ(data, Mode1Data(width, height, w.Finish(), escapes));
  EXPECT_EQ(DecodeIFGPacked(data).values, v);
}

std::vector<uint32_t> RandomPicture(std::mt19937& rng, uint32_t w, uint32_t h, uint32_t mode,
                                    const DeltaTable& table) {
  const uint32_t mask = mode == 1 ? 0xFFFF : 0x3FFFF;
  std::vector<uint32_t> v(static_cast<size_t>(w) * h);
  uint32_t cur = rng() & mask;
  for (uint32_t& x : v) {
    switch (rng() % 6) {
      case 0: cur = rng() & mask; break;                                 // escape
      case 1: case 2: cur = (cur + table[4 + rng() % 16]) & mask; break;  // table step
      default: break;                                                      // copy / row fill
    }
    x = cur;
  }
  return v;
}

TEST(IfegRoundTrip, RandomPicturesOfOddSizesInAllModes) {
  std::mt19937 rng(4711);
  for (uint32_t mode = 1; mode <= 3; ++mode) {
    const DeltaTable table = LoadDeltaTable(mode != 1);
    for (uint32_t w = 1; w <= 67; ++w) {
      for (uint32_t h = 1; h <= 45; h += (w % 7 == 0 ? 1 : 11)) {
        std::vector<uint32_t> v = RandomPicture(rng, w, h, mode, table);
        Bytes data = EncodeIFGPacked(w, h, mode, v);
        IfgPacked d = DecodeIFGPacked(data);
        ASSERT_EQ(d.values, v) << w << "x" << h << " mode " << mode;
        if (mode == 1) {
          ASSERT_EQ(d.consumed, data.size());
        }
        ASSERT_LE(d.consumed, data.size() + 3);
      }
    }
  }
}

TEST(IfegRoundTrip, PictureComesBackThroughTheScales) {
  std::mt19937 rng(99);
  Image pic(37, 23);
  for (uint8_t& b : pic.bgr) b = static_cast<uint8_t>(rng());
  for (uint32_t mode : {1u, 2u, 3u}) {
    Image once, twice;
    DecodeIFG(EncodeIFG(pic, 0, mode), once);
    DecodeIFG(EncodeIFG(once, 0, mode), twice);
    EXPECT_EQ(once, twice) << "mode " << mode;  // decoded colours are fixed points
  }
}

TEST(IfegTables, LayoutOfTheEmbeddedTables) {
  const Bytes ifg16 = *LoadTableResource("IFG16");
  const Bytes ifg18 = *LoadTableResource("IFG18");
  ASSERT_EQ(ifg16.size(), 4096u);
  ASSERT_EQ(ifg18.size(), 2048u);
  EXPECT_FALSE(LoadTableResource("IFG17"));

  const DeltaTable t16 = LoadDeltaTable(false), t18 = LoadDeltaTable(true);
  const int32_t fixed16[] = {-2048, 2048, -32, 32, 2080, -2080, -1, 1,
                             -33, 33, -64, 64, -4096, 4096, 2112, -2112};
  const int32_t fixed18[] = {-4096, 4096, -64, 64, -1, 1, 4160, -4160,
                             -65, 65, 4161, -4161, -8192, 4097, -4097, 8192};
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(t16[4 + i], fixed16[i]);
    EXPECT_EQ(t18[4 + i], fixed18[i]);
  }
  for (const DeltaTable* t : {&t16, &t18}) {
    for (int i = 0; i < 4; ++i) EXPECT_EQ((*t)[i], 0);
    std::set<int32_t> distinct((*t).begin() + 4, (*t).end());
    EXPECT_EQ(distinct.size(), 508u);
    EXPECT_FALSE(distinct.count(0));
  }
  const int32_t tail[] = {2, -1, 4, 6};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(ReadI32LE(ifg16, 4080 + 4 * i), tail[i]);
  const DeltaTable doubled = LoadDeltaTable(false, true);
  for (int i = 4; i < 512; ++i) ASSERT_EQ(doubled[i], 2 * t16[i]) << i;
}

TEST(IfegDecode, TableSelectTwoDoublesEveryDifference) {
  Bytes data = k2x2Mode1;
  data[10] = 2;
  EXPECT_EQ(DecodeIFGPacked(data).values, (std::vector<uint32_t>{0x0000, 0x1000, 0x0020, 0x0022}));
  data[10] = 3;  // any other value: the plain table
  EXPECT_EQ(DecodeIFGPacked(data).values, (std::vector<uint32_t>{0x0000, 0x0800, 0x0020, 0x0021}));
}

// Predictions read the working buffer by linear index: nothing before index 0 (zero),
// and column 0 predicts "left" from the last pixel of the row above.
TEST(IfegDecode, PredictionByLinearIndex) {
  const Bytes head1x1 = {'I', 'F', 'E', 'G', 1, 0, 1, 0, 2, 0, 0, 0};
  EXPECT_EQ(DecodeIFGPacked(Concat({head1x1, {0x60}})).values[0], 0u);     // 01 1: up, copy
  EXPECT_EQ(DecodeIFGPacked(Concat({head1x1, {0x81}})).values[0], 4096u);  // 10 0000 01: up-left + entry 5
  // 2x2, code 0: escape 0x2A5A5, then copy, copy, copy. Pixel (0,1) copies pixel (1,0).
  // 00 0111 10 1010 0101 1010 0101 1 1 1 -> 0001 1110 1010 0101 1010 0101 1110 0000
  const Bytes head2x2 = {'I', 'F', 'E', 'G', 2, 0, 2, 0, 3, 0, 0, 0};
  EXPECT_EQ(DecodeIFGPacked(Concat({head2x2, {0x1E, 0xA5, 0xA5, 0xE0}})).values,
            std::vector<uint32_t>(4, 0x2A5A5));
}

// Block code 2 predicts from linear index i - (W + 1). In a 2x5 picture the second block
// row's pixels (0,4) and (1,4) read indices 5 and 6; left (7, 8) and up (6, 7) differ.
TEST(IfegDecode, UpLeftPredictionReadsIndexMinusWidthPlusOne) {
  IfgBitWriter w;
  w.Put(0, 2);              // block (0,0): left
  w.Put(1, 1);              // 0: copy of nothing -> 0
  w.Put(0b000001, 6);       // 1: 0 + entry 5 (4096) -> 4096
  w.Put(1, 1);              // 2: copy of 1 -> 4096
  w.Put(0b000011, 6);       // 3: + entry 7 (64) -> 4160
  w.Put(1, 1);              // 4: copy -> 4160
  w.Put(0b0001001, 7);      // 5: + entry 9 (1) -> 4161
  w.Put(0b000000, 6);       // 6: + entry 4 (-4096) -> 65
  w.Put((7u << 18) | 0x3FFFF, 22);  // 7: escape -> 0x3FFFF
  w.Put(2, 2);              // block (0,1): up-left
  w.Put(1, 1);              // 8: copy of 5 -> 4161
  w.Put(0b000010, 6);       // 9: 6 + entry 6 (-64) -> 1
  const Bytes data = Concat({{'I', 'F', 'E', 'G', 2, 0, 5, 0, 2, 0, 0, 0x0A}, w.Finish()});
  EXPECT_EQ(DecodeIFGPacked(data).values,
            (std::vector<uint32_t>{0, 4096, 4096, 4160, 4160, 4161, 65, 0x3FFFF, 4161, 1}));
}

// A pixel not decoded yet reads as 0, also far down a tall picture: a left prediction in
// column 0 reads the end of the row above, which belongs to the block to the right.
TEST(IfegDecode, PixelsNotYetDecodedPredictZero) {
  const uint32_t X = 0x15A5A;
  IfgBitWriter w;
  auto copies = [&](int n) { for (int i = 0; i < n; ++i) w.Put(1, 1); };
  w.Put(0, 2);  // block 0,0: left; column 0 escaped as X, the rest copies
  for (int y = 0; y < 4; ++y) {
    w.Put((7u << 18) | X, 22);
    copies(3);
  }
  w.Put(3, 2);  // block 1,0: row fill
  w.Put(1, 2);  // block 0,1: up, all copies
  copies(16);
  w.Put(3, 2);  // block 1,1: row fill -> rows 0..7 are all X
  w.Put(0, 2);  // block 0,2: left, all copies
  copies(16);
  w.Put(3, 2);  // block 1,2: row fill
  Bytes data = Concat({{'I', 'F', 'E', 'G', 5, 0, 12, 0, 2, 0, 0, 0}, w.Finish()});

  std::vector<uint32_t> expected(5 * 12, 0);
  std::fill_n(expected.begin(), 5 * 9, X);  // rows 0..8; rows 9..11 copy unread zeros
  EXPECT_EQ(DecodeIFGPacked(data).values, expected);
}

TEST(IfegDecode, NotIfegLeavesThePictureAlone) {
  Image pic(2, 1);
  pic.bgr = {1, 2, 3, 4, 5, 6};
  const Image before = pic;
  EXPECT_EQ(DecodeIFG(Bytes{'I', 'F', 'E'}, pic), 0u);
  EXPECT_EQ(DecodeIFG(Bytes{'i', 'f', 'e', 'g', 1, 0, 1, 0, 2, 0, 0, 0, 0x1F}, pic), 0u);
  EXPECT_EQ(pic, before);
}

Bytes With(Bytes data, size_t offset, uint8_t value) {
  data[offset] = value;
  return data;
}

Bytes Cut(Bytes data, size_t count) {
  data.resize(data.size() - count);
  return data;
}

// Damaged data: a clear error naming the fault and its offset, never a read outside the
// data (the sanitizer build checks that), and the caller's picture untouched.
TEST(IfegDecode, DamagedDataIsReportedWithItsOffset) {
  struct Case {
    const char* name;
    Bytes data;
    const char* message;
  };
  const Case cases[] = {
      {"header cut", {'I', 'F', 'E', 'G', 1, 0, 1, 0}, "заголовок обрывается (смещение 8)"},
      {"mode 1 header cut", Cut(kWhite1x1Mode1, 6), "заголовок обрывается (смещение 14)"},
      {"mode 0", With(kWhite1x1Mode2, 8, 0), "неизвестный режим 0 (смещение 8)"},
      {"mode 4", With(kWhite1x1Mode2, 8, 4), "неизвестный режим 4 (смещение 8)"},
      {"stream ends early", Cut(kWhite1x1Mode2, 1), "данные кончились раньше последней точки, блок 0,0 (смещение 14)"},
      {"no stream at all", Cut(kWhite1x1Mode2, 3), "данные кончились раньше последней точки: 1 блоков, поток 0 байт (смещение 12)"},
      {"huge header, tiny stream",
       Concat({{'I', 'F', 'E', 'G', 0, 0x40, 0, 0x40, 2, 0, 0, 0}, Bytes(64, 0)}),
       "16777216 блоков, поток 64 байт (смещение 76)"},
      {"escape area past the end", With(k2x2Mode1, 12, 25), "область замен по смещению 25 вне данных из 24 байт (смещение 12)"},
      {"escape area inside the header", With(k2x2Mode1, 12, 15), "область замен по смещению 15"},
      {"escape count past the end", Cut(k2x2Mode1, 1), "область замен кончилась на замене 2 (смещение 22)"},
      {"escapes start at the very end", With(kWhite1x1Mode1, 12, 20), "область замен кончилась на замене 1 (смещение 20)"},
      {"row fill in the first block", {'I', 'F', 'E', 'G', 1, 0, 1, 0, 2, 0, 0, 0, 0xC0},
       "заполнение строк в первом блоке (смещение 12)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Image pic(1, 1);
    try {
      DecodeIFG(c.data, pic);
      ADD_FAILURE() << "no error";
    } catch (const SsfError& e) {
      std::string msg = e.what();
      EXPECT_EQ(msg.rfind("повреждённые данные IFEG: ", 0), 0u) << msg;
      EXPECT_NE(msg.find(c.message), std::string::npos) << msg;
    }
    EXPECT_EQ(pic, Image(1, 1));
  }
}

TEST(IfegDecode, HeaderBeyondThePictureLimitsIsRefused) {
  // 20000 x 1 in mode 2 with enough bytes for the block codes: refused by the size limit.
  Bytes data = Concat({{'I', 'F', 'E', 'G', 0x20, 0x4E, 1, 0, 2, 0, 0, 0}, Bytes(1300, 0)});
  EXPECT_THROW(DecodeIFGPacked(data), SsfError);
}

TEST(IfegBits, WriterAndReaderAgreeMostSignificantFirst) {
  IfgBitWriter w;
  w.Put(0b1, 1);
  w.Put(0b0110, 4);
  w.Put(0x3FFFF, 18);
  w.Put(0xFFFFFFFF, 32);
  EXPECT_EQ(w.BitCount(), 55u);
  const Bytes bytes = w.Finish();
  EXPECT_EQ(bytes, (Bytes{0xB7, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE}));

  IfgBitReader r(bytes, 0);
  r.Need(24);
  EXPECT_EQ(r.Take(5), 0b10110u);
  EXPECT_EQ(r.Take(18), 0x3FFFFu);
  r.Need(24);
  EXPECT_EQ(r.Take(24), 0xFFFFFFu);
  r.Need(24);
  EXPECT_EQ(r.Take(8), 0xFFu);
  EXPECT_EQ(r.BitsTaken(), 55u);
  r.Need(24);  // past the end: zeros, and the position runs on
  EXPECT_EQ(r.Take(24), 0u);
  EXPECT_EQ(r.NextPosition(), 10u);
}

TEST(IfegBits, RoundUp) {
  const uint64_t cases[][3] = {{0, 8, 0}, {1, 8, 8}, {8, 8, 8}, {9, 8, 16}, {23, 8, 24}, {5, 0, 5},
                               {0xFFFFFFFFull, 8, 0x100000000ull}};
  for (const auto& c : cases) EXPECT_EQ(RoundUp(c[0], c[1]), c[2]) << c[0] << " " << c[1];
}

}  // namespace
}  // namespace ssf
