#include <gtest/gtest.h>

#include "TestSupport.h"
#include "pictures/FileProbes.h"
#include "base/SsfError.h"

namespace ssf {
namespace {

Bytes Head(std::initializer_list<uint8_t> start, size_t size) {
  Bytes b(start);
  b.resize(size, 0x20);
  return b;
}

TEST(FileProbes, MagicAndLengthRules) {
  struct Case {
    const char* name;
    Bytes data;
    bool jfif, ani2, ifeg;
  };
  const Case cases[] = {
      {"JFIF of 15 bytes", Head({0xFF, 0xD8, 0xFF, 0xE0}, 15), true, false, false},
      {"JFIF of 14 bytes", Head({0xFF, 0xD8, 0xFF, 0xE0}, 14), false, false, false},
      {"Exif JPEG", Head({0xFF, 0xD8, 0xFF, 0xE1}, 100), false, false, false},
      {"ANI2 of 10 bytes", Head({'A', 'N', 'I', '2'}, 10), false, true, false},
      {"ANI2 of 9 bytes", Head({'A', 'N', 'I', '2'}, 9), false, false, false},
      {"ani2 in lower case", Head({'a', 'n', 'i', '2'}, 50), false, false, false},
      {"IFEG of 10 bytes", Head({'I', 'F', 'E', 'G'}, 10), false, false, true},
      {"IFEG of 9 bytes", Head({'I', 'F', 'E', 'G'}, 9), false, false, false},
      {"Ifeg in mixed case", Head({'I', 'f', 'e', 'g'}, 50), false, false, false},
      {"empty", {}, false, false, false},
  };
  test::TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::WriteFile(dir / "f", c.data);
    EXPECT_EQ(IsJFIF(dir / "f"), c.jfif);
    EXPECT_EQ(IsANI2(dir / "f"), c.ani2);
    EXPECT_EQ(IsIFEG(dir / "f"), c.ifeg);
    EXPECT_EQ(IsJFIF(ByteSpan(c.data)), c.jfif);
    EXPECT_EQ(IsANI2(ByteSpan(c.data)), c.ani2);
    EXPECT_EQ(IsIFEG(ByteSpan(c.data)), c.ifeg);
  }
  EXPECT_FALSE(IsJFIF(dir / "missing"));
  EXPECT_FALSE(IsANI2(dir / "missing"));
  EXPECT_FALSE(IsIFEG(dir.path()));  // a folder
}

TEST(FileProbes, HeaderReadsNeedSixAndEightBytes) {
  test::TempDir dir;
  const Bytes header = {'A', 'N', 'I', '2', 0xF0, 0x00, 0x40, 0x01};
  test::WriteFile(dir / "h", header);
  EXPECT_EQ(GetHeaderWidth(dir / "h"), 240);
  EXPECT_EQ(GetHeaderHeight(dir / "h"), 320);
  EXPECT_EQ(GetHeaderWidth(ByteSpan(header)), 240);
  EXPECT_EQ(GetHeaderHeight(ByteSpan(header)), 320);

  test::WriteFile(dir / "six", Bytes(header.begin(), header.begin() + 6));
  EXPECT_EQ(GetHeaderWidth(dir / "six"), 240);
  EXPECT_THROW(GetHeaderHeight(dir / "six"), SsfError);
  test::WriteFile(dir / "five", Bytes(header.begin(), header.begin() + 5));
  EXPECT_THROW(GetHeaderWidth(dir / "five"), SsfError);
  EXPECT_THROW(GetHeaderWidth(dir / "missing"), SsfError);
  EXPECT_THROW(GetHeaderHeight(ByteSpan(header).first(7)), SsfError);
}

}  // namespace
}  // namespace ssf
