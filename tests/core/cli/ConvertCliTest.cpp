#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "PictureSupport.h"
#include "TestSupport.h"
#include "cli/Cli.h"
#include "ifeg/Ifeg.h"
#include "pictures/Ani2.h"
#include "pictures/Bmp.h"
#include "pictures/FitPicture.h"
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
  const Bytes ani2_over_black = Ani2ToRawOverBlack(test::ReadFile(p("in.ani2")));
  EXPECT_EQ(DecodeBmp(test::ReadFile(p("out-ani2.bmp"))), RawToImage(ani2_over_black, 8, 6));
  EXPECT_EQ(test::ReadFile(p("out-ani2.raw")), ani2_over_black);
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
  test::WriteFile(dir / "empty.ani2", Bytes{'A', 'N', 'I', '2', 0, 0, 2, 0, 0, 0, 0});
  const auto p = [&](const char* name) { return (dir / name).string(); };
  struct Case {
    std::vector<std::string> args;
    int code;
    const char* output;
  };
  const Case cases[] = {
      {{"convert", p("in.raw"), p("zero.bmp"), "--size", "0x2"}, cli::kExitFailed, "zero.bmp"},
      {{"convert", p("in.raw"), p("zero.png"), "--size", "2x0"}, cli::kExitFailed, "zero.png"},
      {{"convert", p("empty.ani2"), p("zero-ani2.png")}, cli::kExitFailed, "zero-ani2.png"},
      {{"convert", p("empty.ani2"), p("zero-ani2.bmp")}, cli::kExitFailed, "zero-ani2.bmp"},
      {{"convert", p("in.raw"), p("out.bmp")}, cli::kExitUsage, "out.bmp"},
      {{"convert", p("in.raw"), p("out.bmp"), "--size", "2by2"}, cli::kExitUsage, "out.bmp"},
      {{"convert", p("in.bmp"), p("out.gif")}, cli::kExitUsage, "out.gif"},
      {{"convert", p("in.bmp")}, cli::kExitUsage, "in.bmp.none"},
      {{"convert", p("in.raw"), p("out.bmp"), "--size", "3x2"}, cli::kExitFailed, "out.bmp"},  // 8 bytes < 12
      {{"convert", p("fake.ani2"), p("out.png")}, cli::kExitFailed, "out.png"},
      {{"convert", p("fake.png"), p("out.ani2")}, cli::kExitFailed, "out.ani2"},
      {{"convert", p("missing.bmp"), p("out.raw")}, cli::kExitFailed, "out.raw"},
      {{"convert", p("in.bmp"), p("out.raw"), "--fit", "crop"}, cli::kExitUsage, "out.raw"},  // no --size
      {{"convert", p("in.bmp"), p("out.raw"), "--size", "2x2", "--fit", "fill"}, cli::kExitUsage, "out.raw"},
      {{"convert", p("in.bmp"), p("out.raw"), "--size", "2x2", "--dither"}, cli::kExitUsage, "out.raw"},
      {{"convert", p("in.bmp"), p("out.raw"), "--size", "0x2", "--fit", "pad"}, cli::kExitUsage, "out.raw"},
      // A raw file's size is what --size gives; there is none left to fit to.
      {{"convert", p("in.raw"), p("out.bmp"), "--size", "2x2", "--fit", "crop"}, cli::kExitUsage, "out.bmp"},
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
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 7) << "no temporary files left";
}

// --fit brings the picture to --size as the import's fitting does, dithered on request where
// the output holds RGB565; a large JPEG is decoded at a reduced scale first, which changes
// its pixels only a little.
TEST(ConvertCli, FitsThePictureToTheGivenSize) {
  test::TempDir dir;
  const Image image = test::Gradient(30, 20);
  test::WriteFile(dir / "in.png", EncodePng(image));
  const auto p = [&](const std::string& name) { return (dir / name).string(); };
  for (const FitMode mode : {FitMode::kCrop, FitMode::kPad, FitMode::kStretch}) {
    SCOPED_TRACE(FitModeName(mode));
    const std::string name = FitModeName(mode);
    auto r = RunCli({"convert", p("in.png"), p(name + ".bmp"), "--size", "12x16", "--fit", name});
    ASSERT_EQ(r.code, cli::kExitOk) << r.err;
    const Image fitted = FitPicture(image, 12, 16, mode);
    EXPECT_EQ(DecodeBmp(test::ReadFile(dir / (name + ".bmp"))), fitted);
    r = RunCli({"convert", p("in.png"), p(name + ".raw"), "--size", "12x16", "--fit", name, "--dither"});
    ASSERT_EQ(r.code, cli::kExitOk) << r.err;
    Image dithered = fitted;
    DitherToRgb565(dithered);
    EXPECT_EQ(test::ReadFile(dir / (name + ".raw")), ImageToRaw(dithered));
  }

  const Image photo = test::SmoothPicture(640, 480);
  test::WriteFile(dir / "photo.jpg", EncodeJpeg(photo, 95));
  const auto r = RunCli({"convert", p("photo.jpg"), p("photo.bmp"), "--size", "48x64", "--fit", "crop"});
  ASSERT_EQ(r.code, cli::kExitOk) << r.err;
  const Image small = DecodeBmp(test::ReadFile(dir / "photo.bmp"));
  const Image whole = FitPicture(DecodeJpeg(test::ReadFile(dir / "photo.jpg")), 48, 64, FitMode::kCrop);
  ASSERT_EQ(small.width, 48u);
  ASSERT_EQ(small.height, 64u);
  double error = 0;
  for (size_t i = 0; i < small.bgr.size(); ++i) error += std::abs(small.bgr[i] - whole.bgr[i]);
  EXPECT_LT(error / static_cast<double>(small.bgr.size()), 1.5);
}

// Every RGB565 value once, 256x256, in the four files that hold RGB565 values.
Bytes AllRgb565Raw() {
  Bytes raw(65536 * 2);
  for (uint32_t v = 0; v < 65536; ++v) WriteU16LE(raw, v * 2, static_cast<uint16_t>(v));
  return raw;
}

Bytes AllRgb565Ani2() {
  Bytes ani2 = {'A', 'N', 'I', '2', 0, 1, 0, 1};
  for (uint32_t v = 0; v < 65536; ++v) ani2.insert(ani2.end(), {63, uint8_t(v >> 8), uint8_t(v)});
  return ani2;
}

// A 16-bit BMP, 5-6-5 bit fields, rows from the top.
Bytes AllRgb565Bmp() {
  Bytes bmp(66, 0);
  bmp[0] = 'B', bmp[1] = 'M';
  WriteU32LE(bmp, 2, 66 + 65536 * 2);
  WriteU32LE(bmp, 10, 66);
  WriteU32LE(bmp, 14, 40);
  WriteU32LE(bmp, 18, 256);
  WriteU32LE(bmp, 22, static_cast<uint32_t>(-256));
  WriteU16LE(bmp, 26, 1);
  WriteU16LE(bmp, 28, 16);
  WriteU32LE(bmp, 30, 3);
  WriteU32LE(bmp, 54, 0xF800), WriteU32LE(bmp, 58, 0x07E0), WriteU32LE(bmp, 62, 0x001F);
  const Bytes raw = AllRgb565Raw();
  bmp.insert(bmp.end(), raw.begin(), raw.end());
  return bmp;
}

int Rgb565ChannelError(uint32_t a, uint32_t b) {
  const int dr = std::abs(int(a >> 11) - int(b >> 11));
  const int dg = std::abs(int((a >> 5) & 63) - int((b >> 5) & 63));
  const int db = std::abs(int(a & 31) - int(b & 31));
  return std::max({dr, dg, db});
}

// A picture that is RGB565 already reaches the IFEG encoder unchanged: exact without an
// error, within the error otherwise (never one unit more for the 8-bit detour).
TEST(ConvertCli, Rgb565SourcesReachIfegExactlyOrWithinTheError) {
  test::TempDir dir;
  const auto p = [&](const std::string& name) { return (dir / name).string(); };
  test::WriteFile(p("all.raw"), AllRgb565Raw());
  test::WriteFile(p("all.ani2"), AllRgb565Ani2());
  test::WriteFile(p("all.bmp"), AllRgb565Bmp());
  test::WriteFile(p("all.ifg"), EncodeIFGPacked(256, 256, 1, [] {
                    std::vector<uint32_t> v(65536);
                    for (uint32_t i = 0; i < 65536; ++i) v[i] = i;
                    return v;
                  }()));
  for (const char* from : {"raw", "ani2", "bmp", "ifg"}) {
    for (const char* level : {"0", "3"}) {
      SCOPED_TRACE(std::string(from) + " at --max-error " + level);
      const std::string out = p(std::string("out-") + from + "-" + level + ".ifg");
      std::vector<std::string> args = {"convert", p(std::string("all.") + from), out, "--max-error", level};
      if (std::string(from) == "raw") args.insert(args.end(), {"--size", "256x256"});
      const auto r = RunCli(args);
      ASSERT_EQ(r.code, cli::kExitOk) << r.err;
      const IfgPacked decoded = DecodeIFGPacked(test::ReadFile(out));
      ASSERT_EQ(decoded.values.size(), 65536u);
      int worst = 0;
      size_t changed = 0;
      for (uint32_t v = 0; v < 65536; ++v) {
        worst = std::max(worst, Rgb565ChannelError(decoded.values[v], v));
        changed += decoded.values[v] != v;
      }
      if (std::string(level) == "0") {
        EXPECT_EQ(changed, 0u);
      } else {
        EXPECT_LE(worst, 3);
      }
    }
  }
  // And back to RAW: the values of the RAW file again.
  ASSERT_EQ(RunCli({"convert", p("out-raw-0.ifg"), p("back.raw")}).code, cli::kExitOk);
  EXPECT_EQ(test::ReadFile(p("back.raw")), AllRgb565Raw());
}

// An opaque ANI2 pixel keeps its RGB565 value in every format without alpha; a partly
// transparent one is blended over black by its 6-bit alpha.
TEST(ConvertCli, Ani2ColoursOverBlackKeepOpaqueValues) {
  test::TempDir dir;
  const auto p = [&](const std::string& name) { return (dir / name).string(); };
  // alpha, RGB565 high byte first: opaque white, opaque 0x9CD3, half white, transparent
  // white, and alpha 127 (wraps to 63: opaque).
  test::WriteFile(p("in.ani2"), Bytes{'A', 'N', 'I', '2', 5, 0, 1, 0, 63, 0xFF, 0xFF, 63, 0x9C, 0xD3,
                                      32, 0xFF, 0xFF, 0, 0xFF, 0xFF, 127, 0x12, 0x34});
  const uint16_t half = (31 * 32 + 31) / 63 << 11 | (63 * 32 + 31) / 63 << 5 | (31 * 32 + 31) / 63;
  const std::vector<uint16_t> expected = {0xFFFF, 0x9CD3, half, 0x0000, 0x1234};
  ASSERT_EQ(RunCli({"convert", p("in.ani2"), p("out.raw")}).code, cli::kExitOk);
  ASSERT_EQ(RunCli({"convert", p("in.ani2"), p("out.bmp")}).code, cli::kExitOk);
  ASSERT_EQ(RunCli({"convert", p("in.ani2"), p("out.ifg")}).code, cli::kExitOk);
  const Bytes raw = test::ReadFile(p("out.raw"));
  const Bytes from_bmp = ImageToRaw(DecodeBmp(test::ReadFile(p("out.bmp"))));
  const IfgPacked from_ifg = DecodeIFGPacked(test::ReadFile(p("out.ifg")));
  ASSERT_EQ(raw.size(), 10u);
  ASSERT_EQ(from_ifg.values.size(), 5u);
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(ReadU16LE(raw, i * 2), expected[i]);
    EXPECT_EQ(ReadU16LE(from_bmp, i * 2), expected[i]);
    EXPECT_EQ(from_ifg.values[i], expected[i]);
  }
}

}  // namespace
}  // namespace ssf
