// The scheme workbook readers: the same cells read the same in .xls, .xlsx and .ods.
#include <gtest/gtest.h>

#include "SchemeWorkbooks.h"
#include "TestSupport.h"
#include "base/ByteIO.h"
#include "base/FileIO.h"
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

// A BIFF8 record.
void AppendRecord(Bytes& out, uint16_t id, const Bytes& data) {
  AppendU16LE(out, id);
  AppendU16LE(out, static_cast<uint16_t>(data.size()));
  out.insert(out.end(), data.begin(), data.end());
}

// A compound file (4096-byte sectors) holding one stream named "Workbook".
Bytes CompoundFileWith(Bytes stream) {
  constexpr size_t kSector = 4096, kPerFat = kSector / 4;
  const size_t data_sectors = (stream.size() + kSector - 1) / kSector;
  stream.resize(data_sectors * kSector, 0);
  size_t fat_sectors = 1;
  while (fat_sectors + 1 + data_sectors > fat_sectors * kPerFat) ++fat_sectors;
  Bytes file(kSector, 0);
  const uint8_t signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  std::copy(signature, signature + 8, file.begin());
  WriteU16LE(file, 24, 0x3E);
  WriteU16LE(file, 26, 4);
  WriteU16LE(file, 28, 0xFFFE);
  WriteU16LE(file, 30, 12);
  WriteU16LE(file, 32, 6);
  WriteU32LE(file, 44, static_cast<uint32_t>(fat_sectors));
  WriteU32LE(file, 48, static_cast<uint32_t>(fat_sectors));  // the directory follows the table
  WriteU32LE(file, 56, 4096);
  WriteU32LE(file, 60, 0xFFFFFFFE);
  WriteU32LE(file, 68, 0xFFFFFFFE);
  for (size_t i = 0; i < 109; ++i) WriteU32LE(file, 76 + i * 4, i < fat_sectors ? static_cast<uint32_t>(i) : 0xFFFFFFFF);
  std::vector<uint32_t> fat(fat_sectors, 0xFFFFFFFD);
  fat.push_back(0xFFFFFFFE);
  for (size_t i = 1; i < data_sectors; ++i) fat.push_back(static_cast<uint32_t>(fat_sectors + 1 + i));
  fat.push_back(0xFFFFFFFE);
  fat.resize(fat_sectors * kPerFat, 0xFFFFFFFF);
  for (uint32_t entry : fat) AppendU32LE(file, entry);
  auto dir_entry = [](std::u16string name, uint8_t type, uint32_t start, uint32_t size) {
    Bytes e(128, 0);
    for (size_t i = 0; i < name.size(); ++i) WriteU16LE(e, i * 2, name[i]);
    WriteU16LE(e, 64, static_cast<uint16_t>((name.size() + 1) * 2));
    e[66] = type;
    WriteU32LE(e, 68, 0xFFFFFFFF);
    WriteU32LE(e, 72, 0xFFFFFFFF);
    WriteU32LE(e, 76, type == 5 ? 1 : 0xFFFFFFFF);
    WriteU32LE(e, 116, start);
    WriteU32LE(e, 120, size);
    return e;
  };
  Bytes dir = dir_entry(u"Root Entry", 5, 0xFFFFFFFE, 0);
  Bytes stream_entry = dir_entry(u"Workbook", 2, static_cast<uint32_t>(fat_sectors + 1), static_cast<uint32_t>(stream.size()));
  dir.insert(dir.end(), stream_entry.begin(), stream_entry.end());
  dir.resize(kSector, 0);
  file.insert(file.end(), dir.begin(), dir.end());
  file.insert(file.end(), stream.begin(), stream.end());
  return file;
}

// An .xls whose table of shared strings holds `count` empty strings (split over CONTINUE
// records, as writers do) before its one worksheet "Colors".
Bytes XlsWithEmptySharedStrings(uint32_t count) {
  Bytes bof;
  for (uint16_t v : {0x0600, 0x0005, 0, 0, 0, 0, 0, 0}) AppendU16LE(bof, v);
  Bytes stream;
  AppendRecord(stream, 0x0809, bof);
  Bytes sst;
  AppendU32LE(sst, count);
  AppendU32LE(sst, count);
  for (uint32_t i = 0; i < count; ++i) sst.insert(sst.end(), {0, 0, 0});
  for (size_t at = 0; at < sst.size(); at += 8220) {
    AppendRecord(stream, at == 0 ? 0x00FC : 0x003C,
                 Bytes(sst.begin() + static_cast<ptrdiff_t>(at), sst.begin() + static_cast<ptrdiff_t>(std::min(sst.size(), at + 8220))));
  }
  const size_t sheet_at = stream.size() + (4 + 14) + 4;  // after BOUNDSHEET and EOF
  Bytes sheet;
  AppendU32LE(sheet, static_cast<uint32_t>(sheet_at));
  sheet.insert(sheet.end(), {0, 0, 6, 0});
  sheet.insert(sheet.end(), {'C', 'o', 'l', 'o', 'r', 's'});
  AppendRecord(stream, 0x0085, sheet);
  AppendRecord(stream, 0x000A, {});
  WriteU16LE(bof, 2, 0x0010);
  AppendRecord(stream, 0x0809, bof);
  AppendRecord(stream, 0x000A, {});
  return CompoundFileWith(stream);
}

// A string as BIFF8 stores it: 8-bit when every character fits, else UTF-16.
Bytes BiffChars(const std::u16string& text, bool wide) {
  Bytes out;
  for (char16_t c : text) {
    if (wide) {
      AppendU16LE(out, c);
    } else {
      out.push_back(static_cast<uint8_t>(c));
    }
  }
  return out;
}

Bytes BiffString(const std::u16string& text, bool wide) {
  Bytes out;
  AppendU16LE(out, static_cast<uint16_t>(text.size()));
  out.push_back(wide ? 1 : 0);
  Bytes chars = BiffChars(text, wide);
  out.insert(out.end(), chars.begin(), chars.end());
  return out;
}

Bytes CellHead(uint16_t row, uint16_t column) {
  Bytes out;
  AppendU16LE(out, row);
  AppendU16LE(out, column);
  AppendU16LE(out, 15);  // cell format
  return out;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// A FORMULA record with a result of `type` (0 text, 1 boolean) and `value`.
Bytes FormulaCell(uint16_t row, uint16_t column, uint8_t type, uint8_t value) {
  Bytes out = CellHead(row, column);
  out.insert(out.end(), {type, 0, value, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0});
  out.insert(out.end(), {3, 0, 0x1E, 1, 0});  // the formula's tokens: the number 1
  return out;
}

// .xls records that Excel and LibreOffice write and the workbook fixtures may not hold:
// shared strings split by CONTINUE records where the character width changes (8 to 16 bits
// and back), the last shared string used by a cell, formula booleans, and a text result of
// a shared formula (SHRFMLA between the FORMULA and its STRING).
TEST(WorkbookTest, XlsSharedStringsAndFormulaResultsReadAsWritten) {
  Bytes bof;
  for (uint16_t v : {0x0600, 0x0005, 0, 0, 0, 0, 0, 0}) AppendU16LE(bof, v);
  Bytes stream;
  AppendRecord(stream, 0x0809, bof);
  Bytes counts;
  AppendU32LE(counts, 5);
  AppendU32LE(counts, 5);
  // u8"ab|жы" begins 8-bit and goes on 16-bit after the break; "жы|ab" the other way.
  AppendRecord(stream, 0x00FC,
               Concat({counts, BiffString(u"GT-A", false), BiffString(u"GT-B", false), {4, 0, 0}, BiffChars(u"ab", false)}));
  AppendRecord(stream, 0x003C, Concat({{1}, BiffChars(u"жы", true), {4, 0, 1}, BiffChars(u"жы", true)}));
  AppendRecord(stream, 0x003C, Concat({{0}, BiffChars(u"ab", false), BiffString(u"последний", true)}));
  Bytes sheet;
  AppendU32LE(sheet, static_cast<uint32_t>(stream.size() + (4 + 14) + 4));
  sheet.insert(sheet.end(), {0, 0, 6, 0, 'C', 'o', 'l', 'o', 'r', 's'});
  AppendRecord(stream, 0x0085, sheet);
  AppendRecord(stream, 0x000A, {});
  WriteU16LE(bof, 2, 0x0010);
  AppendRecord(stream, 0x0809, bof);
  auto shared = [](uint16_t row, uint16_t column, uint32_t index) {
    Bytes b = CellHead(row, column);
    AppendU32LE(b, index);
    return b;
  };
  AppendRecord(stream, 0x00FD, shared(0, 1, 0));
  AppendRecord(stream, 0x00FD, shared(0, 2, 1));
  AppendRecord(stream, 0x00FD, shared(1, 0, 2));
  AppendRecord(stream, 0x00FD, shared(2, 0, 3));
  AppendRecord(stream, 0x0006, FormulaCell(3, 0, 1, 1));
  AppendRecord(stream, 0x0006, FormulaCell(4, 0, 1, 0));
  AppendRecord(stream, 0x0006, FormulaCell(5, 0, 0, 0));
  AppendRecord(stream, 0x04BC, {5, 0, 6, 0, 0, 0, 0, 1, 3, 0, 0x1E, 1, 0});
  AppendRecord(stream, 0x0207, BiffString(u"общая формула", true));
  AppendRecord(stream, 0x0006, FormulaCell(6, 0, 0, 0));
  AppendRecord(stream, 0x04BC, {5, 0, 6, 0, 0, 0, 0, 1, 3, 0, 0x1E, 1, 0});
  AppendRecord(stream, 0x0207, BiffString(u"plain", false));
  AppendRecord(stream, 0x00FD, shared(7, 0, 4));
  AppendRecord(stream, 0x000A, {});

  TempDir dir;
  WriteFile(dir / "excel.xls", CompoundFileWith(stream));
  auto book = OpenWorkbook(dir / "excel.xls");
  struct Case {
    int row;
    int column;
    const char* text;
  };
  const Case cases[] = {
      {1, 2, "GT-A"},  {1, 3, "GT-B"},          {2, 1, "abжы"},  {3, 1, "жыab"},
      {4, 1, "TRUE"},  {5, 1, "FALSE"},         {6, 1, "общая формула"}, {7, 1, "plain"},
      {8, 1, "последний"},
  };
  for (const Case& c : cases) EXPECT_EQ(book->Cell(c.row, c.column), c.text) << CellName(c.row, c.column);
}

// Hostile parts a sharer may send: entities that expand (refused with any document type
// declaration: spreadsheets never carry one) and tables of empty shared strings, which
// cost memory though they hold no text.
TEST(WorkbookTest, HostileTextIsRefusedBeforeItIsHeld) {
  TempDir dir;
  const std::string doctype = "<!DOCTYPE x [<!ENTITY e \"" + std::string(250, 'x') + "\">]>";
  std::string refs;
  for (int i = 0; i < 20000; ++i) refs += "&e;";
  const std::string rels =
      "<Relationships><Relationship Id=\"rId1\" Type=\"t/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
      "</Relationships>";
  const std::string books = "<workbook xmlns:r=\"r\"><sheets><sheet name=\"Colors\" r:id=\"rId1\"/></sheets></workbook>";
  const std::string sheet = "<worksheet><sheetData><row r=\"1\"><c r=\"B1\" t=\"s\"><v>0</v></c></row></sheetData></worksheet>";
  auto xlsx = [&](const std::string& name, const std::string& book, const std::string& sst, const std::string& cells) {
    ZipWriter zip(dir / name);
    zip.Add("xl/workbook.xml", book);
    zip.Add("xl/_rels/workbook.xml.rels", rels);
    zip.Add("xl/sharedStrings.xml", sst);
    zip.Add("xl/worksheets/sheet1.xml", cells);
    zip.Close();
  };
  xlsx("book.xlsx", doctype + "<workbook xmlns:r=\"r\"><sheets><sheet name=\"" + refs + "\" r:id=\"rId1\"/></sheets></workbook>",
       "<sst/>", sheet);
  xlsx("shared.xlsx", books, doctype + "<sst><si><t>" + refs + "</t></si></sst>", sheet);
  xlsx("cells.xlsx", books, "<sst><si><t>a</t></si></sst>",
       doctype + "<worksheet><sheetData><row r=\"1\"><c r=\"B1\" t=\"str\"><f>1</f><v>" + refs +
           "</v></c></row></sheetData></worksheet>");
  // A DOCTYPE without entities is refused all the same: spreadsheets never write one.
  xlsx("plain-doctype.xlsx", books, "<!DOCTYPE sst><sst><si><t>a</t></si></sst>", sheet);
  std::string empty_items;
  for (int i = 0; i < 600000; ++i) empty_items += "<si/>";
  xlsx("empty-shared.xlsx", books, "<sst>" + empty_items + "</sst>", sheet);
  xlsx("fine.xlsx", books, "<sst>" + std::string(6000, ' ') + "<si><t>GT-A</t></si></sst>", sheet);
  {
    ZipWriter zip(dir / "content.ods");
    zip.Add("content.xml", doctype + "<office:document-content xmlns:office=\"o\" xmlns:table=\"t\" xmlns:text=\"x\">"
                                     "<office:body><office:spreadsheet><table:table table:name=\"Colors\"><table:table-row>"
                                     "<table:table-cell><text:p>" + refs + "</text:p></table:table-cell></table:table-row>"
                                     "</table:table></office:spreadsheet></office:body></office:document-content>");
    zip.Close();
  }
  WriteFile(dir / "empty-shared.xls", XlsWithEmptySharedStrings(600000));
  WriteFile(dir / "fine.xls", XlsWithEmptySharedStrings(1000));

  struct Case {
    const char* name;
    const char* reason;  // empty: the workbook reads
  };
  const Case cases[] = {
      {"book.xlsx", "(xl/workbook.xml): объявление типа документа (DOCTYPE) в книге не допускается"},
      {"shared.xlsx", "(xl/sharedStrings.xml): объявление типа документа (DOCTYPE) в книге не допускается"},
      {"cells.xlsx", "(xl/worksheets/sheet1.xml): объявление типа документа (DOCTYPE) в книге не допускается"},
      {"plain-doctype.xlsx", "(xl/sharedStrings.xml): объявление типа документа (DOCTYPE)"},
      {"content.ods", "(content.xml): объявление типа документа (DOCTYPE) в книге не допускается"},
      {"empty-shared.xlsx", "(общие строки): текст ячеек больше предела 16777216 байт"},
      {"empty-shared.xls", "(общие строки): текст ячеек больше предела 16777216 байт"},
      {"fine.xlsx", ""},
      {"fine.xls", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      auto book = OpenWorkbook(dir / c.name);
      EXPECT_STREQ(c.reason, "");
      EXPECT_EQ(book->FirstSheetName(), "Colors");
    } catch (const SsfError& e) {
      const std::string what = e.what();
      EXPECT_EQ(what.rfind("Не удалось прочитать книгу: " + (dir / c.name).string() + " ", 0), 0u) << what;
      EXPECT_NE(std::string(c.reason), "") << what;
      EXPECT_NE(what.find(c.reason), std::string::npos) << what;
    }
  }
}

}  // namespace
}  // namespace ssf::test
