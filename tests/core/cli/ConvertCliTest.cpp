#include <gtest/gtest.h>

#include <string>
#include <vector>

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

TEST(ConvertCli, EveryReadableKindGoesToEveryWritableKind) {
  test::TempDir dir;
  const Image image = test::Gradient(8, 6, true);
  const Image flat = FlattenOverBlack(image);
  const auto p = [&](const std::string& name) { return (dir / name).string(); };
  test::WriteFile(p("in.png"), EncodePng(image));
  test::WriteFile(p("in.bmp"), EncodeBmp(image));
  test::WriteFile(p("in.jpg"), EncodeJpeg(flat));
  test::WriteFile(p("in.raw"), ImageToRaw(flat));
  test::WriteFile(p("in.ani2"), ImageToAni2(image, true));
  ASSERT_EQ(RunCli({"convert", p("in.png"), p("in.ifg")}).code, cli::kExitOk);
  const char* kinds[] = {"bmp", "jpg", "png", "raw", "ani2", "ifg"};
  for (const char* from : kinds) {
    for (const char* to : kinds) {
      SCOPED_TRACE(std::string(from) + " -> " + to);
      const std::string out = p(std::string("out-") + from + "." + to);
      std::vector<std::string> args = {"convert", p(std::string("in.") + from), out};
      if (std::string(from) == "raw") args.insert(args.end(), {"--size", "8x6"});
      const auto r = RunCli(args);
      ASSERT_EQ(r.code, cli::kExitOk) << r.err;
      const Bytes written = test::ReadFile(out);
      // Every output reads back at the picture's size.
      std::vector<std::string> back = {"convert", out, out + ".bmp"};
      if (std::string(to) == "raw") back.insert(back.end(), {"--size", "8x6"});
      ASSERT_EQ(RunCli(back).code, cli::kExitOk);
      const Image read_back = DecodeBmp(test::ReadFile(out + ".bmp"));
      EXPECT_EQ(read_back.width, 8u);
      EXPECT_EQ(read_back.height, 6u);
    }
  }
  // The editor's conversions: alpha over black where the target has none, ANI2 opaque from
  // a picture without alpha, ANI2 to PNG with all of its alpha.
  const Image from_ani2 = Ani2ToImage(test::ReadFile(p("in.ani2")));
  EXPECT_EQ(DecodeBmp(test::ReadFile(p("out-ani2.bmp"))), FlattenOverBlack(from_ani2));
  EXPECT_EQ(test::ReadFile(p("out-ani2.raw")), ImageToRaw(FlattenOverBlack(from_ani2)));
  EXPECT_EQ(test::ReadFile(p("out-ani2.png")), Ani2BytesToPng(test::ReadFile(p("in.ani2"))));
  EXPECT_EQ(test::ReadFile(p("out-bmp.ani2")), ImageToAni2(DecodeBmp(test::ReadFile(p("in.bmp"))), false));
  EXPECT_EQ(test::ReadFile(p("out-png.ani2")), ImageToAni2(image, true));
  EXPECT_EQ(test::ReadFile(p("out-raw.ani2")), ImageToAni2(RawToImage(test::ReadFile(p("in.raw")), 8, 6), false));
  EXPECT_EQ(test::ReadFile(p("out-jpg.bmp")), EncodeBmp(DecodeJpeg(test::ReadFile(p("in.jpg"))))) << "decoded straight into the file";
}

TEST(ConvertCli, IfegDecodeWritesJpeg) {
  test::TempDir dir;
  test::WriteFile(dir / "in.png", EncodePng(test::Gradient(9, 7)));
  ASSERT_EQ(RunCli({"convert", (dir / "in.png").string(), (dir / "in.ifg").string()}).code, cli::kExitOk);
  const auto r = RunCli({"ifeg", "decode", (dir / "in.ifg").string(), (dir / "out.JPG").string()});
  ASSERT_EQ(r.code, cli::kExitOk) << r.err;
  const Image back = DecodeJpeg(test::ReadFile(dir / "out.JPG"));
  EXPECT_EQ(back.width, 9u);
  EXPECT_EQ(back.height, 7u);
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
      {{"convert", p("in.raw"), p("zero.bmp"), "--size", "0x2"}, cli::kExitFailed, "zero.bmp"},
      {{"convert", p("in.raw"), p("zero.png"), "--size", "2x0"}, cli::kExitFailed, "zero.png"},
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
    if (std::string(c.output).starts_with("zero")) {
      EXPECT_NE(r.err.find("Пустое изображение"), std::string::npos) << r.err;
      EXPECT_NE(r.err.find(p(c.output)), std::string::npos) << "names the output file: " << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / c.output)) << c.output;
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 6) << "no temporary files left";
}

}  // namespace
}  // namespace ssf
