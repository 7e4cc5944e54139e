// ssftool extract: the format follows OUT's extension and the bytes are the export's.
#include <gtest/gtest.h>

#include "ThemeFileTestSupport.h"
#include "pictures/Bmp.h"
#include "pictures/Png.h"

namespace ssf::test {
namespace {

struct CliExtractTest : ::testing::Test {
  KindsTheme t;
  std::filesystem::path theme;
  CliExtractTest() {
    t.FillAll();
    theme = t.f.Save("kinds.ssf");
  }
  CliResult Extract(const std::string& index, const std::string& out) {
    return RunCli({"--maps", (t.f.dir / "ThemeMaps").string(), "extract", theme.string(), index,
                   (t.f.dir / out).string()});
  }
};

TEST_F(CliExtractTest, WritesWhatTheExportButtonWrites) {
  struct Case {
    int file;
    const char* out;
    Bytes expected;
  };
  const Image raw_picture = RawToImage(t.Slot(kRawFile), 240, 320);
  const Case cases[] = {
      {kJpgFile, "wall.jpeg", t.Slot(kJpgFile)},  // the stored stream unchanged
      {kRawFile, "menu.RAW", t.Slot(kRawFile)},
      {kRawFile, "menu.bmp", EncodeBmp(raw_picture)},
      {kRawFile, "menu.png", EncodePng(raw_picture)},
      {kRawFile, "menu.ifg", EncodeIFG(raw_picture, 16, 1)},
      {kAni2File, "clock.ani2", t.Slot(kAni2File)},
      {kAni2File, "clock.png", Ani2BytesToPng(t.Slot(kAni2File))},
      {kColorTabFile, "colours.tab", t.Slot(kColorTabFile)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.out);
    CliResult r = Extract(std::to_string(c.file), c.out);
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(ReadFile(t.f.dir / c.out), c.expected);
  }
}

TEST_F(CliExtractTest, RefusesWhatItCannotWrite) {
  EXPECT_EQ(Extract("0", "wall.gif").code, 2);    // no such format for JPG
  EXPECT_EQ(Extract("2", "clock.bmp").code, 2);   // ANI2 only as .png or .ani2
  EXPECT_EQ(Extract("7", "colours.png").code, 2);
  EXPECT_EQ(Extract("x", "a.bmp").code, 2);
  EXPECT_EQ(Extract("-1", "a.bmp").code, 2);
  CliResult r = Extract("8", "a.bmp");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("файла темы 8 нет"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(t.f.dir / "a.bmp"));
  EXPECT_FALSE(std::filesystem::exists(t.f.dir / "wall.gif"));
}

TEST_F(CliExtractTest, AnAbsentFileIsAFailureAndWritesNothing) {
  // A container may be saved with a full count and an empty slot; extracting that slot must
  // not leave an empty or stale picture behind.
  t.f.ed->state.Theme->NewFiles.at(kIfgFile) = {};
  t.f.ed->state.Theme->CountCorrection = 1;  // the count stays full
  theme = t.f.Save("holes.ssf");
  const CliResult r = Extract(std::to_string(kIfgFile), "icon.bmp");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("в теме отсутствует"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(t.f.dir / "icon.bmp"));
}

}  // namespace
}  // namespace ssf::test
