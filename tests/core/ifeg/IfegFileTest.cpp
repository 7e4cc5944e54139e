// The IFEG file operations and the command line around the codec.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "PictureSupport.h"
#include "TestSupport.h"
#include "cli/Cli.h"
#include "ifeg/Ifeg.h"
#include "ifeg/IfegFile.h"
#include "pictures/Bmp.h"
#include "pictures/Png.h"
#include "base/SsfError.h"

namespace ssf {
namespace {

using test::ReadFile;
using test::RunCli;
using test::TempDir;
using test::WriteFile;

// 2x2 RGB565 0x0000, 0x0800 / 0x0020, 0x0021 in mode 1, and the same picture in 24 bits.
const Bytes k2x2Mode1 = {'I', 'F', 'E', 'G', 2, 0, 2, 0, 1, 0, 0, 0x65, 0x14, 0, 0, 0,
                         0x1C, 0x17, 0x16, 0x00, 0x00, 0x00, 0x20, 0x00};

Image Picture2x2() {
  Image pic(2, 2);
  pic.bgr = {0, 0, 0, 0, 0, 8, 0, 4, 0, 8, 4, 0};
  return pic;
}

std::string ErrorOf(const std::function<void()>& fn) {
  try {
    fn();
  } catch (const SsfError& e) {
    return e.what();
  }
  return "no error";
}

TEST(IfegFile, IfgToBmpAndBack) {
  TempDir dir;
  WriteFile(dir / "a.ifg", k2x2Mode1);
  IFGFileToBmp(dir / "a.ifg", dir / "a.bmp");
  EXPECT_EQ(DecodeBmp(ReadFile(dir / "a.bmp")), Picture2x2());
  BmpFileToIFG(dir / "a.bmp", dir / "b.ifg");
  EXPECT_EQ(ReadFile(dir / "b.ifg"), k2x2Mode1);
}

TEST(IfegFile, BadSourceNamesTheFileAndLeavesTheTarget) {
  TempDir dir;
  WriteFile(dir / "old.bmp", {1, 2, 3});
  WriteFile(dir / "not.ifg", {'I', 'F', 'E', 'X', 1, 0, 1, 0, 2, 0, 0, 0, 0});
  Bytes cut(k2x2Mode1.begin(), k2x2Mode1.end() - 2);
  WriteFile(dir / "cut.ifg", cut);

  std::string msg = ErrorOf([&] { IFGFileToBmp(dir / "not.ifg", dir / "old.bmp"); });
  EXPECT_NE(msg.find("нет подписи IFEG"), std::string::npos) << msg;
  EXPECT_NE(msg.find("not.ifg"), std::string::npos) << msg;
  msg = ErrorOf([&] { IFGFileToBmp(dir / "cut.ifg", dir / "old.bmp"); });
  EXPECT_NE(msg.find("повреждённые данные IFEG"), std::string::npos) << msg;
  EXPECT_NE(msg.find("cut.ifg"), std::string::npos) << msg;
  EXPECT_THROW(IFGFileToBmp(dir / "missing.ifg", dir / "old.bmp"), SsfError);
  EXPECT_EQ(ReadFile(dir / "old.bmp"), (Bytes{1, 2, 3}));

  EXPECT_THROW(BmpFileToIFG(dir / "not.ifg", dir / "new.ifg"), SsfError);
  EXPECT_FALSE(std::filesystem::exists(dir / "new.ifg"));
}

TEST(IfegCli, EncodeInfoDecode) {
  TempDir dir;
  WriteFile(dir / "in.png", EncodePng(Picture2x2()));
  auto r = RunCli({"ifeg", "encode", (dir / "in.png").string(), (dir / "out.ifg").string()});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(ReadFile(dir / "out.ifg"), k2x2Mode1);

  r = RunCli({"ifeg", "info", (dir / "out.ifg").string()});
  ASSERT_EQ(r.code, 0) << r.err;
  for (const char* line : {"ширина: 2\n", "высота: 2\n", "режим: 1 (RGB565, 16 бит)\n",
                           "таблица разностей: 0 (обычная)\n", "размер файла: 24 байта\n",
                           "битовый поток: 4 байта со смещения 16, до области особых точек\n",
                           "область особых точек: 4 байта со смещения 20\n", "особых точек: 2\n"}) {
    EXPECT_NE(r.out.find(line), std::string::npos) << line << r.out;
  }

  r = RunCli({"ifeg", "decode", (dir / "out.ifg").string(), (dir / "back.png").string()});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(DecodePng(ReadFile(dir / "back.png")).image, Picture2x2());

  r = RunCli({"ifeg", "encode", (dir / "in.png").string(), (dir / "m3.ifg").string(), "--mode", "3"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(ReadFile(dir / "m3.ifg")[8], 3);
}

TEST(IfegCli, RefusesBadCommandLinesAndFiles) {
  TempDir dir;
  WriteFile(dir / "bad.ifg", {'I', 'F', 'E', 'G', 1, 0, 1, 0, 9, 0, 0, 0, 0});
  struct Case {
    std::vector<std::string> args;
    int code;
    const char* text;
  };
  const Case cases[] = {
      {{"ifeg"}, 2, "нужно действие decode, encode или info"},
      {{"ifeg", "shrink", "a", "b"}, 2, "неизвестное действие 'shrink'"},
      {{"ifeg", "encode", "a.bmp", "b.ifg", "--mode", "4"}, 2, "--mode: 1, 2 или 3, а не '4'"},
      {{"ifeg", "encode", "a.gif", "b.ifg"}, 2, "encode читает .bmp, .png или .jpg"},
      {{"ifeg", "decode", "a.ifg", "b.gif"}, 2, "decode записывает .bmp, .png или .jpg"},
      {{"ifeg", "info", (dir / "bad.ifg").string()}, 1, "неизвестный режим 9 (смещение 8)"},
      {{"ifeg", "encode", "a.bmp", "b.ifg", "--max-error", "9"}, 2, "--max-error: нужно целое число от 0"},
      {{"ifeg", "encode", "a.bmp", "b.ifg", "--max-error", "-1"}, 2, "--max-error: нужно целое число от 0"},
      {{"ifeg", "encode", "a.bmp", "b.ifg", "--max-error"}, 2, "после --max-error нужно число"},
      {{"convert", "a.bmp", "b.ifg", "--max-error", "one"}, 2, "--max-error: нужно целое число от 0"},
      {{"convert", "a.bmp", "b.png", "--max-error", "1"}, 2, "--max-error только для записи в .ifg"},
  };
  for (const Case& c : cases) {
    auto r = RunCli(c.args);
    EXPECT_EQ(r.code, c.code) << c.args.back();
    EXPECT_NE(r.err.find(c.text), std::string::npos) << r.err;
  }
}

TEST(IfegCli, ConvertKnowsIfg) {
  TempDir dir;
  WriteFile(dir / "a.bmp", EncodeBmp(Picture2x2()));
  auto r = RunCli({"convert", (dir / "a.bmp").string(), (dir / "a.ifg").string()});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(ReadFile(dir / "a.ifg"), k2x2Mode1);
  r = RunCli({"convert", (dir / "a.ifg").string(), (dir / "b.png").string()});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(DecodePng(ReadFile(dir / "b.png")).image, Picture2x2());
}

// --max-error reaches the encoder unchanged from both commands; 0 is the lossless file.
TEST(IfegCli, MaxErrorPicksTheBoundedEncoder) {
  TempDir dir;
  const Image pic = test::Gradient(21, 13);
  WriteFile(dir / "in.png", EncodePng(pic));
  const std::string in = (dir / "in.png").string();
  struct Case {
    std::vector<std::string> args;
    Bytes expected;
  };
  const Case cases[] = {
      {{"ifeg", "encode", in, "x", "--max-error", "2"}, EncodeIFG(pic, 16, 1, 2)},
      {{"ifeg", "encode", in, "x", "--mode", "2", "--max-error", "1"}, EncodeIFG(pic, 18, 2, 1)},
      {{"ifeg", "encode", in, "x", "--max-error", "0"}, EncodeIFG(pic, 16, 1)},
      {{"convert", in, "x", "--max-error", "1"}, EncodeIFG(pic, 16, 1, 1)},
      {{"convert", in, "x"}, EncodeIFG(pic, 16, 1)},
  };
  ASSERT_NE(EncodeIFG(pic, 16, 1, 1), EncodeIFG(pic, 16, 1));
  for (Case c : cases) {
    std::replace(c.args.begin(), c.args.end(), std::string("x"), (dir / "out.ifg").string());
    const auto r = RunCli(c.args);
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(ReadFile(dir / "out.ifg"), c.expected) << c.args[0] << " " << c.args.back();
  }
}

// --max-error takes decimal digits worth 0 to 8, leading zeros or not; help and refusal give
// the one rule in the same words, the manual page in its English ones.
TEST(IfegCli, MaxErrorOneRuleOneText) {
  TempDir dir;
  const Image pic = test::Gradient(21, 13);
  WriteFile(dir / "in.bmp", EncodeBmp(pic));
  const std::string in = (dir / "in.bmp").string(), out = (dir / "out.ifg").string();
  struct Case {
    const char* value;
    int level;  // -1: refused
  };
  const Case cases[] = {{"0", 0}, {"8", 8}, {"08", 8}, {"007", 7}, {"00", 0}, {"0000003", 3},
                        {"9", -1}, {"09", -1}, {"10", -1}, {"010", -1}, {"-1", -1}, {"+1", -1},
                        {"1.0", -1}, {" 1", -1}, {"", -1}, {"x", -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("'") + c.value + "'");
    std::filesystem::remove(out);
    const auto r = RunCli({"convert", in, out, "--max-error", c.value});
    if (c.level < 0) {
      EXPECT_EQ(r.code, 2);
      EXPECT_NE(r.err.find(std::string("--max-error: нужно ") + cli::kMaxErrorRule + ", а не '" + c.value + "'"),
                std::string::npos) << r.err;
      EXPECT_FALSE(std::filesystem::exists(out));
    } else {
      ASSERT_EQ(r.code, 0) << r.err;
      EXPECT_EQ(ReadFile(out), EncodeIFG(pic, 16, 1, static_cast<uint32_t>(c.level)));
    }
  }
  EXPECT_NE(RunCli({"--help"}).out.find(cli::kMaxErrorRule), std::string::npos);
  const Bytes man = ReadFile(std::filesystem::path(SSF_SOURCE_DIR) / "data" / "man" / "ssftool.1");
  EXPECT_NE(std::string(man.begin(), man.end()).find("a whole number from 0 (exact, the default) to 8"), std::string::npos);
}

}  // namespace
}  // namespace ssf
