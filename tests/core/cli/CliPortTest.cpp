// ssftool port: a theme carried to another model, written only when every target file is
// filled, from its pair or from a --fill file.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <sstream>

#include "PortTestSupport.h"
#include "TestSupport.h"
#include "base/FileIO.h"
#include "pictures/Bmp.h"
#include "theme/ThemeContainer.h"
#include "theme/ThemePort.h"

namespace ssf {
namespace {

namespace fs = std::filesystem;
using test::RunCli;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

struct CliPortTest : ::testing::Test {
  test::TempDir dir;

  fs::path WriteSample(const std::string& model) {
    const fs::path path = dir / (model + ".ssf");
    test::WriteFile(path, SerializeTheme(test::SampleTheme(model).theme));
    return path;
  }

  // A file of the entry's own kind and size that "Загрузить" takes as it is.
  std::string FillFile(const TTHemeFiles& e, int k) {
    const char* ext = e.f_type == "JPG" ? ".jpg" : e.f_type == "RAW" ? ".raw" : e.f_type == "IFG" ? ".ifg"
                      : e.f_type == "ANI2" ? ".ani2" : ".tab";
    const bool picture = IsPictureKind(KindOf(e.f_type));
    const fs::path path = dir / ("fill" + std::to_string(k) + ext);
    test::WriteFile(path, test::StoredAs(e, picture ? test::Solid(static_cast<uint32_t>(e.f_width),
                                                                  static_cast<uint32_t>(e.f_height), 10, 20, 30, 255)
                                                    : Image()));
    return std::to_string(k) + "=" + path.string();
  }

  test::CliResult Port(const fs::path& theme, const std::string& model, const fs::path& out,
                       std::vector<std::string> more = {}) {
    std::vector<std::string> args = {"--maps", test::SampleMapsDir().string(), "port", theme.string(), "--model",
                                     model, "-o", out.string()};
    args.insert(args.end(), more.begin(), more.end());
    return RunCli(args);
  }
};

// Every sample model to every other, both ways: paired files carried, the rest filled.
TEST_F(CliPortTest, SampleThemesCarryBetweenAllModels) {
  for (const char* from : test::kSampleModels) {
    for (const char* to : test::kSampleModels) {
      if (std::string(from) == to) continue;
      SCOPED_TRACE(std::string(from) + " -> " + to);
      const OpenedTheme source = test::SampleTheme(from);
      const OpenedTheme target = test::SampleTheme(to);
      const std::vector<PortPair> pairs = PairThemeFiles(source.map, target.map);
      const std::optional<PortedTheme> carried =
          PortTheme(source.theme, source.map, target.map, PairedSources(pairs), FitChoice{});
      std::vector<std::string> fills;
      std::vector<bool> filled(pairs.size());
      for (size_t k = 0; k < pairs.size(); ++k) {
        if (carried->files[k].action == CarryAction::kNone) {
          filled[k] = true;
          fills.push_back("--fill");
          fills.push_back(FillFile(target.map.ThemeFiles[k], static_cast<int>(k)));
        }
      }
      const fs::path out = dir / (std::string(from) + "-" + to + ".ssf");
      const test::CliResult r = Port(WriteSample(from), to, out, fills);
      ASSERT_EQ(r.code, 0) << r.err;
      const std::vector<std::string> lines = Lines(r.out);
      ASSERT_EQ(lines.size(), pairs.size());
      for (size_t k = 0; k < pairs.size(); ++k) {
        const std::string head = std::to_string(k) + "\t" + ThemeFilePath(target.map, static_cast<int>(k)) + "\t";
        const std::string what = !filled[k] ? "из " + std::to_string(*pairs[k].source) + " " +
                                                       ThemeFilePath(source.map, *pairs[k].source) + ": "
                                                 : std::string("из файла ");
        EXPECT_EQ(lines[k].rfind(head + what, 0), 0u) << lines[k];
      }
      const test::CliResult check = RunCli({"--maps", test::SampleMapsDir().string(), "check", out.string()});
      EXPECT_EQ(check.code, 0) << check.out;
    }
  }
}

// Unfilled files: nothing written (an existing file stays), each one listed, exit 1.
TEST_F(CliPortTest, RefusesWhileFilesStayUnfilled) {
  const fs::path out = dir / "out.ssf";
  test::WriteFile(out, {1, 2, 3});
  const test::CliResult r = Port(WriteSample("QB-X240"), "QB-C176", out);
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(test::ReadFile(out), (Bytes{1, 2, 3}));
  const std::vector<std::string> lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[1], "1\tРабочий стол/Фон меню\tиз 6 Главное меню/Фон меню: RAW 240x320 → RAW 176x220, "
                      "обрезать по краям");
  EXPECT_EQ(lines[8], "8\tЦвета меню\tне заполнен: нет пары в исходной теме");
  EXPECT_NE(r.err.find("(8, 9)"), std::string::npos) << r.err;

  // A fill that is refused leaves its file unfilled too.
  const fs::path wrong = dir / "wrong.tab";
  test::WriteFile(wrong, Bytes(5));
  const test::CliResult refused =
      Port(WriteSample("QB-X240"), "QB-C176", dir / "none.ssf", {"--fill", "8=" + wrong.string(), "--fill", "9=" + wrong.string()});
  EXPECT_EQ(refused.code, 1);
  EXPECT_FALSE(fs::exists(dir / "none.ssf"));
  EXPECT_NE(Lines(refused.out).at(8).find("не заполнен: файл " + wrong.string() + " не принят"), std::string::npos);
}

// --fill overrides a pair and fits a picture of another size as replace --fit does; --json
// says the same as the lines.
TEST_F(CliPortTest, FillOverridesThePairAndJsonTellsIt) {
  const OpenedTheme target = test::SampleTheme("QB-C176");
  const fs::path bmp = dir / "wall.bmp";
  test::WriteFile(bmp, EncodeBmp(test::Solid(300, 300, 0, 0, 255)));
  const fs::path out = dir / "out.ssf";
  const test::CliResult r =
      Port(WriteSample("QB-X240"), "QB-C176", out,
           {"--fit", "pad", "--json", "--fill", "0=" + bmp.string(), "--fill", FillFile(target.map.ThemeFiles[8], 8),
            "--fill", FillFile(target.map.ThemeFiles[9], 9)});
  ASSERT_EQ(r.code, 0) << r.err;
  const nlohmann::json j = nlohmann::json::parse(r.out);
  EXPECT_TRUE(j["written"].get<bool>());
  EXPECT_TRUE(j["unfilled"].empty());
  ASSERT_EQ(j["files"].size(), 10u);
  EXPECT_EQ(j["files"][0]["action"], "fill");
  EXPECT_TRUE(j["files"][0]["source"].is_null());
  EXPECT_EQ(j["files"][2]["source"], 7);
  EXPECT_EQ(j["files"][2]["source_path"], "Главное меню/Пиктограммы/Сообщения");
  EXPECT_EQ(j["files"][2]["action"], "convert");
  EXPECT_NE(j["files"][2]["what"].get<std::string>().find("вписать с полями"), std::string::npos);

  // The wallpaper is the red square padded with black to 176x220.
  const test::CliResult extracted =
      RunCli({"--maps", test::SampleMapsDir().string(), "extract", out.string(), "0", (dir / "wall.bmp").string()});
  ASSERT_EQ(extracted.code, 0) << extracted.err;
  const Image wall = DecodeBmp(test::ReadFile(dir / "wall.bmp"));
  ASSERT_EQ(wall.width, 176u);
  ASSERT_EQ(wall.height, 220u);
  EXPECT_GT(wall.Pixel(88, 110)[2], 240);
  EXPECT_LT(wall.Pixel(88, 2)[2], 16);
}

TEST_F(CliPortTest, CommandLineMistakes) {
  const fs::path theme = WriteSample("EXAMPLE-100");
  for (const std::vector<std::string>& more : std::vector<std::vector<std::string>>{
           {"--fill", "10=x.tab"}, {"--fill", "x.tab"}, {"--fit", "zoom"}, {"--map", "a.rxt"}}) {
    EXPECT_EQ(Port(theme, "QB-C176", dir / "o.ssf", more).code, 2) << more[0] << " " << more[1];
  }
  EXPECT_EQ(Port(theme, "NO-SUCH", dir / "o.ssf").code, 1);
}

}  // namespace
}  // namespace ssf
