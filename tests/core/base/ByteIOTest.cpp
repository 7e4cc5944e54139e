#include <gtest/gtest.h>

#include "TestSupport.h"
#include "base/ByteIO.h"
#include "base/Cp1251.h"
#include "base/FileIO.h"
#include "base/SsfError.h"

namespace ssf {
namespace {

TEST(ByteIO, ReadsLittleAndBigEndianAndRefusesShortData) {
  const Bytes d = {0x78, 0x56, 0x34, 0x12, 0xFF};
  EXPECT_EQ(ReadU16LE(d, 0), 0x5678);
  EXPECT_EQ(ReadU16BE(d, 0), 0x7856);
  EXPECT_EQ(ReadU32LE(d, 0), 0x12345678u);
  EXPECT_EQ(ReadI32LE(Bytes{0xFF, 0xFF, 0xFF, 0xFF}, 0), -1);
  EXPECT_THROW(ReadU32LE(d, 2), SsfError);
  EXPECT_THROW(ReadU16LE(d, SIZE_MAX), SsfError);  // offset + count would wrap

  ByteReader r(d, "заголовок");
  EXPECT_EQ(r.U16LE(), 0x5678);
  EXPECT_EQ(r.U16LE(), 0x1234);
  EXPECT_EQ(r.U8(), 0xFF);
  try {
    r.U8();
    FAIL() << "read past the end";
  } catch (const SsfError& e) {
    EXPECT_NE(std::string(e.what()).find("заголовок"), std::string::npos);
  }
}

TEST(ByteIO, StreamWriteGrowsAndMovesPosition) {
  ByteStream s(Bytes(10, 0xAA));
  s.SetPosition(8);
  const Bytes three = {1, 2, 3};
  s.Write(three);
  EXPECT_EQ(s.Size(), 11u);
  EXPECT_EQ(s.Position(), 11u);
  EXPECT_EQ(s.Data()[8], 1);
  EXPECT_EQ(s.Data()[10], 3);
}

TEST(Cp1251, RoundTripsCyrillicAndMarksUnmappable) {
  const std::string utf8 = "Тема «Ёж» №1";
  std::string bytes = Utf8ToCp1251(utf8);
  EXPECT_EQ(bytes.size(), Utf8Length(utf8));
  EXPECT_EQ(static_cast<uint8_t>(bytes[0]), 0xD2);  // Т
  EXPECT_EQ(Cp1251ToUtf8(bytes), utf8);
  EXPECT_EQ(Utf8ToCp1251("日"), "?");
  EXPECT_TRUE(IsValidUtf8(utf8));
  EXPECT_FALSE(IsValidUtf8(bytes));
  EXPECT_EQ(Utf8Truncate("ЖЖЖ", 5), "ЖЖ");  // never splits a character
}

TEST(FileIO, AtomicWriteReplacesAndFailureKeepsOldFile) {
  test::TempDir dir;
  auto target = dir / "out.bin";
  WriteFileAtomic(target, std::string("old"));
  WriteFileAtomic(target, std::string("new!"));
  EXPECT_EQ(test::ReadText(target), "new!");
  EXPECT_EQ(GetFileSize(target), 4);
  EXPECT_EQ(GetFileSize(dir / "missing"), -1);
  EXPECT_EQ(GetFileSize(dir.path()), 0);

  EXPECT_THROW(WriteFileAtomic(dir / "no-such-dir" / "x.bin", std::string("x")), SsfError);
  EXPECT_THROW(ReadWholeFile(dir / "missing"), SsfError);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(FileIO, AtomicWriteKeepsLinksAndPermissionsAndRefusesSpecialFiles) {
  test::TempDir dir;
  auto real = dir / "real.tab";
  auto link = dir / "link.tab";
  test::WriteText(real, "old");
  std::filesystem::permissions(real, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                                         std::filesystem::perms::group_read);
  std::filesystem::create_symlink(real, link);
  WriteFileAtomic(link, std::string("new"));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(test::ReadText(real), "new");
  EXPECT_EQ(std::filesystem::status(real).permissions() & std::filesystem::perms::mask,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                std::filesystem::perms::group_read);

  auto fifo = dir / "fifo";
  if (!MakeFifo(fifo)) GTEST_SKIP() << "no FIFOs on this system";
  EXPECT_THROW(WriteFileAtomic(fifo, std::string("x")), SsfError);
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));
  EXPECT_THROW(WriteFileAtomic(dir.path(), std::string("x")), SsfError);
}

}  // namespace
}  // namespace ssf
