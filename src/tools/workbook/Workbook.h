#pragma once
// A spreadsheet workbook as the colour copy tool reads it: the name of the first worksheet
// and the text of a cell of that worksheet. Readers exist for .xls (BIFF8 through
// libfreexl), .xlsx (Office Open XML) and .ods (OpenDocument); the kind is told by the
// file's content, not by its extension.
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>

namespace ssf {

class Workbook {
 public:
  virtual ~Workbook() = default;
  virtual std::string FirstSheetName() const = 0;
  // Text of the cell of the first worksheet at a 1-based row and column (A = 1), as the
  // user sees it: a number in its shortest form (12, not 12.0), an empty or missing cell
  // as empty text.
  virtual std::string Cell(int row, int column) const = 0;
};

// A worksheet held in memory: the readers of the zipped XML formats fill one, and tests
// build schemes with it directly.
class MemoryWorkbook : public Workbook {
 public:
  explicit MemoryWorkbook(std::string sheet_name = {}) : sheet_name_(std::move(sheet_name)) {}
  void SetSheetName(std::string name) { sheet_name_ = std::move(name); }
  void SetCell(int row, int column, std::string text);
  size_t CellCount() const { return cells_.size(); }

  std::string FirstSheetName() const override { return sheet_name_; }
  std::string Cell(int row, int column) const override;

 private:
  std::string sheet_name_;
  std::map<std::pair<int, int>, std::string> cells_;
};

// Opens a workbook file. Throws SsfError naming the file and the reason when it cannot be
// read: missing, not a workbook, damaged, or without a worksheet.
std::unique_ptr<Workbook> OpenWorkbook(const std::filesystem::path& path);

// A numeric cell value as text: at most 15 significant digits, no trailing zeros, no
// exponent for ordinary magnitudes; independent of the process locale.
std::string NumberCellText(double value);

}  // namespace ssf
