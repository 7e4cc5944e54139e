// .ods workbooks (OpenDocument): a zip archive whose content.xml holds the sheets as
// <table:table> elements in order. Rows and cells may stand for several by a repeat
// count; numbers carry their value in office:value beside the formatted text.
#include <algorithm>
#include <charconv>
#include <vector>

#include "base/SsfError.h"
#include "tools/workbook/TextBudget.h"
#include "tools/workbook/WorkbookReaders.h"
#include "tools/workbook/XmlSax.h"
#include "tools/workbook/ZipArchive.h"
#include "platform/PathText.h"
#include "platform/NumberText.h"

namespace ssf {

namespace {

class ContentReader : public XmlSax {
 public:
  ContentReader(MemoryWorkbook& book, std::string what) : book_(book), what_(what), budget_(std::move(what)) {}
  bool found = false;

 protected:
  void Start(std::string_view el, const char** attrs) override {
    if (el == "table") {
      if (table_depth_++ == 0) {
        const char* name = Attr(attrs, "name");
        book_.SetSheetName(name != nullptr ? name : "");
        found = true;
      }
      return;
    }
    // Only the first sheet, and not the sub-tables a cell may hold.
    if (table_depth_ != 1) return;
    if (el == "table-row" && !in_cell_) {
      row_repeat_ = Repeat(attrs, "number-rows-repeated");
      column_ = 0;
      row_cells_.clear();
    } else if ((el == "table-cell" || el == "covered-table-cell") && !in_cell_) {
      in_cell_ = true;
      cell_repeat_ = Repeat(attrs, "number-columns-repeated");
      text_.clear();
      paragraphs_ = 0;
      value_.clear();
      const char* type = Attr(attrs, "value-type");
      std::string_view t = type != nullptr ? type : "";
      // A formula that was never computed has neither a value nor a shown text.
      uncomputed_ = t.empty() && Attr(attrs, "formula") != nullptr;
      if (t == "boolean") {
        const char* v = Attr(attrs, "boolean-value");
        value_ = v != nullptr && std::string_view(v) == "true" ? "TRUE" : "FALSE";
      } else if (t == "date" || t == "time") {
        // As the serial number, which the Excel formats store and show here too.
        const char* v = Attr(attrs, t == "date" ? "date-value" : "time-value");
        std::optional<double> serial;
        if (v != nullptr) serial = t == "date" ? IsoDateSerial(v) : IsoDurationDays(v);
        if (serial) value_ = NumberCellText(*serial);
      } else if (t == "float" || t == "percentage" || t == "currency") {
        const char* v = Attr(attrs, "value");
        if (v != nullptr) {
          if (std::optional<double> d = ParseDecimal(v)) value_ = NumberCellText(*d);
        }
      }
    } else if (in_cell_) {
      if (el == "annotation") ++skip_;
      if (skip_ > 0) return;
      if (el == "p" || el == "h") {
        if (paragraphs_++ > 0) text_ += '\n';
        ++in_p_;
      } else if (el == "s") {
        const char* c = Attr(attrs, "c");
        const long spaces = c != nullptr ? std::min(Count(c), 1000L) : 1;
        budget_.Charge(static_cast<uint64_t>(spaces));
        text_.append(static_cast<size_t>(spaces), ' ');
      } else if (el == "tab") {
        budget_.Charge(1);
        text_ += '\t';
      } else if (el == "line-break") {
        budget_.Charge(1);
        text_ += '\n';
      }
    }
  }

  void End(std::string_view el) override {
    if (el == "table") {
      if (--table_depth_ == 0) Stop();
      return;
    }
    if (table_depth_ != 1) return;
    if (in_cell_ && skip_ > 0) {
      if (el == "annotation") --skip_;
      return;
    }
    if (in_cell_ && (el == "p" || el == "h")) {
      if (in_p_ > 0) --in_p_;
    } else if (in_cell_ && (el == "table-cell" || el == "covered-table-cell")) {
      in_cell_ = false;
      std::string text = value_.empty() ? text_ : value_;
      if (!text.empty() || (uncomputed_ && paragraphs_ == 0)) {
        const long copies = std::clamp(kMaxWorkbookColumns - column_, 0L, cell_repeat_);
        budget_.Charge(text.size(), static_cast<uint64_t>(copies));
        for (long i = 0; i < cell_repeat_ && column_ + i < kMaxWorkbookColumns; ++i) {
          if (row_cells_.size() >= kMaxWorkbookCells) TooManyCells();
          row_cells_.push_back({static_cast<int>(column_ + i + 1), text, text.empty()});
        }
      }
      column_ += cell_repeat_;
    } else if (!in_cell_ && el == "table-row") {
      if (!row_cells_.empty()) {
        uint64_t row_text = 0;
        for (const auto& cell : row_cells_) row_text += cell.text.size();
        const long copies = std::clamp(kMaxWorkbookRows - row_, 0L, row_repeat_);
        budget_.Charge(row_text, static_cast<uint64_t>(copies));
      }
      for (long r = 0; !row_cells_.empty() && r < row_repeat_ && row_ + r < kMaxWorkbookRows; ++r) {
        for (const RowCell& cell : row_cells_) {
          if (book_.CellCount() >= kMaxWorkbookCells) TooManyCells();
          if (cell.uncomputed) {
            book_.SetUncomputedFormula(static_cast<int>(row_ + r + 1), cell.column);
          } else {
            book_.SetCell(static_cast<int>(row_ + r + 1), cell.column, cell.text);
          }
        }
      }
      row_ += row_repeat_;
    }
  }

  void Text(std::string_view s) override {
    if (in_cell_ && skip_ == 0 && in_p_ > 0) {
      budget_.Charge(s.size());
      text_ += s;
    }
  }

 private:
  [[noreturn]] void TooManyCells() const { throw SsfError(what_ + ": слишком много ячеек"); }
  static long Count(const char* s) {
    long n = 0;
    std::string_view v(s);
    auto res = std::from_chars(v.data(), v.data() + v.size(), n);
    return res.ec == std::errc() && n > 0 ? n : 1;
  }
  static long Repeat(const char** attrs, std::string_view name) {
    const char* v = Attr(attrs, name);
    return v != nullptr ? std::min(Count(v), static_cast<long>(kMaxWorkbookRows) * 2) : 1;
  }

  MemoryWorkbook& book_;
  std::string what_;
  TextBudget budget_;
  int table_depth_ = 0;
  long row_ = 0, column_ = 0, row_repeat_ = 1, cell_repeat_ = 1;
  bool in_cell_ = false, uncomputed_ = false;
  int in_p_ = 0, skip_ = 0, paragraphs_ = 0;
  std::string text_, value_;
  struct RowCell {
    int column;
    std::string text;
    bool uncomputed;
  };
  std::vector<RowCell> row_cells_;
};

}  // namespace

std::unique_ptr<Workbook> OpenOdsWorkbook(const std::filesystem::path& path) {
  const std::string where = "Не удалось прочитать книгу: " + Utf8FromPath(path);
  ZipArchive zip(path);
  auto content = zip.Read("content.xml", kMaxWorkbookPartBytes);
  if (!content) throw SsfError(where + " (нет части content.xml)");
  auto book = std::make_unique<MemoryWorkbook>();
  ContentReader reader(*book, where + " (content.xml)");
  reader.Parse(*content, where + " (content.xml)");
  if (!reader.found) throw SsfError(where + " (в книге нет листов)");
  return book;
}

}  // namespace ssf
