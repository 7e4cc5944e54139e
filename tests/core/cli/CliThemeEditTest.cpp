// ssftool new, replace and icon: themes built and changed from the command line with the
// checks and conversions of the editor's own commands.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>

#include "PictureSupport.h"
#include "ScriptedUi.h"
#include "TestSupport.h"
#include "pictures/Ani2.h"
#include "pictures/Bmp.h"
#include "editor/Editor.h"
#include "pictures/Jpeg.h"
#include "pictures/Png.h"
#include "pictures/RawImage.h"
#include "theme/PictureFit.h"
#include "theme/ThemeContainer.h"

namespace ssf {
namespace {

namespace fs = std::filesystem;
using test::RunCli;

const fs::path kMaps = fs::path(SSF_SOURCE_DIR) / "ThemeMaps";

// The map entries of the sample 40-file map.
std::vector<TTHemeFiles> SampleEntries() {
  test::ScriptedUi ui;
  IniDocument settings;
  Editor ed{ui, settings, kMaps, {}, {}};
  LoadThemeMap(ed, kMaps / "QB-X240.rxt");
  return ed.state.Map.ThemeFiles;
}

struct CliThemeEditTest : ::testing::Test {
  test::TempDir dir;
  std::vector<TTHemeFiles> entries = SampleEntries();

  // One picture file per theme file, of an input format the kind takes, rotating the formats.
  std::vector<std::string> Pictures() {
    std::vector<std::string> files;
    for (size_t k = 0; k < entries.size(); ++k) {
      const TTHemeFiles& e = entries[k];
      const Image p = test::Gradient(static_cast<uint32_t>(e.f_width), static_cast<uint32_t>(e.f_height), true);
      fs::path f;
      if (e.f_type == "COLORTAB") {
        f = dir / (std::to_string(k) + ".tab");
        test::WriteFile(f, Bytes(static_cast<size_t>(e.f_size), uint8_t(k)));
      } else if (e.f_type == "ANI2" && k % 2) {
        f = dir / (std::to_string(k) + ".ani2");
        test::WriteFile(f, ImageToAni2(p, true));
      } else if (e.f_type == "ANI2" || k % 3 == 0) {
        f = dir / (std::to_string(k) + ".png");
        test::WriteFile(f, EncodePng(p));
      } else if (k % 3 == 1) {
        f = dir / (std::to_string(k) + ".bmp");
        test::WriteFile(f, EncodeBmp(p));
      } else {
        f = dir / (std::to_string(k) + ".jpg");
        test::WriteFile(f, EncodeJpeg(p));
      }
      files.push_back(f.string());
    }
    return files;
  }
  test::CliResult Tool(std::vector<std::string> args) {
    args.insert(args.begin(), {"--maps", kMaps.string()});
    return RunCli(args);
  }
  nlohmann::json Info(const fs::path& theme) {
    auto r = Tool({"info", theme.string(), "--json"});
    EXPECT_EQ(r.code, 0) << r.err;
    return nlohmann::json::parse(r.out);
  }
  fs::path NewTheme() {
    const fs::path out = dir / "t.ssf";
    std::vector<std::string> args{"new", "--model", "QB-X240", "-o", out.string()};
    for (const std::string& f : Pictures()) args.push_back(f);
    auto r = Tool(args);
    EXPECT_EQ(r.code, 0) << r.err;
    return out;
  }
};

TEST_F(CliThemeEditTest, NewBuildsACompleteThemeFromPictures) {
  ASSERT_EQ(entries.size(), 40u);
  const fs::path out = dir / "t.ssf";
  std::vector<std::string> args{"new", "--map", (kMaps / "QB-X240.rxt").string(), "-o", out.string(),
                                "--author", std::string(60, 'a'), "--name", "Тема", "--version", "2.0.1",
                                "--type", "1"};
  for (const std::string& f : Pictures()) args.push_back(f);
  auto r = Tool(args);
  ASSERT_EQ(r.code, 0) << r.err;
  // A cut text is said with what was kept; a text that fits is not mentioned.
  EXPECT_NE(r.err.find("--author: текст не помещается в поле (не более 51 байта UTF-8), записано: \"" +
                       std::string(51, 'a') + "\"\n"),
            std::string::npos) << r.err;
  EXPECT_NE(r.err.find("--version: текст не помещается в поле (не более 4 байт UTF-8), записано: \"2.0.\"\n"),
            std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("--name"), std::string::npos) << r.err;

  auto text = Tool({"info", out.string()});
  EXPECT_NE(text.out.find("Файлы темы: 40/40\n"), std::string::npos) << text.out;
  auto j = Info(out);
  EXPECT_EQ(j["author"], std::string(51, 'a'));  // the edits' byte caps
  EXPECT_EQ(j["name"], "Тема");
  EXPECT_EQ(j["version"], "2.0.");
  EXPECT_EQ(j["type"], 1);
  for (const auto& f : j["files"]) {
    const TTHemeFiles& e = entries[f["index"].get<size_t>()];
    if (e.f_type == "RAW") {
      EXPECT_EQ(f["stored"], e.f_width * e.f_height * 2);
    } else if (e.f_type == "ANI2") {
      EXPECT_EQ(f["stored"], 8 + e.f_width * e.f_height * 3);
    } else if (e.f_type == "COLORTAB") {
      EXPECT_EQ(f["stored"], e.f_size);
    }
    EXPECT_GT(f["stored"].get<int>(), 0);
  }
}

TEST_F(CliThemeEditTest, NewWritesNothingUnlessEveryFileIsTaken) {
  const fs::path out = dir / "t.ssf";
  std::vector<std::string> files = Pictures();
  test::WriteFile(dir / "tall.bmp", EncodeBmp(test::Gradient(240, 321)));
  files[0] = (dir / "tall.bmp").string();
  std::vector<std::string> args{"new", "--model", "QB-X240", "-o", out.string()};
  args.insert(args.end(), files.begin(), files.end());
  auto r = Tool(args);
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("Размеры загружаемого изображения должны соответствовать заданным в карте темы!\n"
                       "Загружаемый размер: 240x321, необходим: 240x320\n"),
            std::string::npos)
      << r.err;
  EXPECT_FALSE(fs::exists(out));

  files = Pictures();
  files[2] = (dir / "1.bmp").string();  // theme file 2 is ANI2: PNG or ANI2 only
  args = {"new", "--model", "QB-X240", "-o", out.string()};
  args.insert(args.end(), files.begin(), files.end());
  r = Tool(args);
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("файл темы 2 (ANI2)"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(out));

  r = Tool({"new", "--model", "QB-X240", "-o", out.string(), Pictures()[0]});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err.rfind("Сохранение темы невозможно, пока не прикреплены все файлы!", 0), 0u) << r.err;
  EXPECT_NE(r.err.find("\n1: "), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("\n... и ещё 34\n"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(out));

  EXPECT_EQ(Tool({"new", "--model", "QB-X240"}).code, 2);
  EXPECT_EQ(Tool({"new", "--model", "NO-SUCH", "-o", out.string()}).code, 1);
}

TEST_F(CliThemeEditTest, ReplaceSavesInPlaceOrToAnotherFile) {
  const fs::path theme = NewTheme();
  test::WriteFile(dir / "r.raw", Bytes(240 * 320 * 2, 0x11));
  auto r = Tool({"replace", theme.string(), "6", (dir / "r.raw").string(), "-o", (dir / "u.ssf").string()});
  ASSERT_EQ(r.code, 0) << r.err;
  const Bytes before = test::ReadFile(theme);
  r = Tool({"replace", theme.string(), "6", (dir / "r.raw").string()});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(test::ReadFile(theme), test::ReadFile(dir / "u.ssf"));
  EXPECT_NE(test::ReadFile(theme), before);
  const Bytes after = test::ReadFile(theme);
  const Bytes raw(240 * 320 * 2, 0x11);
  EXPECT_NE(std::search(after.begin(), after.end(), raw.begin(), raw.end()), after.end());

  test::WriteFile(dir / "long.raw", Bytes(240 * 320 * 2 + 1, 0x11));
  r = Tool({"replace", theme.string(), "6", (dir / "long.raw").string()});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "Некорректный размер загружаемого файла. Загрузка невозможна.\n");
  EXPECT_EQ(test::ReadFile(theme), test::ReadFile(dir / "u.ssf"));
  EXPECT_EQ(Tool({"replace", theme.string(), "40", (dir / "r.raw").string()}).code, 2);
}

TEST_F(CliThemeEditTest, FitTakesPicturesOfAnotherSizeOnNewAndReplace) {
  const fs::path out = dir / "t.ssf";
  std::vector<std::string> files = Pictures();
  test::WriteFile(dir / "tall.bmp", EncodeBmp(test::Gradient(240, 321)));
  files[0] = (dir / "tall.bmp").string();
  std::vector<std::string> args{"new", "--model", "QB-X240", "-o", out.string(), "--fit", "crop"};
  args.insert(args.end(), files.begin(), files.end());
  auto r = Tool(args);
  ASSERT_EQ(r.code, 0) << r.err;

  // Theme file 6 is RAW 240x320: a small wide picture, padded and dithered.
  ASSERT_EQ(entries[6].f_type, "RAW");
  const Image small = test::Gradient(60, 20);
  test::WriteFile(dir / "small.png", EncodePng(small));
  r = Tool({"replace", out.string(), "6", (dir / "small.png").string(), "--fit", "pad", "--dither"});
  ASSERT_EQ(r.code, 0) << r.err;
  const Bytes want = ImageToRaw(FitForThemeFile(small, 240, 320, "RAW", FitChoice{FitMode::kPad, true}));
  const Bytes after = test::ReadFile(out);
  EXPECT_NE(std::search(after.begin(), after.end(), want.begin(), want.end()), after.end());

  // Without --fit the size is refused as always; bad options are usage errors.
  r = Tool({"replace", out.string(), "6", (dir / "small.png").string()});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("Загружаемый размер: 60x20, необходим: 240x320"), std::string::npos) << r.err;
  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{"--fit", "zoom"}, {"--dither"}, {"--fit"}}) {
    std::vector<std::string> a{"replace", out.string(), "6", (dir / "small.png").string()};
    a.insert(a.end(), bad.begin(), bad.end());
    EXPECT_EQ(Tool(a).code, 2) << bad[0];
  }
}

// A map may ask for a theme file larger than any theme that opens: the import is refused
// before the picture is read or fitted, and nothing is written.
TEST_F(CliThemeEditTest, FileLargerThanAnyThemeIsRefusedBeforeTheWork) {
  const fs::path maps = dir / "maps";
  fs::create_directories(maps);
  test::WriteText(maps / "HUGE-1.rxt",
                  std::string("<THEMESIGN Main=\"SAMSUNG THEME\" Mobile=\"HUGE-1\">\r\n"
                              "<THEMESETTINGS FilesTable=\"0xFD0\" FilesStart=\"0xFE0\" \"1\" \"NO\">\r\n"
                              "<COLORTHEMESSETTINGS \"NO\">\r\n"
                              "<FILE \"a\" \"1\" \"RAW\" \"16384\" \"4096\">\r\n"));
  test::WriteFile(dir / "one.png", EncodePng(test::Gradient(1, 1)));
  const fs::path out = dir / "huge.ssf";
  auto r = RunCli({"--maps", maps.string(), "new", "--model", "HUGE-1", "-o", out.string(), "--fit", "stretch",
                   (dir / "one.png").string()});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("Файл темы займёт 134217728 байт, а открыть можно тему не более 67108864 байт."),
            std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(out));
}

TEST_F(CliThemeEditTest, IconGetSetClear) {
  const fs::path theme = NewTheme();
  Bytes raw(kIconBytes);
  for (size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<uint8_t>(i * 13);
  test::WriteFile(dir / "i.raw", raw);
  ASSERT_EQ(Tool({"icon", theme.string(), "set", (dir / "i.raw").string()}).code, 0);
  ASSERT_EQ(Tool({"icon", theme.string(), "get", (dir / "o.raw").string()}).code, 0);
  EXPECT_EQ(test::ReadFile(dir / "o.raw"), raw);
  ASSERT_EQ(Tool({"icon", theme.string(), "get", (dir / "o.png").string()}).code, 0);
  EXPECT_EQ(DecodePng(test::ReadFile(dir / "o.png")).image.width, 44u);

  test::WriteFile(dir / "short.raw", Bytes(kIconBytes - 1));
  auto r = Tool({"icon", theme.string(), "set", (dir / "short.raw").string()});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "Некорректный размер файла. Загрузка невозможна.\n");

  ASSERT_EQ(Tool({"icon", theme.string(), "clear", "-o", (dir / "c.ssf").string()}).code, 0);
  ASSERT_EQ(Tool({"icon", (dir / "c.ssf").string(), "get", (dir / "z.raw").string()}).code, 0);
  EXPECT_EQ(test::ReadFile(dir / "z.raw"), Bytes(kIconBytes, 0));
  EXPECT_EQ(Tool({"icon", theme.string(), "get", (dir / "o.gif").string()}).code, 2);
  // "get" writes OUT only; an -o beside it is a mistake, not a second target to ignore.
  r = Tool({"icon", theme.string(), "get", (dir / "g.raw").string(), "-o", (dir / "g.ssf").string()});
  EXPECT_EQ(r.code, 2);
  EXPECT_FALSE(fs::exists(dir / "g.raw"));
  EXPECT_FALSE(fs::exists(dir / "g.ssf"));
}

}  // namespace
}  // namespace ssf
