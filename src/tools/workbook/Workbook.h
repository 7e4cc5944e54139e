#pragma once
// A spreadsheet workbook as the colour copy tool reads it: the name of the first worksheet
// and the text of a cell of that worksheet. Readers exist for .xls (BIFF8 in a compound
// file), .xlsx (Office Open XML) and .ods (OpenDocument); the kind is told by the file's
// content, not by its extension. A formula cell reads as its stored result, in the same
// text in every format.
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "base/SsfError.h"

namespace ssf {

// A cell that has no text to give: a formula stored without its computed result (some
// libraries write only the formula). The message names the cell ("B5").
// "B5" for row 5, column 2.
std::string CellName(int row, int column);

class CellError : public SsfError {
 public:
  CellError(int row, int column)
      : SsfError("формула без вычисленного значения в ячейке " + CellName(row, column)),
        cell(CellName(row, column)) {}
  std::string cell;
};

class Workbook {
 public:
  virtual ~Workbook() = default;
  virtual std::string FirstSheetName() const = 0;
  // Text of the cell of the first worksheet at a 1-based row and column (A = 1), as the
  // user sees it: a number in its shortest form (12, not 12.0), an empty or missing cell
  // as empty text, TRUE and FALSE in capitals, an error value as its code (#DIV/0!).
  // Throws CellError for a formula without a stored result.
  virtual std::string Cell(int row, int column) const = 0;
};

// A worksheet held in memory: the readers of the zipped XML formats fill one, and tests
// build schemes with it directly.
class MemoryWorkbook : public Workbook {
 public:
  explicit MemoryWorkbook(std::string sheet_name = {}) : sheet_name_(std::move(sheet_name)) {}
  void SetSheetName(std::string name) { sheet_name_ = std::move(name); }
  void SetCell(int row, int column, std::string text);
  // Marks a formula cell whose file holds no computed result.
  void SetUncomputedFormula(int row, int column);
  size_t CellCount() const { return cells_.size() + uncomputed_.size(); }

  std::string FirstSheetName() const override { return sheet_name_; }
  std::string Cell(int row, int column) const override;

 private:
  std::string sheet_name_;
  std::map<std::pair<int, int>, std::string> cells_;
  std::set<std::pair<int, int>> uncomputed_;
};

// Opens a workbook file. Throws SsfError naming the file and the reason when it cannot be
// read: missing, not a workbook, damaged, or without a worksheet.
std::unique_ptr<Workbook> OpenWorkbook(const std::filesystem::path& path);

// A numeric cell value as text: at most 15 significant digits, no trailing zeros, no
// exponent for ordinary magnitudes; independent of the process locale.
std::string NumberCellText(double value);

// Dates and times as the serial number spreadsheets keep (and the .xls and .xlsx files of
// Excel store): days since 1899-12-30, the time of day as the fraction. From ISO text:
// "2024-01-31", "2024-01-31T18:00:00", a time "12:30:00" (openpyxl), or an OpenDocument
// duration "PT12H30M00S". Nothing for any other text.
std::optional<double> IsoDateSerial(std::string_view text);
std::optional<double> IsoDurationDays(std::string_view text);

}  // namespace ssf
