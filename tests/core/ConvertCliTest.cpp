#include <gtest/gtest.h>

#include "PictureSupport.h"
#include "TestSupport.h"
#include "cli/Cli.h"
#include "pictures/Ani2.h"
#include "pictures/Bmp.h"
#include "pictures/Jpeg.h"
#include "pictures/Png.h"
#include "pictures/RawImage.h"

namespace ssf {
namespace {

using test::RunCli;

TEST(ConvertCli, RawToBmpToRawIsByteForByte) {
  test::TempDir dir;
  Bytes raw(240 * 320 * 2);
  for (size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<uint8_t>((i * 2654435761u) >> 13);
  test::WriteFile(dir / "in.raw", raw);
  const auto to_bmp = RunCli({"convert", (dir / "in.raw").string(), (dir / "mid.BMP").string(), "--size", "240x320"});
  ASSERT_EQ(to_bmp.code, cli::kExitOk) << to_bmp.err;
  const auto to_raw = RunCli({"convert", (dir / "mid.BMP").string(), (dir / "out.raw").string()});
  ASSERT_EQ(to_raw.code, cli::kExitOk) << to_raw.err;
  EXPECT_EQ(test::ReadFile(dir / "out.raw"), raw);
}

TEST(ConvertCli, ConvertsBetweenPictureFormats) {
  test::TempDir dir;
  const Image image = test::Gradient(6, 5, true);
  test::WriteFile(dir / "in.png", EncodePng(image));
  struct Step {
    const char* from;
    const char* to;
  };
  for (const Step s : {Step{"in.png", "a.bmp"}, Step{"a.bmp", "b.jpeg"}, Step{"b.jpeg", "c.PNG"}, Step{"in.png", "d.jpg"},
                       Step{"in.png", "e.raw"}, Step{"in.png", "f.ani2"}, Step{"f.ani2", "g.png"}, Step{"a.bmp", "h.png"}}) {
    const auto r = RunCli({"convert", (dir / s.from).string(), (dir / s.to).string()});
    EXPECT_EQ(r.code, cli::kExitOk) << s.from << " -> " << s.to << ": " << r.err;
  }
  // Formats without alpha get the picture flattened over black; ANI2 keeps the alpha.
  const Image flat = FlattenOverBlack(image);
  EXPECT_EQ(DecodeBmp(test::ReadFile(dir / "a.bmp")), flat);
  EXPECT_EQ(test::ReadFile(dir / "e.raw"), ImageToRaw(flat));
  EXPECT_EQ(test::ReadFile(dir / "f.ani2"), ImageToAni2(image, true));
  EXPECT_EQ(test::ReadFile(dir / "g.png"), Ani2BytesToPng(test::ReadFile(dir / "f.ani2")));
  EXPECT_FALSE(DecodePng(test::ReadFile(dir / "h.png")).image.HasAlpha());
  EXPECT_EQ(DecodeJpeg(test::ReadFile(dir / "d.jpg")).width, 6u);
}

TEST(ConvertCli, RefusesWhatItCannotDo) {
  test::TempDir dir;
  test::WriteFile(dir / "in.raw", Bytes(8, 0));
  test::WriteFile(dir / "in.bmp", EncodeBmp(test::Gradient(2, 2)));
  test::WriteFile(dir / "in.png", EncodePng(test::Gradient(2, 2)));
  test::WriteFile(dir / "in.ani2", ImageToAni2(test::Gradient(2, 2), false));
  test::WriteFile(dir / "fake.ani2", Bytes(20, 'x'));
  test::WriteFile(dir / "fake.png", Bytes(20, 'x'));
  const auto p = [&](const char* name) { return (dir / name).string(); };
  struct Case {
    std::vector<std::string> args;
    int code;
    const char* output;
  };
  const Case cases[] = {
      {{"convert", p("in.bmp"), p("out.ani2")}, cli::kExitUsage, "out.ani2"},
      {{"convert", p("in.ani2"), p("out.bmp")}, cli::kExitUsage, "out.bmp"},
      {{"convert", p("in.raw"), p("out.jpg"), "--size", "2x2"}, cli::kExitUsage, "out.jpg"},
      {{"convert", p("in.raw"), p("out.bmp")}, cli::kExitUsage, "out.bmp"},
      {{"convert", p("in.raw"), p("out.bmp"), "--size", "2by2"}, cli::kExitUsage, "out.bmp"},
      {{"convert", p("in.bmp"), p("out.gif")}, cli::kExitUsage, "out.gif"},
      {{"convert", p("in.bmp")}, cli::kExitUsage, "in.bmp.none"},
      {{"convert", p("in.raw"), p("out.bmp"), "--size", "3x2"}, cli::kExitFailed, "out.bmp"},  // 8 bytes < 12
      {{"convert", p("fake.ani2"), p("out.png")}, cli::kExitFailed, "out.png"},
      {{"convert", p("fake.png"), p("out.ani2")}, cli::kExitFailed, "out.ani2"},
      {{"convert", p("missing.bmp"), p("out.raw")}, cli::kExitFailed, "out.raw"},
  };
  for (const Case& c : cases) {
    const auto r = RunCli(c.args);
    EXPECT_EQ(r.code, c.code) << c.args[1] << " " << (c.args.size() > 2 ? c.args[2] : "") << ": " << r.err;
    EXPECT_FALSE(r.err.empty());
    EXPECT_FALSE(std::filesystem::exists(dir / c.output)) << c.output;
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 6) << "no temporary files left";
}

}  // namespace
}  // namespace ssf
