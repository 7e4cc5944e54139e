#include <gtest/gtest.h>

#include <functional>
#include <nlohmann/json.hpp>

#include "PictureSupport.h"
#include "ThemeFileTestSupport.h"
#include "theme/ThemeCheck.h"
#include "theme/ThemeContainer.h"

namespace ssf {
namespace {

using test::KindsTheme;

// A theme of every kind with every file sound and an icon drawn: the check finds nothing.
struct CleanTheme : KindsTheme {
  CleanTheme() {
    FillAll();
    Header()[kIconOffset + 5] = 0x1F;
  }
  Bytes& Header() { return f.ed->state.Theme->Header; }
  Bytes& SlotBytes(int k) { return f.ed->state.Theme->NewFiles.at(static_cast<size_t>(k)).f_file; }
};

TEST(ThemeCheck, CleanThemeHasNoProblem) {
  CleanTheme t;
  ThemeCheckReport r = CheckTheme(*t.ed().state.Theme, t.ed().state.Map);
  for (const CheckProblem& p : r.problems) ADD_FAILURE() << p.index << " " << p.text;
  EXPECT_EQ(r.Errors(), 0);
}

struct Case {
  const char* name;
  std::function<void(CleanTheme&)> spoil;
  int index;
  CheckKind kind;
  CheckSeverity severity;
  const char* text;  // a part of the problem's text
};

Bytes Cut(Bytes b, size_t n) {
  b.resize(n);
  return b;
}

const Case kCases[] = {
    // The count at 148 lowered with it, or that differs too.
    {"absent",
     [](CleanTheme& t) {
       t.SlotBytes(test::kIfgFile).clear();
       WriteI32LE(t.Header(), kFileCountOffset, 7);
     },
     test::kIfgFile, CheckKind::kAbsent,
     CheckSeverity::kError, "Файл отсутствует"},
    {"jpg not jfif", [](CleanTheme& t) { t.SlotBytes(test::kJpgFile) = test::RawOf(240, 320); }, test::kJpgFile,
     CheckKind::kUndecodable, CheckSeverity::kError, "JFIF"},
    {"jpg cut short", [](CleanTheme& t) { t.SlotBytes(test::kJpgFile) = Cut(test::JpegOf(240, 320), 400); },
     test::kJpgFile, CheckKind::kUndecodable, CheckSeverity::kError, "JPEG-изображение не читается"},
    {"jpg other size", [](CleanTheme& t) { t.SlotBytes(test::kWideJpgFile) = test::JpegOf(320, 16); },
     test::kWideJpgFile, CheckKind::kWrongSize, CheckSeverity::kError, "Размер изображения 320x16, по карте нужен 320x8"},
    // Told from the header alone: the hundreds of scans behind it are never decoded.
    {"jpg claims a huge picture", [](CleanTheme& t) { t.SlotBytes(test::kWideJpgFile) = test::EmptyScanJpeg(16384, 4096, 497); },
     test::kWideJpgFile, CheckKind::kWrongSize, CheckSeverity::kError, "Размер изображения 16384x4096, по карте нужен 320x8"},
    {"raw length", [](CleanTheme& t) { t.SlotBytes(test::kRawFile).pop_back(); }, test::kRawFile,
     CheckKind::kUndecodable, CheckSeverity::kError, "Длина 153599 байт, для RAW 240x320 нужно 153600"},
    {"ani2 no magic", [](CleanTheme& t) { t.SlotBytes(test::kAni2File)[0] = 'X'; }, test::kAni2File,
     CheckKind::kUndecodable, CheckSeverity::kError, "нет подписи ANI2"},
    {"ani2 length", [](CleanTheme& t) { t.SlotBytes(test::kAni2File).push_back(0); }, test::kAni2File,
     CheckKind::kUndecodable, CheckSeverity::kError, "Длина 393 байт, для ANI2 16x8 по заголовку нужно 392"},
    {"ani2 other size", [](CleanTheme& t) { t.SlotBytes(test::kAni2File) = test::Ani2Of(8, 16); }, test::kAni2File,
     CheckKind::kWrongSize, CheckSeverity::kError, "Размер изображения 8x16, по карте нужен 16x8"},
    {"ifg no magic", [](CleanTheme& t) { t.SlotBytes(test::kIfgFile) = test::RawOf(16, 8); }, test::kIfgFile,
     CheckKind::kUndecodable, CheckSeverity::kError, "нет подписи IFEG"},
    {"ifg bad mode", [](CleanTheme& t) { t.SlotBytes(test::kIfgFile)[8] = 7; }, test::kIfgFile,
     CheckKind::kUndecodable, CheckSeverity::kError, "IFEG-изображение не читается: повреждённые данные IFEG"},
    {"ifg stream cut", [](CleanTheme& t) { t.SlotBytes(test::kIfgFile) = Cut(test::IfgOf(16, 8), 17); },
     test::kIfgFile, CheckKind::kUndecodable, CheckSeverity::kError, "IFEG-изображение не читается"},
    {"ifg other size", [](CleanTheme& t) { t.SlotBytes(test::kIfgFile) = test::IfgOf(16, 9); }, test::kIfgFile,
     CheckKind::kWrongSize, CheckSeverity::kError, "Размер изображения 16x9, по карте нужен 16x8"},
    {"colortab length", [](CleanTheme& t) { t.SlotBytes(test::kColorTabFile).pop_back(); }, test::kColorTabFile,
     CheckKind::kWrongSize, CheckSeverity::kError, "Длина таблицы цветов 63 байт, по карте нужно 64"},
    {"count at 148", [](CleanTheme& t) { WriteI32LE(t.Header(), kFileCountOffset, 7); }, -1, CheckKind::kFileCount,
     CheckSeverity::kError, "Число файлов в заголовке (смещение 148): 7, в теме файлов: 8"},
    {"model byte 0x98", [](CleanTheme& t) { t.Header()[kModelOffset + 2] = 0x98; }, -1, CheckKind::kModelText,
     CheckSeverity::kError, "Windows-1251"},
    {"model control byte", [](CleanTheme& t) { t.Header()[kModelOffset + 2] = 0x07; }, -1, CheckKind::kModelText,
     CheckSeverity::kError, "Windows-1251"},
    {"author fills its field",
     [](CleanTheme& t) { std::fill_n(t.Header().begin() + kAuthorOffset, kAuthorSize, uint8_t{'a'}); }, -1,
     CheckKind::kAuthorText, CheckSeverity::kError, "Автор темы занимает всё поле (52 байт)"},
    {"name not utf-8", [](CleanTheme& t) { t.Header()[kThemeNameOffset + 1] = 0xE9; }, -1, CheckKind::kNameText,
     CheckSeverity::kError, "Название темы не в кодировке UTF-8"},
    {"icon all zero",
     [](CleanTheme& t) { std::fill_n(t.Header().begin() + kIconOffset, kIconBytes, uint8_t{0}); }, -1,
     CheckKind::kEmptyIcon, CheckSeverity::kWarning, "Иконка темы пуста"},
};

TEST(ThemeCheck, EachProblemIsFoundOnceWithItsFileAndText) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    CleanTheme t;
    c.spoil(t);
    ThemeCheckReport r = CheckTheme(*t.ed().state.Theme, t.ed().state.Map);
    ASSERT_EQ(r.problems.size(), 1u) << (r.problems.empty() ? "" : r.problems.back().text);
    const CheckProblem& p = r.problems[0];
    EXPECT_EQ(p.index, c.index);
    EXPECT_EQ(p.kind, c.kind);
    EXPECT_EQ(p.severity, c.severity);
    EXPECT_NE(p.text.find(c.text), std::string::npos) << p.text;
    EXPECT_EQ(p.text.find('\n'), std::string::npos) << p.text;
    if (c.index >= 0) {
      EXPECT_EQ(p.path, t.ed().state.Map.Tree.PathOf(t.ed().state.Map.Tree.FileNode(c.index)));
    } else {
      EXPECT_EQ(p.path, "");
    }
    EXPECT_EQ(r.Errors() + r.Warnings(), 1);
    EXPECT_EQ(r.Errors(), c.severity == CheckSeverity::kError ? 1 : 0);
  }
}

TEST(ThemeCheck, CacheFollowsEveryChangeOfBytesAndEntry) {
  CleanTheme t;
  ThemeCheckCache cache;
  EXPECT_TRUE(cache.Update(*t.ed().state.Theme, t.ed().state.Map).problems.empty());
  // Same length, other bytes: the hash notices.
  t.SlotBytes(test::kRawFile).assign(t.SlotBytes(test::kRawFile).size(), 0);
  EXPECT_TRUE(cache.Update(*t.ed().state.Theme, t.ed().state.Map).problems.empty());
  t.SlotBytes(test::kAni2File)[0] = 'X';
  ASSERT_EQ(cache.Update(*t.ed().state.Theme, t.ed().state.Map).problems.size(), 1u);
  EXPECT_EQ(cache.Report().problems[0].index, test::kAni2File);
  t.SlotBytes(test::kAni2File)[0] = 'A';
  EXPECT_TRUE(cache.Update(*t.ed().state.Theme, t.ed().state.Map).problems.empty());
  // The map entry changes without the bytes.
  t.ed().state.Map.ThemeFiles[test::kRawFile].f_height = 10;
  ASSERT_EQ(cache.Update(*t.ed().state.Theme, t.ed().state.Map).problems.size(), 1u);
  EXPECT_EQ(cache.Report().problems[0].index, test::kRawFile);
  // A new theme of another length.
  t.ed().state.Theme->NewFiles.resize(3);
  cache.Update(*t.ed().state.Theme, t.ed().state.Map);
  EXPECT_EQ(cache.Report().ForFile(test::kRawFile).size(), 1u);
  EXPECT_EQ(cache.Report().problems.back().kind, CheckKind::kFileCount);
}

// A file slow to check (hundreds of scans over the whole picture) is left to another
// thread when the caller allows it: it shows nothing until its result is stored, is asked
// for once, and a result for bytes since replaced is dropped.
TEST(ThemeCheck, CacheDefersSlowFilesAndTakesOnlyCurrentResults) {
  CleanTheme t;
  const Bytes slow = test::EmptyScanJpeg(240, 320, 497);
  ASSERT_TRUE(IsSlowToCheck(slow, t.ed().state.Map.ThemeFiles[test::kJpgFile]));
  EXPECT_FALSE(IsSlowToCheck(t.SlotBytes(test::kJpgFile), t.ed().state.Map.ThemeFiles[test::kJpgFile]));
  t.SlotBytes(test::kJpgFile) = slow;
  t.SlotBytes(test::kRawFile).pop_back();  // a fast problem is found at once beside it
  const Theme& theme = *t.ed().state.Theme;
  const ThemeMap& map = t.ed().state.Map;

  ThemeCheckCache cache;
  std::vector<DeferredCheck> deferred;
  cache.Update(theme, map, &deferred);
  ASSERT_EQ(deferred.size(), 1u);
  EXPECT_EQ(deferred[0].index, test::kJpgFile);
  EXPECT_EQ(deferred[0].stored, slow);
  EXPECT_EQ(cache.Pending(), 1);
  ASSERT_EQ(cache.Report().problems.size(), 1u);
  EXPECT_EQ(cache.Report().problems[0].index, test::kRawFile);
  cache.Update(theme, map, &deferred);
  EXPECT_EQ(deferred.size(), 1u) << "asked for once";

  std::vector<CheckProblem> result = CheckThemeFile(deferred[0].index, deferred[0].stored, deferred[0].entry);
  EXPECT_TRUE(result.empty()) << result[0].text;
  result.push_back({test::kJpgFile, "", CheckKind::kUndecodable, CheckSeverity::kError, "из другого потока"});
  EXPECT_FALSE(cache.Store(test::kJpgFile, deferred[0].ticket + 1, result));
  EXPECT_TRUE(cache.Store(test::kJpgFile, deferred[0].ticket, result));
  EXPECT_EQ(cache.Pending(), 0);
  cache.Update(theme, map, &deferred);
  ASSERT_EQ(cache.Report().ForFile(test::kJpgFile).size(), 1u);
  EXPECT_EQ(cache.Report().ForFile(test::kJpgFile)[0]->path, "Картинки/Обои: главные");

  // New bytes while a check is out: the old answer no longer fits.
  t.SlotBytes(test::kJpgFile) = test::EmptyScanJpeg(240, 320, 496);
  cache.Update(theme, map, &deferred);
  ASSERT_EQ(deferred.size(), 2u);
  EXPECT_FALSE(cache.Store(test::kJpgFile, deferred[0].ticket, result));
  EXPECT_TRUE(cache.Report().ForFile(test::kJpgFile).empty());
  // Without deferring, the file is checked here and the answer still out is dropped.
  cache.Update(theme, map);
  EXPECT_EQ(cache.Pending(), 0);
  EXPECT_FALSE(cache.Store(test::kJpgFile, deferred[1].ticket, result));
}

TEST(ThemeCheck, SaveRefusalNamesTheFirstAbsentFilesAndCountsTheRest) {
  KindsTheme t;  // a new theme: all eight absent
  t.f.ed->state.Theme->NewFiles[test::kRawFile].f_file = test::RawOf(240, 320);
  t.f.ui.AnswerSave(t.f.dir / "x.ssf");
  MM_Child_SaveThemeClick(t.ed());
  EXPECT_EQ(t.f.ui.OnlyMessage().text,
            "Сохранение темы невозможно, пока не прикреплены все файлы!\r\n\r\n"
            "Не прикреплены:\r\n"
            "0: Картинки/Обои: главные\r\n"
            "2: Картинки/Часы: анимация\r\n"
            "3: Картинки/Значок*\r\n"
            "4: Картинки/Широкий RAW\r\n"
            "5: Картинки/Широкий ANI2\r\n"
            "... и ещё 2");
  EXPECT_FALSE(std::filesystem::exists(t.f.dir / "x.ssf"));
}

struct CliCheckTest : ::testing::Test {
  CleanTheme t;
  test::CliResult Check(const std::filesystem::path& theme, bool json) {
    std::vector<std::string> args{"--maps", (t.f.dir / "ThemeMaps").string(), "check", theme.string()};
    if (json) args.push_back("--json");
    return test::RunCli(args);
  }
};

TEST_F(CliCheckTest, CleanThemeExitsZeroAndAWarningDoesNotFailIt) {
  auto clean = t.f.Save("clean.ssf");
  auto r = Check(clean, false);
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "Файлов: 8, ошибок: 0, предупреждений: 0\n");

  std::fill_n(t.Header().begin() + kIconOffset, kIconBytes, uint8_t{0});
  auto no_icon = t.f.Save("noicon.ssf");
  r = Check(no_icon, false);
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out,
            "-\t\tпредупреждение: Иконка темы пуста (все байты нулевые)\n"
            "Файлов: 8, ошибок: 0, предупреждений: 1\n");
}

TEST_F(CliCheckTest, ProblemsAsLinesAndAsJsonExitOne) {
  t.SlotBytes(test::kIfgFile) = test::IfgOf(16, 9);
  WriteI32LE(t.Header(), kFileCountOffset, 9);
  auto theme = t.f.Save("bad.ssf");
  auto r = Check(theme, false);
  EXPECT_EQ(r.code, 1) << r.err;
  EXPECT_EQ(r.out,
            "3\tКартинки/Значок*\tРазмер изображения 16x9, по карте нужен 16x8\n"
            "-\t\tЧисло файлов в заголовке (смещение 148): 9, в теме файлов: 8\n"
            "Файлов: 8, ошибок: 2, предупреждений: 0\n");

  r = Check(theme, true);
  EXPECT_EQ(r.code, 1) << r.err;
  auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["theme"], theme.string());
  EXPECT_EQ(j["model"], "KINDS-1");
  EXPECT_EQ(j["map"], "KINDS-1.rxt");
  EXPECT_EQ(j["files"], 8);
  EXPECT_EQ(j["problems"], nlohmann::json::parse(R"([
    {"index": 3, "path": "Картинки/Значок*", "kind": "wrong-size", "severity": "error",
     "problem": "Размер изображения 16x9, по карте нужен 16x8"},
    {"index": null, "path": "", "kind": "file-count", "severity": "error",
     "problem": "Число файлов в заголовке (смещение 148): 9, в теме файлов: 8"}])"));
}

TEST_F(CliCheckTest, ThemeThatDoesNotOpenFailsWithTheEditorsReason) {
  auto theme = t.f.dir / "short.ssf";
  test::WriteFile(theme, Bytes(100, 0));
  auto r = Check(theme, false);
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err, "");
  r = test::RunCli({"check"});
  EXPECT_EQ(r.code, 2);
}

}  // namespace
}  // namespace ssf
