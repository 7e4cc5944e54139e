// The colour copy tool: place cells, the scheme check, the copy loop with its log, and the
// window's handlers driven through a scripted Ui.
#include <gtest/gtest.h>

#include <tuple>

#include "SchemeWorkbooks.h"
#include "ScriptedUi.h"
#include "TestSupport.h"
#include "base/IniDocument.h"
#include "base/SsfError.h"
#include "tools/colours/ColorsCopy.h"
#include "tools/colours/ColorsCopyTool.h"
#include "platform/Files.h"

namespace ssf::test {
namespace {

using Lines = std::vector<std::string>;

// Which file stands at the path: a save puts another one there.
uint64_t Inode(const std::filesystem::path& p) {
  const std::optional<FileStamp> stamp = StampOf(p);
  EXPECT_TRUE(stamp.has_value()) << p;
  return stamp ? stamp->inode : 0;
}

// Entry i of a colour file of n entries holds bytes (base + i, base + 0x10 + i).
std::vector<uint8_t> ColourFile(int entries, uint8_t base) {
  std::vector<uint8_t> b;
  for (int i = 0; i < entries; ++i) {
    b.push_back(static_cast<uint8_t>(base + i));
    b.push_back(static_cast<uint8_t>(base + 0x10 + i));
  }
  return b;
}

// Ten colours; colour i lies at entry i of the first file and entry 9 - i of the second.
// The colour at `broken_row` (0-based; -1 for none) has an empty column C.
SheetSpec TenColours(int broken_row) {
  SheetSpec s;
  s.rows.push_back({"", "GT-A", "GT-B"});
  for (int i = 0; i < 10; ++i) {
    std::string c = i == broken_row ? "" : "entry " + std::to_string(9 - i);
    s.rows.push_back({"Цвет" + std::to_string(i + 1), "entry " + std::to_string(i), c});
  }
  return s;
}

TEST(ColorsCopyTest, GetColorOffset) {
  const std::pair<const char*, int64_t> cases[] = {
      {"entry 12", 24}, {"entry 0", 0},          {"Цвет 7", 14},      {"entry +3", 6},
      {"entry -2", -4}, {"12", -1},              {"entry twelve", -1}, {"", -1},
      {"entry", -1},    {"entry ", -1},          {"entry -1", -1},     {"entry 12x", -1},
      {"a b 3", -1},    {"entry 99999999999", -1}, {"entry 1073741824", 2147483648LL},
  };
  for (const auto& [text, offset] : cases) EXPECT_EQ(GetColorOffset(text), offset) << '"' << text << '"';
}

TEST(ColorsCopyTest, SchemeCheck) {
  struct Case {
    const char* sheet;
    const char* b1;
    const char* c1;
    const char* error;
  };
  const Case cases[] = {
      {"Colors", "GT-A", "GT-B", ""},
      {"Colours", "GT-A", "GT-B", "Ошибка! Некорректная схема цветов! Некорректное название листа."},
      {"colors", "GT-A", "GT-B", "Ошибка! Некорректная схема цветов! Некорректное название листа."},
      {"Colors", "", "GT-B", "Ошибка! Некорректная схема цветов! Отсутствует название первой модели телефона."},
      {"Colors", "", "", "Ошибка! Некорректная схема цветов! Отсутствует название первой модели телефона."},
      {"Colors", "GT-A", "", "Ошибка! Некорректная схема цветов! Отсутствует название второй модели телефона."},
  };
  for (const Case& c : cases) {
    MemoryWorkbook book(c.sheet);
    book.SetCell(1, 2, c.b1);
    book.SetCell(1, 3, c.c1);
    ColorSchemeCheck check = CheckColorScheme(book);
    EXPECT_EQ(check.accepted, *c.error == '\0') << c.sheet << " " << c.b1 << " " << c.c1;
    EXPECT_EQ(check.error, c.error);
  }
  EXPECT_EQ(CopyCaption("GT-A", "GT-B"), "GT-A->GT-B");
}

class ColorsCopyRowsTest : public ::testing::TestWithParam<std::tuple<BookFormat, int>> {};

// One invalid row anywhere: nine copied, one failed line in its place, the first file
// untouched; copying back reverses every entry.
TEST_P(ColorsCopyRowsTest, NineCopiedOneFailedThenBack) {
  auto [format, broken] = GetParam();
  TempDir dir;
  auto scheme_path = dir / (std::string("scheme") + Extension(format));
  WriteWorkbook(scheme_path, TenColours(broken), format);
  auto first = dir / "first.tab", second = dir / "second.tab";
  WriteFile(first, ColourFile(10, 0xA0));
  WriteFile(second, ColourFile(10, 0xC0));

  auto scheme = OpenWorkbook(scheme_path);
  ColorSchemeCheck check = CheckColorScheme(*scheme);
  ASSERT_TRUE(check.accepted) << check.error;
  std::string caption = CopyCaption(check.first_model, check.second_model);
  Lines log;
  ColorCopyCounts n = CopyColors(*scheme, first, second, "btn_CopyFromFirstToSecond", caption, log);
  EXPECT_EQ(n.copied, 9);
  EXPECT_EQ(n.failed, 1);
  Lines expected;
  for (int i = 0; i < 10; ++i) {
    expected.push_back("`Цвет" + std::to_string(i + 1) + "`" +
                       (i == broken ? " не скопирован. Ошибка." : " успешно скопирован."));
  }
  for (const char* tail : {"", "Копирование `GT-A->GT-B` завершено.", "Успешно: 9", "Ошибок: 1"}) {
    expected.push_back(tail);
  }
  EXPECT_EQ(log, expected);

  EXPECT_EQ(ReadFile(first), ColourFile(10, 0xA0));
  auto want = ColourFile(10, 0xC0);
  auto src = ColourFile(10, 0xA0);
  for (int i = 0; i < 10; ++i) {
    if (i == broken) continue;
    want[2 * (9 - i)] = src[2 * i];
    want[2 * (9 - i) + 1] = src[2 * i + 1];
  }
  EXPECT_EQ(ReadFile(second), want);

  // Back the other way: the second file's entries go to the first, the second stays.
  WriteFile(second, ColourFile(10, 0x50));
  log.clear();
  n = CopyColors(*scheme, first, second, "btn_CopyFromSecondToFirst", "GT-B->GT-A", log);
  EXPECT_EQ(n.copied, 9);
  EXPECT_EQ(log[static_cast<size_t>(broken)], "`Цвет" + std::to_string(broken + 1) + "` не скопирован. Ошибка.");
  EXPECT_EQ(log[11], "Копирование `GT-B->GT-A` завершено.");
  EXPECT_EQ(ReadFile(second), ColourFile(10, 0x50));
  auto back = ColourFile(10, 0xA0);
  auto from = ColourFile(10, 0x50);
  for (int i = 0; i < 10; ++i) {
    if (i == broken) continue;
    back[2 * i] = from[2 * (9 - i)];
    back[2 * i + 1] = from[2 * (9 - i) + 1];
  }
  EXPECT_EQ(ReadFile(first), back);
}

INSTANTIATE_TEST_SUITE_P(
    FormatsAndPlaces, ColorsCopyRowsTest,
    ::testing::Combine(::testing::Values(BookFormat::kXls, BookFormat::kXlsx, BookFormat::kOds),
                       ::testing::Values(0, 4, 9)),
    [](const auto& info) {
      return std::string(Extension(std::get<0>(info.param)) + 1) + "_row" + std::to_string(std::get<1>(info.param));
    });

TEST(ColorsCopyTest, EmptySchemeRewritesDestinationUnchanged) {
  TempDir dir;
  MemoryWorkbook scheme("Colors");
  scheme.SetCell(1, 2, "GT-A");
  scheme.SetCell(1, 3, "GT-B");
  scheme.SetCell(3, 1, "after the end");  // never reached: row 2 ends the scheme
  scheme.SetCell(3, 2, "entry 0");
  scheme.SetCell(3, 3, "entry 0");
  auto first = dir / "first.tab", second = dir / "second.tab";
  WriteFile(first, ColourFile(4, 0x10));
  WriteFile(second, ColourFile(4, 0x20));
  uint64_t before = Inode(second);
  Lines log;
  ColorCopyCounts n = CopyColors(scheme, first, second, "btn_CopyFromFirstToSecond", "GT-A->GT-B", log);
  EXPECT_EQ(n.copied + n.failed, 0);
  EXPECT_EQ(log, (Lines{"Ошибка! Пустая схема цветов!", "", "Копирование `GT-A->GT-B` завершено.", "Успешно: 0",
                        "Ошибок: 0"}));
  EXPECT_EQ(ReadFile(second), ColourFile(4, 0x20));
  EXPECT_NE(Inode(second), before) << "the destination is written back even when nothing was copied";
}

// Offsets outside the files refuse the row; an entry at the destination's end, or one
// byte before it, lengthens the destination.
TEST(ColorsCopyTest, OffsetsAtAndBeyondTheEnds) {
  struct Case {
    const char* name;
    size_t second_size;
    const char* b;
    const char* c;
    bool copied;
    size_t size_after;
  };
  const Case cases[] = {
      {"inside", 8, "entry 3", "entry 3", true, 8},
      {"source last entry", 8, "entry 3", "entry 0", true, 8},
      {"source past end", 8, "entry 4", "entry 0", false, 8},
      {"source far out", 8, "entry 1000000", "entry 0", false, 8},
      {"source negative", 8, "entry -2", "entry 0", false, 8},
      {"dest at end", 8, "entry 1", "entry 4", true, 10},
      {"dest one byte before end", 9, "entry 1", "entry 4", true, 10},
      {"dest past end", 8, "entry 1", "entry 5", false, 8},
      {"dest far out", 8, "entry 1", "entry 1073741823", false, 8},
      {"dest negative", 8, "entry 1", "entry -5", false, 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    MemoryWorkbook scheme("Colors");
    scheme.SetCell(2, 1, "id");
    scheme.SetCell(2, 2, c.b);
    scheme.SetCell(2, 3, c.c);
    scheme.SetCell(3, 1, "next");  // a refused row does not stop the copy
    scheme.SetCell(3, 2, "entry 0");
    scheme.SetCell(3, 3, "entry 1");
    auto first = dir / "first.tab", second = dir / "second.tab";
    WriteFile(first, ColourFile(4, 0x10));
    auto dest = ColourFile(5, 0x60);
    dest.resize(c.second_size);
    WriteFile(second, dest);
    Lines log;
    ColorCopyCounts n = CopyColors(scheme, first, second, "btn_CopyFromFirstToSecond", "A->B", log);
    EXPECT_EQ(n.copied, c.copied ? 2 : 1);
    EXPECT_EQ(n.failed, c.copied ? 0 : 1);
    EXPECT_EQ(log[0], c.copied ? "`id` успешно скопирован." : "`id` не скопирован. Ошибка.");
    EXPECT_EQ(log[1], "`next` успешно скопирован.");
    auto after = ReadFile(second);
    EXPECT_EQ(after.size(), c.size_after);
    if (c.copied) {
      size_t from = static_cast<size_t>(GetColorOffset(c.b)), to = static_cast<size_t>(GetColorOffset(c.c));
      auto src = ColourFile(4, 0x10);
      EXPECT_EQ(after[to], src[from]);
      EXPECT_EQ(after[to + 1], src[from + 1]);
    }
  }
}

TEST(ColorsCopyTest, UnreadableColourFileStopsBeforeWriting) {
  TempDir dir;
  MemoryWorkbook scheme("Colors");
  scheme.SetCell(2, 1, "id");
  scheme.SetCell(2, 2, "entry 0");
  scheme.SetCell(2, 3, "entry 0");
  auto second = dir / "second.tab";
  WriteFile(second, ColourFile(2, 0x20));
  uint64_t before = Inode(second);
  Lines log;
  EXPECT_THROW(CopyColors(scheme, dir / "missing.tab", second, "btn_CopyFromFirstToSecond", "A->B", log), SsfError);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(Inode(second), before);
}

TEST(ColorsCopyTest, DestinationBehindALinkKeepsTheLinkAndSpecialFilesAreRefused) {
  TempDir dir;
  MemoryWorkbook scheme("Colors");
  scheme.SetCell(2, 1, "id");
  scheme.SetCell(2, 2, "entry 0");
  scheme.SetCell(2, 3, "entry 1");
  auto first = dir / "first.tab", real = dir / "real.tab", link = dir / "link.tab";
  WriteFile(first, ColourFile(2, 0x10));
  WriteFile(real, ColourFile(2, 0x20));
  std::filesystem::create_symlink(real, link);
  Lines log;
  CopyColors(scheme, first, link, "btn_CopyFromFirstToSecond", "A->B", log);
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadFile(real), (std::vector<uint8_t>{0x20, 0x30, 0x10, 0x20}));

  log.clear();
  EXPECT_THROW(CopyColors(scheme, first, dir.path(), "btn_CopyFromFirstToSecond", "A->B", log), SsfError);
  if (!MakeFifo(dir / "fifo.tab")) GTEST_SKIP() << "no FIFOs on this system";
  EXPECT_THROW(CopyColors(scheme, first, dir / "fifo.tab", "btn_CopyFromFirstToSecond", "A->B", log), SsfError);
  EXPECT_TRUE(log.empty());
}

// --- the window's handlers -------------------------------------------------------------

class ColorsCopyToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir / "schemes");
    std::filesystem::create_directories(dir / "one");
    std::filesystem::create_directories(dir / "two");
    WriteWorkbook(scheme_path, TenColours(-1), BookFormat::kXlsx);
    WriteFile(first, ColourFile(10, 0xA0));
    WriteFile(second, ColourFile(10, 0xC0));
  }
  std::string Setting(const char* key) {
    return IniDocument::Load(dir / "settings.ini").ReadString("CopyColors", key, "<none>");
  }

  TempDir dir;
  std::filesystem::path scheme_path = dir / "schemes" / "scheme.xlsx";
  std::filesystem::path first = dir / "one" / "first.tab";
  std::filesystem::path second = dir / "two" / "second.tab";
  ScriptedUi ui;
  IniDocument settings = IniDocument::Load(dir / "settings.ini");
  ColorsCopyTool tool{ui, settings};
};

TEST_F(ColorsCopyToolTest, FilesFirstThenSchemeEnablesCopy) {
  tool.FormActivate();
  ui.AnswerSave(first);
  tool.btn_OpenColorSchemeClick("btn_OpenFirstFile");
  ui.AnswerSave(second);
  tool.btn_OpenColorSchemeClick("btn_OpenSecondFile");
  EXPECT_FALSE(tool.View().copy_enabled);
  ui.AnswerOpen(scheme_path);
  tool.btn_OpenColorSchemeClick("btn_OpenColorScheme");

  const ColorsCopyView& v = tool.View();
  EXPECT_TRUE(v.copy_enabled);
  EXPECT_EQ(v.first_to_second_caption, "GT-A->GT-B");
  EXPECT_EQ(v.second_to_first_caption, "GT-B->GT-A");
  EXPECT_EQ(v.scheme_name, "scheme.xlsx");
  EXPECT_EQ(v.first_name, "first.tab");
  EXPECT_EQ(v.second_name, "second.tab");
  EXPECT_EQ(v.scheme_path, scheme_path);
  EXPECT_EQ(v.second_path, second);
  EXPECT_TRUE(ui.messages.empty());

  ASSERT_EQ(ui.open_requests.size(), 1u);
  EXPECT_EQ(ui.open_requests[0].filter.rfind("Файл схемы цветов (*.xls)|*.xls|", 0), 0u);
  ASSERT_EQ(ui.save_requests.size(), 2u);
  EXPECT_EQ(ui.save_requests[0].filter, "Файл цветов (*.tab)|*.tab");
  EXPECT_FALSE(ui.save_requests[0].ask_overwrite);
  EXPECT_EQ(Setting("ColorSchemePath"), (dir / "schemes").string());
  EXPECT_EQ(Setting("FirstFilePath"), (dir / "one").string());
  EXPECT_EQ(Setting("SecondFilePath"), (dir / "two").string());

  tool.btn_CopyFromFirstToSecondClick("btn_CopyFromSecondToFirst");
  ASSERT_EQ(v.log.size(), 14u);
  EXPECT_EQ(v.log[11], "Копирование `GT-B->GT-A` завершено.");
  EXPECT_EQ(v.log[12], "Успешно: 10");
  EXPECT_EQ(ReadFile(second), ColourFile(10, 0xC0));
  EXPECT_NE(ReadFile(first), ColourFile(10, 0xA0));

  // The next dialogs start in the remembered folders.
  ui.CancelOpen();
  tool.btn_OpenColorSchemeClick("btn_OpenColorScheme");
  EXPECT_EQ(ui.open_requests[1].initial_dir, dir / "schemes");
  EXPECT_EQ(v.log.size(), 14u) << "a cancelled dialog keeps the log";
}

// A refused scheme changes nothing that is shown, and the copy buttons go on copying by
// the scheme their captions name.
TEST_F(ColorsCopyToolTest, RefusedSchemeKeepsTheAcceptedOne) {
  tool.FormActivate();
  ui.AnswerOpen(scheme_path);
  tool.btn_OpenColorSchemeClick("btn_OpenColorScheme");
  ui.AnswerSave(first);
  tool.btn_OpenColorSchemeClick("btn_OpenFirstFile");
  ui.AnswerSave(second);
  tool.btn_OpenColorSchemeClick("btn_OpenSecondFile");
  ASSERT_TRUE(tool.View().copy_enabled);

  SheetSpec bad = TenColours(-1);
  bad.rows[0][2] = SheetCell("");
  bad.rows[1] = {"Цвет1", "entry 0", "entry 0"};
  auto bad_path = dir / "bad.xlsx";
  WriteWorkbook(bad_path, bad, BookFormat::kXlsx);
  ui.AnswerOpen(bad_path);
  tool.btn_OpenColorSchemeClick("btn_OpenColorScheme");
  const ColorsCopyView& v = tool.View();
  EXPECT_EQ(v.log, Lines{"Ошибка! Некорректная схема цветов! Отсутствует название второй модели телефона."});
  EXPECT_EQ(v.scheme_name, "scheme.xlsx");
  EXPECT_EQ(v.first_to_second_caption, "GT-A->GT-B");
  EXPECT_TRUE(v.copy_enabled);
  EXPECT_EQ(Setting("ColorSchemePath"), dir.path().string()) << "the folder is stored once the workbook is read";

  tool.btn_CopyFromFirstToSecondClick("btn_CopyFromFirstToSecond");
  auto got = ReadFile(second);
  auto src = ColourFile(10, 0xA0);
  EXPECT_EQ(got[18], src[0]) << "colour 1 goes to entry 9 as the accepted scheme says";
}

TEST_F(ColorsCopyToolTest, UnreadableWorkbookGoesToTheErrorReport) {
  tool.FormActivate();
  WriteText(dir / "fake.xls", "not a workbook");
  ui.AnswerOpen(dir / "fake.xls");
  tool.btn_OpenColorSchemeClick("btn_OpenColorScheme");
  auto msg = ui.OnlyMessage();
  EXPECT_EQ(msg.kind, kMsgError);
  EXPECT_NE(msg.text.find((dir / "fake.xls").string()), std::string::npos) << msg.text;
  EXPECT_EQ(Setting("ColorSchemePath"), "<none>");
  EXPECT_TRUE(tool.View().scheme_name.empty());
  EXPECT_FALSE(tool.HasScheme());
}

TEST_F(ColorsCopyToolTest, CopyErrorGoesToTheErrorReport) {
  tool.FormActivate();
  ui.AnswerOpen(scheme_path);
  tool.btn_OpenColorSchemeClick("btn_OpenColorScheme");
  ui.AnswerSave(dir / "new.tab");  // a name that does not exist yet may be chosen
  tool.btn_OpenColorSchemeClick("btn_OpenFirstFile");
  ui.AnswerSave(second);
  tool.btn_OpenColorSchemeClick("btn_OpenSecondFile");
  tool.btn_CopyFromFirstToSecondClick("btn_CopyFromFirstToSecond");
  auto msg = ui.OnlyMessage();
  EXPECT_EQ(msg.kind, kMsgError);
  EXPECT_EQ(msg.text, "Не удалось прочитать файл: " + (dir / "new.tab").string() + " (файл не найден)");
  EXPECT_EQ(ReadFile(second), ColourFile(10, 0xC0));
}

TEST_F(ColorsCopyToolTest, ActivationAndClosing) {
  // Closing without a scheme, showing again and closing again: nothing to report.
  tool.FormClose();
  tool.FormActivate();
  tool.FormClose();
  EXPECT_TRUE(ui.messages.empty());

  tool.FormActivate();
  ui.AnswerOpen(scheme_path);
  tool.btn_OpenColorSchemeClick("btn_OpenColorScheme");
  ui.AnswerSave(first);
  tool.btn_OpenColorSchemeClick("btn_OpenFirstFile");
  ui.AnswerSave(second);
  tool.btn_OpenColorSchemeClick("btn_OpenSecondFile");
  tool.btn_CopyFromFirstToSecondClick("btn_CopyFromFirstToSecond");
  tool.FormClose();
  EXPECT_FALSE(tool.HasScheme());

  tool.FormActivate();
  const ColorsCopyView& v = tool.View();
  EXPECT_TRUE(v.scheme_name.empty() && v.first_name.empty() && v.second_name.empty());
  EXPECT_TRUE(v.first_to_second_caption.empty() && v.second_to_first_caption.empty());
  EXPECT_FALSE(v.copy_enabled);
  EXPECT_TRUE(v.log.empty());
  EXPECT_EQ(v.first_path, first) << "the tooltips stay";
  // The colour files alone do not enable copying without a scheme.
  ui.AnswerSave(first);
  tool.btn_OpenColorSchemeClick("btn_OpenFirstFile");
  ui.AnswerSave(second);
  tool.btn_OpenColorSchemeClick("btn_OpenSecondFile");
  EXPECT_FALSE(v.copy_enabled);
  tool.FormClose();
  EXPECT_TRUE(ui.messages.empty());
}

// --- ssftool copy-colors ---------------------------------------------------------------

TEST(CopyColorsCliTest, PrintsTheLogAndExitCodes) {
  TempDir dir;
  WriteWorkbook(dir / "scheme.ods", TenColours(4), BookFormat::kOds);
  WriteFile(dir / "a.tab", ColourFile(10, 0xA0));
  WriteFile(dir / "b.tab", ColourFile(10, 0xC0));
  auto r = RunCli({"copy-colors", (dir / "scheme.ods").string(), (dir / "a.tab").string(), (dir / "b.tab").string()});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("`Цвет5` не скопирован. Ошибка.\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\n\nКопирование `GT-A->GT-B` завершено.\nУспешно: 9\nОшибок: 1\n"), std::string::npos)
      << r.out;
  EXPECT_EQ(ReadFile(dir / "a.tab"), ColourFile(10, 0xA0));

  WriteFile(dir / "b.tab", ColourFile(10, 0x40));
  r = RunCli({"copy-colors", (dir / "scheme.ods").string(), (dir / "a.tab").string(), (dir / "b.tab").string(),
              "--reverse"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("Копирование `GT-B->GT-A` завершено."), std::string::npos) << r.out;
  EXPECT_NE(ReadFile(dir / "a.tab"), ColourFile(10, 0xA0));

  SheetSpec refused = TenColours(-1);
  refused.name = "Лист1";
  WriteWorkbook(dir / "refused.xlsx", refused, BookFormat::kXlsx);
  r = RunCli({"copy-colors", (dir / "refused.xlsx").string(), (dir / "a.tab").string(), (dir / "b.tab").string()});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "Ошибка! Некорректная схема цветов! Некорректное название листа.\n");
  EXPECT_EQ(r.out, "");

  EXPECT_EQ(RunCli({"copy-colors", (dir / "scheme.ods").string(), (dir / "a.tab").string()}).code, 2);
  EXPECT_EQ(RunCli({"copy-colors", "x", "y", "z", "--bogus"}).code, 2);
}

}  // namespace
}  // namespace ssf::test
