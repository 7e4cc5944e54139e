// The scheme workbook readers: the same cells read the same in .xls, .xlsx and .ods.
#include <gtest/gtest.h>

#include "SchemeWorkbooks.h"
#include "TestSupport.h"
#include "base/SsfError.h"
#include "tools/workbook/Workbook.h"

namespace ssf::test {
namespace {

class WorkbookFormatTest : public ::testing::TestWithParam<BookFormat> {};

// Cells as spreadsheets write them, with the forms that take the readers' rarer paths:
// equal neighbours (one repeated cell in .ods), runs of blanks (<text:s> in .ods) and
// phonetic readings (.xlsx), which are no part of the cell's text.
SheetSpec VariedSheet() {
  SheetCell reading("漢字");
  reading.phonetic = "かんじ";
  SheetSpec sheet;
  sheet.name = "Colors";
  sheet.rows = {
      {"", "GT-A", "Модель Б"},
      {"Фон", "entry 12", 12},
      {"x", -1, 0.5},
      {"", "", ""},
      {"a & <b>", 1234567, -3.25},
      {"Фон 12", "Фон 12", "a   b"},
      {"  два", 7, 7},
      {reading, reading, " x  "},
  };
  return sheet;
}

void ExpectVariedCells(const Workbook& book) {
  EXPECT_EQ(book.FirstSheetName(), "Colors");
  struct Case {
    int row, column;
    const char* text;
  };
  const Case cases[] = {
      {1, 1, ""},          {1, 2, "GT-A"},    {1, 3, "Модель Б"}, {2, 1, "Фон"},
      {2, 2, "entry 12"},  {2, 3, "12"},      {3, 2, "-1"},       {3, 3, "0.5"},
      {4, 1, ""},          {5, 1, "a & <b>"}, {5, 2, "1234567"},  {5, 3, "-3.25"},
      {6, 1, "Фон 12"},    {6, 2, "Фон 12"},  {6, 3, "a   b"},    {6, 4, ""},
      {7, 1, "  два"},     {7, 2, "7"},       {7, 3, "7"},        {8, 1, "漢字"},
      {8, 2, "漢字"},      {8, 3, " x  "},    {9, 1, ""},         {2, 4, ""},
      {65536, 3, ""},      {2000000, 1, ""},  {0, 0, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(book.Cell(c.row, c.column), c.text) << "row " << c.row << " column " << c.column;
  }
}

TEST_P(WorkbookFormatTest, ReadsFirstSheetCellsAsText) {
  TempDir dir;
  auto path = dir / (std::string("scheme") + Extension(GetParam()));
  WriteWorkbook(path, VariedSheet(), GetParam());
  ExpectVariedCells(*OpenWorkbook(path));
}

TEST(WorkbookTest, XlsxRowsAndCellsWithoutReferencesLandInOrder) {
  TempDir dir;
  SheetSpec sheet = VariedSheet();
  sheet.xlsx_without_refs = true;
  WriteWorkbook(dir / "scheme.xlsx", sheet, BookFormat::kXlsx);
  ExpectVariedCells(*OpenWorkbook(dir / "scheme.xlsx"));
}

TEST_P(WorkbookFormatTest, SheetNameIsTheFirstSheets) {
  TempDir dir;
  SheetSpec sheet;
  sheet.name = "Цвета";
  sheet.rows = {{"", "A", "B"}};
  auto path = dir / (std::string("scheme") + Extension(GetParam()));
  WriteWorkbook(path, sheet, GetParam());
  EXPECT_EQ(OpenWorkbook(path)->FirstSheetName(), "Цвета");
}

INSTANTIATE_TEST_SUITE_P(Formats, WorkbookFormatTest,
                         ::testing::Values(BookFormat::kXls, BookFormat::kXlsx, BookFormat::kOds),
                         [](const auto& info) { return std::string(Extension(info.param) + 1); });

TEST(WorkbookTest, NumberCellTextIsShortAndLocaleFree) {
  EXPECT_EQ(NumberCellText(12.0), "12");
  EXPECT_EQ(NumberCellText(-1.0), "-1");
  EXPECT_EQ(NumberCellText(-0.0), "0");
  EXPECT_EQ(NumberCellText(0.1 + 0.2), "0.3");
  EXPECT_EQ(NumberCellText(65535.0), "65535");
}

TEST(WorkbookTest, UnreadableFilesGiveAnErrorNamingTheFile) {
  TempDir dir;
  WriteText(dir / "text.xls", "just some text, not a workbook");
  std::vector<uint8_t> cfb = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  cfb.resize(600, 0xFF);
  WriteFile(dir / "broken.xls", cfb);
  WriteText(dir / "empty.xls", "");
  {
    ZipWriter zip(dir / "other.zip");
    zip.Add("readme.txt", "hello");
    zip.Close();
  }
  {
    ZipWriter zip(dir / "badxml.xlsx");
    zip.Add("xl/workbook.xml", "<workbook><sheets><sheet name=\"Colors\"");
    zip.Close();
  }
  {
    ZipWriter zip(dir / "nosheet.ods");
    zip.Add("content.xml", "<office:document-content xmlns:office=\"urn:o\"/>");
    zip.Close();
  }
  WriteText(dir / "truncated.xlsx", "PK\x03\x04 not really a zip");
  for (const char* name : {"missing.xls", "text.xls", "broken.xls", "empty.xls", "other.zip", "badxml.xlsx",
                           "nosheet.ods", "truncated.xlsx"}) {
    try {
      OpenWorkbook(dir / name);
      ADD_FAILURE() << name << " was read";
    } catch (const SsfError& e) {
      EXPECT_NE(std::string(e.what()).find((dir / name).string()), std::string::npos) << e.what();
      EXPECT_EQ(std::string(e.what()).rfind("Не удалось прочитать книгу: ", 0), 0u) << e.what();
    }
  }
}

}  // namespace
}  // namespace ssf::test
