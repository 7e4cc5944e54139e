// Formula cells in scheme workbooks. tests/workbooks/formulas.* are one scheme saved by a
// spreadsheet program (ssconvert, see tests/workbooks/README.md) as .xls, .xlsx and .ods:
// each must read the same texts and copy the same bytes.
#include <gtest/gtest.h>

#include "SchemeWorkbooks.h"
#include "TestSupport.h"
#include "base/FileIO.h"
#include "tools/colours/ColorsCopy.h"
#include "tools/workbook/Workbook.h"

namespace ssf::test {
namespace {

const std::filesystem::path kFixtures = std::filesystem::path(SSF_SOURCE_DIR) / "tests/workbooks";
const char* const kSavedFormats[] = {"formulas.xls", "formulas.xlsx", "formulas.ods"};

TEST(WorkbookFormulaTest, SavedSchemeReadsTheSameInEveryFormat) {
  struct Case {
    int row, column;
    const char* text;
  };
  const Case cases[] = {
      {1, 1, ""},       {1, 2, "GT-A"},      {1, 3, "GT-Б"},       // C1: ="GT-"&"Б"
      {2, 1, "id1"},    {2, 3, "entry 101"},                       // ="id"&1, ="entry "&(100+1)
      {3, 2, "entry 2"},                                            // ="entry "&2
      {4, 1, "TRUE"},   {5, 1, "FALSE"},                            // TRUE, =1>2
      {6, 1, "101"},    {7, 2, "#DIV/0!"},   {8, 1, "2.5"},         // =100+1, =1/0
      {8, 3, "entry 14"}, {9, 1, "последний"}, {10, 1, ""},
  };
  for (const char* name : kSavedFormats) {
    auto book = OpenWorkbook(kFixtures / name);
    EXPECT_EQ(book->FirstSheetName(), "Colors") << name;
    for (const Case& c : cases) {
      EXPECT_EQ(book->Cell(c.row, c.column), c.text) << name << " " << CellName(c.row, c.column);
    }
  }
}

TEST(WorkbookFormulaTest, SavedSchemeCopiesTheSameBothWays) {
  TempDir dir;
  std::vector<uint8_t> first, second;
  for (int i = 0; i < 240; ++i) {
    first.push_back(static_cast<uint8_t>(i));
    second.push_back(static_cast<uint8_t>(0x80 + i));
  }
  std::vector<std::string> reference_logs[2];
  std::vector<uint8_t> reference_bytes[2];
  for (const char* name : kSavedFormats) {
    auto book = OpenWorkbook(kFixtures / name);
    for (int back = 0; back < 2; ++back) {
      WriteFile(dir / "a.tab", first);
      WriteFile(dir / "b.tab", second);
      std::vector<std::string> log;
      CopyColors(*book, dir / "a.tab", dir / "b.tab", back ? "btn_CopyFromSecondToFirst" : "btn_CopyFromFirstToSecond",
                 "x", log);
      auto written = ReadWholeFile(dir / (back ? "a.tab" : "b.tab"));
      if (reference_logs[back].empty()) {
        reference_logs[back] = log;
        reference_bytes[back] = written;
        continue;
      }
      EXPECT_EQ(log, reference_logs[back]) << name;
      EXPECT_EQ(written, reference_bytes[back]) << name;
    }
  }
  // Eight rows; only the #DIV/0! place fails.
  const std::vector<std::string> expected = {
      "`id1` успешно скопирован.",      "`Фон` успешно скопирован.",   "`TRUE` успешно скопирован.",
      "`FALSE` успешно скопирован.",    "`101` успешно скопирован.",   "`деление` не скопирован. Ошибка.",
      "`2.5` успешно скопирован.",      "`последний` успешно скопирован.", "",
      "Копирование `x` завершено.",     "Успешно: 7",                   "Ошибок: 1",
  };
  EXPECT_EQ(reference_logs[0], expected);
  ASSERT_EQ(reference_bytes[0].size(), 240u);
  EXPECT_EQ(reference_bytes[0][2 * 101], first[2 * 1]);  // id1: entry 1 -> entry 101
  EXPECT_EQ(reference_bytes[0][2 * 9], first[2 * 6]);    // FALSE: entry 6 -> entry 9
  EXPECT_EQ(reference_bytes[0][2 * 0], first[2 * 15]);   // последний: entry 15 -> entry 0
  EXPECT_EQ(reference_bytes[1][2 * 15], second[2 * 0]);  // and back
}

// The log and both tables of a copy each way, by one scheme workbook.
struct CopyOutcome {
  std::vector<std::string> log[2];
  Bytes table[2];
};

CopyOutcome CopyBothWays(const std::filesystem::path& scheme) {
  TempDir dir;
  Bytes first, second;
  for (int i = 0; i < 240; ++i) {
    first.insert(first.end(), {static_cast<uint8_t>(i), 0x01});
    second.insert(second.end(), {static_cast<uint8_t>(i), 0x02});
  }
  CopyOutcome out;
  auto book = OpenWorkbook(scheme);
  for (int back = 0; back < 2; ++back) {
    WriteFile(dir / "a.tab", first);
    WriteFile(dir / "b.tab", second);
    CopyColors(*book, dir / "a.tab", dir / "b.tab", back ? "btn_CopyFromSecondToFirst" : "btn_CopyFromFirstToSecond",
               "x", out.log[back]);
    out.table[back] = ReadWholeFile(dir / (back ? "a.tab" : "b.tab"));
  }
  return out;
}

// Workbooks of real programs, each scheme in every format: the same log and the same tables,
// and the lines that show each case read right.
TEST(WorkbookFormulaTest, RealProgramsSchemesCopyTheSameInEveryFormat) {
  struct Case {
    const char* scheme;
    std::vector<std::string> log_head;  // the first lines of the log one way
    std::vector<std::string> log_tail;  // the last lines
  };
  const std::string ok = " успешно скопирован.";
  const std::string uncomputed = "Ошибка: формула без вычисленного значения в ячейке ";
  const Case cases[] = {
      // Gnumeric: formula booleans, dates and times as serial numbers, a 9,000-character
      // formula text continued without a flags byte, and the last shared string.
      {"cases",
       {"`TRUE`" + ok, "`FALSE`" + ok, "`45322`" + ok, "`0.520833333333333`" + ok, "`45322.75`" + ok,
        "`" + [] { std::string t; for (int i = 0; i < 4500; ++i) t += "ab"; return t; }() + "`" + ok},
       {"`последняя строка`" + ok, "", "Копирование `x` завершено.", "Успешно: 43", "Ошибок: 0"}},
      // Gnumeric: a computed ="" identifier ends the scheme, as an empty one does.
      {"empty-result", {"`Фон`" + ok, ""}, {"Успешно: 1", "Ошибок: 0"}},
      // openpyxl, xlwt, odfpy: formulas without results fail their rows; dates as serials.
      {"library-cases",
       {"`c1`" + ok, "Строка 3 не скопирована. " + uncomputed + "A3.", "`c3` не скопирован. " + uncomputed + "C4.",
        "`45322`" + ok, "`0.520833333333333`" + ok, "`45322.75`" + ok, "`c7`" + ok},
       {"Успешно: 5", "Ошибок: 2"}},
  };
  for (const Case& c : cases) {
    CopyOutcome reference;
    for (const char* ext : {".xls", ".xlsx", ".ods"}) {
      const std::string name = std::string(c.scheme) + ext;
      SCOPED_TRACE(name);
      CopyOutcome got = CopyBothWays(kFixtures / name);
      if (std::string(ext) == ".xls") {
        reference = got;
        ASSERT_GE(got.log[0].size(), c.log_head.size() + c.log_tail.size());
        EXPECT_EQ(std::vector<std::string>(got.log[0].begin(), got.log[0].begin() + static_cast<ptrdiff_t>(c.log_head.size())),
                  c.log_head);
        EXPECT_EQ(std::vector<std::string>(got.log[0].end() - static_cast<ptrdiff_t>(c.log_tail.size()), got.log[0].end()),
                  c.log_tail);
        continue;
      }
      for (int back = 0; back < 2; ++back) {
        EXPECT_EQ(got.log[back], reference.log[back]);
        EXPECT_EQ(got.table[back], reference.table[back]);
      }
    }
  }
  // Rows copy the entries they name: TRUE entry 1 -> 2, the 9,000-character row 11 -> 12,
  // a filled-down formula row 8: entry 10 -> entry 58, the last row 7 -> 8.
  const CopyOutcome gnumeric = CopyBothWays(kFixtures / "cases.xls");
  for (auto [from, to] : {std::pair{1, 2}, {11, 12}, {10, 58}, {7, 8}}) {
    EXPECT_EQ(gnumeric.table[0][2 * to + 1], 0x01) << to;
    EXPECT_EQ(gnumeric.table[0][2 * to], from) << to;
  }
  EXPECT_EQ(gnumeric.table[0][2 * 13 + 1], 0x02);  // nothing written where no row points
}

// A formula in the header is refused with the scheme, in each library's format.
TEST(WorkbookFormulaTest, LibraryHeaderFormulaRefusesTheScheme) {
  for (const char* name : {"library-header.xls", "library-header.xlsx", "library-header.ods"}) {
    EXPECT_EQ(CheckColorScheme(*OpenWorkbook(kFixtures / name)).error,
              "Ошибка! Некорректная схема цветов! Формула без вычисленного значения в ячейке C1.")
        << name;
  }
}

// Cut or overwritten copies of a real .xls: each either reads or fails with an error naming
// the file, never a crash or a stray read (the sanitizer builds watch the latter).
TEST(WorkbookFormulaTest, DamagedXlsFailsCleanly) {
  TempDir dir;
  const Bytes good = ReadWholeFile(kFixtures / "formulas.xls");
  std::vector<Bytes> damaged;
  for (size_t cut : {size_t{600}, good.size() / 2, good.size() - 1}) damaged.emplace_back(good.begin(), good.begin() + cut);
  // Header fields (sector shift, table counts, first sectors), then one byte in every sector.
  for (size_t at : {30, 44, 48, 60, 68, 76}) {
    Bytes b = good;
    b[at] ^= 0x5A;
    damaged.push_back(b);
  }
  for (size_t at = 512 + 17; at < good.size(); at += 512) {
    Bytes b = good;
    b[at] = 0xFF;
    b[at + 1] = 0xFF;
    damaged.push_back(b);
  }
  int refused = 0;
  for (size_t i = 0; i < damaged.size(); ++i) {
    const auto path = dir / ("damaged" + std::to_string(i) + ".xls");
    WriteFile(path, damaged[i]);
    try {
      auto book = OpenWorkbook(path);
      for (int row = 1; row <= 10; ++row) {
        for (int column = 1; column <= 3; ++column) {
          try {
            (void)book->Cell(row, column);
          } catch (const CellError&) {
          }
        }
      }
    } catch (const SsfError& e) {
      ++refused;
      EXPECT_NE(std::string(e.what()).find(path.string()), std::string::npos) << e.what();
    }
  }
  EXPECT_GE(refused, 3);  // at least the cut copies
}

// A formula written without its computed result (xlwt for .xls, a bare <f> in .xlsx, a
// table:formula without a value in .ods) fails its row, naming the cell.
class UncomputedFormulaTest : public ::testing::TestWithParam<BookFormat> {};

TEST_P(UncomputedFormulaTest, FailsItsRowNamingTheCell) {
  TempDir dir;
  SheetSpec sheet;
  sheet.rows = {
      {"", "GT-A", "GT-B"},
      {"c1", "entry 0", "entry 1"},
      {SheetCell::Formula("\"id\"&1"), "entry 1", "entry 2"},
      {"c3", "entry 2", SheetCell::Formula("100+1")},
      {"c4", "entry 3", "entry 4"},
  };
  auto path = dir / (std::string("scheme") + Extension(GetParam()));
  WriteWorkbook(path, sheet, GetParam());
  auto book = OpenWorkbook(path);
  try {
    book->Cell(4, 3);
    ADD_FAILURE() << "C4 read as text";
  } catch (const CellError& e) {
    EXPECT_EQ(e.cell, "C4");
  }

  WriteFile(dir / "a.tab", std::vector<uint8_t>(16, 0x11));
  WriteFile(dir / "b.tab", std::vector<uint8_t>(16, 0x22));
  std::vector<std::string> log;
  ColorCopyCounts counts = CopyColors(*book, dir / "a.tab", dir / "b.tab", "btn_CopyFromFirstToSecond", "x", log);
  EXPECT_EQ(counts.copied, 2);
  EXPECT_EQ(counts.failed, 2);
  ASSERT_GE(log.size(), 4u);
  EXPECT_EQ(log[1], "Строка 3 не скопирована. Ошибка: формула без вычисленного значения в ячейке A3.");
  EXPECT_EQ(log[2], "`c3` не скопирован. Ошибка: формула без вычисленного значения в ячейке C4.");

  SheetSpec model = sheet;
  model.rows[0][2] = SheetCell::Formula("\"GT-\"&\"B\"");
  WriteWorkbook(path, model, GetParam());
  EXPECT_EQ(CheckColorScheme(*OpenWorkbook(path)).error,
            "Ошибка! Некорректная схема цветов! Формула без вычисленного значения в ячейке C1.");
}

INSTANTIATE_TEST_SUITE_P(Formats, UncomputedFormulaTest,
                         ::testing::Values(BookFormat::kXls, BookFormat::kXlsx, BookFormat::kOds),
                         [](const auto& info) { return std::string(Extension(info.param) + 1); });

}  // namespace
}  // namespace ssf::test
