// Carrying a theme to another model: the pairing of theme files by caption and each route
// a file takes from its source kind and size to the target's.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "PortTestSupport.h"
#include "theme/ThemeCheck.h"
#include "theme/ThemeFilePicture.h"
#include "theme/ThemePort.h"

namespace ssf {
namespace {

using test::Solid;

ThemeMap SampleMap(const std::string& model) { return test::SampleTheme(model).map; }

ThemeMap MapOf(const std::string& body) {
  std::vector<std::string> lines;
  std::istringstream in(std::string("<THEMESIGN Main=\"SAMSUNG THEME\" Mobile=\"PAIR-1\">\n"
                                    "<THEMESETTINGS FilesTable=\"0xB0\" FilesStart=\"0xD8\" \"9\" \"NO\">\n"
                                    "<COLORTHEMESSETTINGS \"YES\">\n") +
                        body);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  TagParams params;
  return ParseThemeMap(lines, ThemeMap{}, params, "pair.rxt").map;
}

struct Expected {
  std::string target;
  std::string source;  // empty: unpaired
  PairRule rule;
};

void ExpectPairs(const ThemeMap& from, const ThemeMap& to, const std::vector<Expected>& expected) {
  const std::vector<PortPair> pairs = PairThemeFiles(from, to);
  ASSERT_EQ(pairs.size(), expected.size());
  for (size_t k = 0; k < pairs.size(); ++k) {
    SCOPED_TRACE(expected[k].target);
    EXPECT_EQ(ThemeFilePath(to, static_cast<int>(k)), expected[k].target);
    EXPECT_EQ(pairs[k].source ? ThemeFilePath(from, *pairs[k].source) : std::string(), expected[k].source);
    EXPECT_EQ(pairs[k].rule, expected[k].rule);
  }
}

constexpr PairRule kBoth = PairRule::kGroupAndCaption, kCaption = PairRule::kCaption, kNone = PairRule::kNone;

TEST(ThemePortPairing, SampleX240ToC176) {
  ExpectPairs(SampleMap("QB-X240"), SampleMap("QB-C176"),
              {{"Рабочий стол/Обои", "Рабочий стол/Обои", kBoth},
               {"Рабочий стол/Фон меню", "Главное меню/Фон меню", kCaption},
               {"Пиктограммы/Сообщения", "Главное меню/Пиктограммы/Сообщения", kBoth},
               {"Пиктограммы/Контакты", "Главное меню/Пиктограммы/Контакты", kBoth},
               {"Пиктограммы/Настройки", "Главное меню/Пиктограммы/Настройки", kBoth},
               {"Пиктограммы/Игры", "Главное меню/Пиктограммы/Игры", kBoth},
               {"Индикаторы/Антенна", "Рабочий стол/Индикаторы/Антенна", kBoth},
               {"Индикаторы/Батарея", "Рабочий стол/Индикаторы/Батарея", kBoth},
               {"Цвета меню", "", kNone},
               {"Цвета текста", "", kNone}});
}

TEST(ThemePortPairing, SampleC176ToExampleAndX240ToExample) {
  ExpectPairs(SampleMap("QB-C176"), SampleMap("EXAMPLE-100"),
              {{"Рабочий стол/Обои", "Рабочий стол/Обои", kBoth},
               {"Рабочий стол/Фон меню", "Рабочий стол/Фон меню", kBoth},
               {"Цвета", "", kNone}});
  ExpectPairs(SampleMap("QB-X240"), SampleMap("EXAMPLE-100"),
              {{"Рабочий стол/Обои", "Рабочий стол/Обои", kBoth},
               {"Рабочий стол/Фон меню", "Главное меню/Фон меню", kCaption},
               {"Цвета", "Цвета", kBoth}});
}

// One source serves two targets; blanks and case do not count; two equal captions in
// different groups pair only where the group tells them apart.
TEST(ThemePortPairing, TrimCaseUniquenessAndSharing) {
  const ThemeMap from = MapOf(
      "<GROUP \"Меню\">\n<FILE \" ОБОИ \" \"1\" \"JPG\" \"10\" \"10\">\n</GROUP>\n"
      "<GROUP \"Звонок\">\n<FILE \"Обои\" \"2\" \"JPG\" \"10\" \"10\">\n</GROUP>\n"
      "<GROUP \"Часы\">\n<FILE \"Ёлка\" \"3\" \"JPG\" \"10\" \"10\">\n</GROUP>\n");
  const ThemeMap to = MapOf(
      "<GROUP \"  меню\">\n<FILE \"обои\" \"1\" \"JPG\" \"10\" \"10\">\n</GROUP>\n"
      "<GROUP \"Экран\">\n<FILE \"Обои\" \"2\" \"JPG\" \"10\" \"10\">\n"
      "<FILE \"ёЛКА \" \"3\" \"JPG\" \"10\" \"10\">\n<FILE \"елка\" \"4\" \"JPG\" \"10\" \"10\">\n</GROUP>\n"
      "<FILE \"Ёлка\" \"5\" \"JPG\" \"10\" \"10\">\n");
  ExpectPairs(from, to,
              {{"  меню/обои", "Меню/ ОБОИ ", kBoth},
               {"Экран/Обои", "", kNone},
               {"Экран/ёЛКА ", "Часы/Ёлка", kCaption},
               {"Экран/елка", "", kNone},
               {"Ёлка", "Часы/Ёлка", kCaption}});
}

TTHemeFiles Pic(const char* kind, int w, int h) { return TTHemeFiles{kind, w, h, 0}; }
TTHemeFiles Tab(int size) { return TTHemeFiles{"COLORTAB", 0, 0, size}; }

struct Route {
  const char* name;
  TTHemeFiles from;
  Bytes bytes;
  TTHemeFiles to;
  FitMode mode;
  CarryAction action;
  int centre_red;     // the target's centre pixel red, about; -1: not checked
  int centre_alpha;   // ANI2 targets; -1: not checked
  int corner_alpha;   // ANI2 targets: the top left pixel; -1: not checked
  const char* what;   // part of what is said
};

Bytes Of(const TTHemeFiles& e, int alpha = -1) {
  return test::StoredAs(e, Solid(static_cast<uint32_t>(e.f_width), static_cast<uint32_t>(e.f_height), 40, 120, 200,
                                 alpha));
}

TEST(ThemePortCarry, EveryRoute) {
  const TTHemeFiles jpg = Pic("JPG", 240, 320), raw = Pic("RAW", 240, 320), ani2 = Pic("ANI2", 44, 44),
                    ifg = Pic("IFG", 60, 60), bar = Pic("IFG", 240, 30), ind = Pic("ANI2", 24, 16);
  const Route routes[] = {
      {"same JPG", jpg, Of(jpg), jpg, FitMode::kCrop, CarryAction::kCopy, 200, -1, -1, "без изменений"},
      {"JPG smaller", jpg, Of(jpg), Pic("JPG", 176, 220), FitMode::kCrop, CarryAction::kConvert, 200, -1, -1,
       "JPG 240x320 → JPG 176x220, обрезать по краям"},
      {"RAW smaller", raw, Of(raw), Pic("RAW", 176, 220), FitMode::kPad, CarryAction::kConvert, 200, -1, -1,
       "вписать с полями"},
      {"RAW to JPG same size", raw, Of(raw), jpg, FitMode::kCrop, CarryAction::kConvert, 200, -1, -1,
       "RAW 240x320 → JPG 240x320"},
      {"JPG to RAW", jpg, Of(jpg), Pic("RAW", 176, 220), FitMode::kStretch, CarryAction::kConvert, 200, -1, -1,
       "растянуть"},
      {"ANI2 to IFG", ani2, Of(ani2, 255), Pic("IFG", 32, 32), FitMode::kCrop, CarryAction::kConvert, 200, -1, -1, ""},
      {"IFG to ANI2", ifg, Of(ifg), ani2, FitMode::kCrop, CarryAction::kConvert, 200, 252, 252, ""},
      {"IFG to ANI2 padded transparent", bar, Of(bar), ind, FitMode::kPad, CarryAction::kConvert, 200, 252, 0, ""},
      {"transparent ANI2 to RAW over black", ind, Of(ind, 0), Pic("RAW", 16, 12), FitMode::kCrop,
       CarryAction::kConvert, 0, -1, -1, ""},
      {"ANI2 keeps its alpha", ind, Of(ind, 128), Pic("ANI2", 16, 12), FitMode::kStretch, CarryAction::kConvert, -1,
       128, 128, ""},
      {"JPG to ANI2", jpg, Of(jpg), ind, FitMode::kStretch, CarryAction::kConvert, 200, 252, 252, ""},
      {"IFG to JPG", ifg, Of(ifg), jpg, FitMode::kCrop, CarryAction::kConvert, 200, -1, -1, ""},
      {"colour table same size", Tab(512), Of(Tab(512)), Tab(512), FitMode::kCrop, CarryAction::kCopy, -1, -1, -1,
       "без изменений"},
      {"colour table other size", Tab(512), Of(Tab(512)), Tab(384), FitMode::kCrop, CarryAction::kNone, -1, -1, -1,
       "512 байт, нужно 384"},
      {"colour table to picture", Tab(512), Of(Tab(512)), jpg, FitMode::kCrop, CarryAction::kNone, -1, -1, -1,
       "COLORTAB"},
      {"absent source", jpg, {}, jpg, FitMode::kCrop, CarryAction::kNone, -1, -1, -1, "отсутствует"},
      {"damaged source", ifg, Bytes(100, 0x55), jpg, FitMode::kCrop, CarryAction::kNone, -1, -1, -1, "не читается"},
  };
  for (const Route& r : routes) {
    SCOPED_TRACE(r.name);
    const CarriedFile carried = CarryThemeFile(r.from, r.bytes, r.to, FitChoice{r.mode, false});
    EXPECT_EQ(carried.action, r.action);
    EXPECT_NE(carried.what.find(r.what), std::string::npos) << carried.what;
    EXPECT_EQ(PlanCarry(r.from, r.bytes, r.to, FitChoice{r.mode, false}).action == CarryAction::kNone,
              r.action == CarryAction::kNone && std::string(r.name) != "damaged source");
    if (r.action == CarryAction::kNone) {
      EXPECT_TRUE(carried.bytes.empty());
      continue;
    }
    if (r.action == CarryAction::kCopy) { EXPECT_EQ(carried.bytes, r.bytes); }
    if (KindOf(r.to.f_type) == FileKind::kColorTab) continue;
    const Image shown = MakePreviewPicture(carried.bytes, r.to).image;
    ASSERT_EQ(shown.width, static_cast<uint32_t>(r.to.f_width));
    ASSERT_EQ(shown.height, static_cast<uint32_t>(r.to.f_height));
    const uint32_t cx = shown.width / 2, cy = shown.height / 2;
    if (r.centre_red >= 0) { EXPECT_NEAR(shown.Pixel(cx, cy)[2], r.centre_red, 12); }
    if (r.centre_alpha >= 0) { EXPECT_NEAR(shown.alpha[cy * shown.width + cx], r.centre_alpha, 4); }
    if (r.corner_alpha >= 0) { EXPECT_NEAR(shown.alpha[0], r.corner_alpha, 4); }
  }
}

// The whole theme: files carried as paired, the header's texts, type and icon taken along,
// and the result passes the check once the unpaired files are filled.
TEST(ThemePortTheme, CarriesFilesAndHeader) {
  const OpenedTheme from = test::SampleTheme("QB-X240");
  const ThemeMap to = SampleMap("QB-C176");
  const std::vector<PortPair> pairs = PairThemeFiles(from.map, to);
  std::optional<PortedTheme> ported = PortTheme(from.theme, from.map, to, PairedSources(pairs), FitChoice{});
  ASSERT_TRUE(ported);
  ASSERT_EQ(ported->files.size(), 10u);
  for (int k = 0; k < 8; ++k) EXPECT_EQ(ported->files[static_cast<size_t>(k)].action, CarryAction::kConvert) << k;
  EXPECT_EQ(ported->files[8].action, CarryAction::kNone);
  EXPECT_EQ(ported->theme.HeldFiles(), 8);
  EXPECT_EQ(HeaderText(ported->theme, kAuthorField), "Автор образца");
  EXPECT_EQ(HeaderText(ported->theme, kNameField), "Образец QB-X240");
  EXPECT_EQ(ThemeModel(ported->theme), "QB-C176");

  // Back to a model with an icon: the icon and the type come along.
  OpenedTheme x240 = test::SampleTheme("QB-X240");
  SetThemeType(x240.theme, 1);
  SetThemeIcon(x240.theme, Solid(44, 44, 0, 255, 0));
  std::optional<PortedTheme> same =
      PortTheme(x240.theme, x240.map, x240.map, PairedSources(PairThemeFiles(x240.map, x240.map)), FitChoice{});
  ASSERT_TRUE(same);
  EXPECT_EQ(same->theme, x240.theme);
  EXPECT_EQ(CheckTheme(same->theme, x240.map).Errors(), 0);
}

TEST(ThemePortTheme, ProgressCountsAndStops) {
  const OpenedTheme from = test::SampleTheme("QB-X240");
  const ThemeMap to = SampleMap("QB-C176");
  const auto sources = PairedSources(PairThemeFiles(from.map, to));
  std::vector<int> seen;
  PortTheme(from.theme, from.map, to, sources, FitChoice{}, [&](int done, int total) {
    EXPECT_EQ(total, 10);
    seen.push_back(done);
    return true;
  });
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  int calls = 0;
  EXPECT_FALSE(PortTheme(from.theme, from.map, to, sources, FitChoice{}, [&](int, int) { return ++calls < 3; }));
  EXPECT_EQ(calls, 3);
}

}  // namespace
}  // namespace ssf
