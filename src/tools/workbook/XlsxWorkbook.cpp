// .xlsx workbooks (Office Open XML): a zip archive whose xl/workbook.xml lists the sheets
// in order; the first sheet's part is found through xl/_rels/workbook.xml.rels, texts
// mostly sit in xl/sharedStrings.xml and are referenced by index from the cells.
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

// The first <sheet name=".." r:id=".."> of xl/workbook.xml.
class SheetListReader : public XmlSax {
 public:
  std::string name, rel_id;
  bool found = false;

 protected:
  void Start(std::string_view el, const char** attrs) override {
    if (el != "sheet") return;
    const char* n = Attr(attrs, "name");
    const char* id = Attr(attrs, "id");
    name = n != nullptr ? n : "";
    rel_id = id != nullptr ? id : "";
    found = true;
    Stop();
  }
  void End(std::string_view) override {}
};

// Relationship targets of xl/_rels/workbook.xml.rels.
class RelsReader : public XmlSax {
 public:
  std::string wanted_id, target, shared_strings;

 protected:
  void Start(std::string_view el, const char** attrs) override {
    if (el != "Relationship") return;
    const char* id = Attr(attrs, "Id");
    const char* tgt = Attr(attrs, "Target");
    const char* type = Attr(attrs, "Type");
    if (tgt == nullptr) return;
    if (id != nullptr && wanted_id == id) target = tgt;
    std::string_view t = type != nullptr ? type : "";
    if (t.size() >= 14 && t.substr(t.size() - 14) == "/sharedStrings") shared_strings = tgt;
  }
  void End(std::string_view) override {}
};

// Text of <t> elements inside a string item, leaving out phonetic runs (<rPh>).
class RichTextCollector {
 public:
  void Start(std::string_view el) {
    if (el == "t") ++in_t_;
    if (el == "rPh") ++in_phonetic_;
  }
  void End(std::string_view el) {
    if (el == "t" && in_t_ > 0) --in_t_;
    if (el == "rPh" && in_phonetic_ > 0) --in_phonetic_;
  }
  void Text(std::string_view s) {
    if (in_t_ > 0 && in_phonetic_ == 0) text_ += s;
  }
  std::string Take() {
    in_t_ = in_phonetic_ = 0;
    return std::move(text_);
  }

 private:
  int in_t_ = 0, in_phonetic_ = 0;
  std::string text_;
};

class SharedStringsReader : public XmlSax {
 public:
  explicit SharedStringsReader(TextBudget& budget) : budget_(budget) {}
  std::vector<std::string> strings;

 protected:
  void Start(std::string_view el, const char**) override {
    if (el == "si") {
      in_si_ = true;
      rich_.Take();
    } else if (in_si_) {
      rich_.Start(el);
    }
  }
  void End(std::string_view el) override {
    if (el == "si" && in_si_) {
      budget_.Charge(TextBudget::kHeldStringCost);
      strings.push_back(rich_.Take());
      in_si_ = false;
    } else if (in_si_) {
      rich_.End(el);
    }
  }
  // Charged as it arrives, so text is counted before it is held.
  void Text(std::string_view s) override {
    if (!in_si_) return;
    budget_.Charge(s.size());
    rich_.Text(s);
  }

 private:
  TextBudget& budget_;
  bool in_si_ = false;
  RichTextCollector rich_;
};

// "B12" -> column 2, row 12; false for anything else.
bool ParseCellRef(std::string_view ref, int& row, int& column) {
  size_t i = 0;
  long col = 0;
  while (i < ref.size() && ref[i] >= 'A' && ref[i] <= 'Z') {
    col = col * 26 + (ref[i] - 'A' + 1);
    if (col > kMaxWorkbookColumns) return false;
    ++i;
  }
  if (i == 0 || i == ref.size()) return false;
  int r = 0;
  auto res = std::from_chars(ref.data() + i, ref.data() + ref.size(), r);
  if (res.ec != std::errc() || res.ptr != ref.data() + ref.size() || r < 1 || r > kMaxWorkbookRows) return false;
  row = r;
  column = static_cast<int>(col);
  return true;
}

class SheetReader : public XmlSax {
 public:
  SheetReader(MemoryWorkbook& book, const std::vector<std::string>& shared, TextBudget& budget, std::string what)
      : book_(book), shared_(shared), budget_(budget), what_(std::move(what)) {}

 protected:
  void Start(std::string_view el, const char** attrs) override {
    if (el == "row") {
      const char* r = Attr(attrs, "r");
      int n = 0;
      if (r != nullptr) {
        std::string_view rv(r);
        auto res = std::from_chars(rv.data(), rv.data() + rv.size(), n);
        if (res.ec != std::errc() || n < 1 || n > kMaxWorkbookRows) Fail(std::string("номер строки ") + r);
      } else {
        n = row_ + 1;
      }
      row_ = n;
      column_ = 0;
    } else if (el == "c") {
      const char* ref = Attr(attrs, "r");
      const char* type = Attr(attrs, "t");
      int row = row_, column = column_ + 1;
      if (ref != nullptr && !ParseCellRef(ref, row, column)) Fail(std::string("адрес ячейки ") + ref);
      if (row < 1 || column > kMaxWorkbookColumns) Fail("ячейка вне листа");
      cell_row_ = row;
      column_ = column;
      cell_type_ = type != nullptr ? type : "n";
      in_cell_ = true;
      has_formula_ = false;
      value_.clear();
      rich_.Take();
    } else if (in_cell_ && el == "v") {
      in_v_ = true;
    } else if (in_cell_ && el == "f") {
      has_formula_ = true;
    } else if (in_cell_) {
      rich_.Start(el);
    }
  }
  void End(std::string_view el) override {
    if (el == "v") {
      in_v_ = false;
    } else if (el == "c" && in_cell_) {
      in_cell_ = false;
      // Written by a library that stores formulas without computing them: no <v>, or an
      // empty one. A computed empty text says so by its type (t="str").
      if (has_formula_ && value_.empty() && cell_type_ != "str" && cell_type_ != "inlineStr") {
        if (book_.CellCount() >= kMaxWorkbookCells) Fail("слишком много ячеек");
        book_.SetUncomputedFormula(cell_row_, column_);
        return;
      }
      std::string text = CellText();
      if (!text.empty()) {
        if (book_.CellCount() >= kMaxWorkbookCells) Fail("слишком много ячеек");
        book_.SetCell(cell_row_, column_, std::move(text));
      }
    } else if (in_cell_) {
      rich_.End(el);
    }
  }
  void Text(std::string_view s) override {
    if (in_v_) {
      value_ += s;
    } else if (in_cell_) {
      rich_.Text(s);
    }
  }

 private:
  [[noreturn]] void Fail(const std::string& detail) const { throw SsfError(what_ + ": " + detail); }

  std::string CellText() {
    if (cell_type_ == "s") {
      size_t index = 0;
      auto res = std::from_chars(value_.data(), value_.data() + value_.size(), index);
      if (value_.empty() || res.ec != std::errc() || index >= shared_.size()) {
        Fail("нет общей строки номер " + value_);
      }
      // Every use is a copy: charged before it is made.
      budget_.Charge(shared_[index].size());
      return shared_[index];
    }
    if (cell_type_ == "inlineStr") {
      std::string text = rich_.Take();
      budget_.Charge(text.size());
      return text;
    }
    if (cell_type_ == "b") return value_ == "1" ? "TRUE" : value_.empty() ? "" : "FALSE";
    if (cell_type_ == "n" && !value_.empty()) {
      if (std::optional<double> d = ParseDecimal(value_)) return NumberCellText(*d);
    }
    if (cell_type_ == "d") {
      // ISO text (openpyxl): the serial number, as a date stored as a number reads.
      if (std::optional<double> serial = IsoDateSerial(value_)) return NumberCellText(*serial);
    }
    return value_;  // "str" (a formula's text), "e" (an error value)
  }

  MemoryWorkbook& book_;
  const std::vector<std::string>& shared_;
  TextBudget& budget_;
  std::string what_;
  int row_ = 0, column_ = 0, cell_row_ = 0;
  std::string cell_type_, value_;
  bool in_cell_ = false, in_v_ = false, has_formula_ = false;
  RichTextCollector rich_;
};

// A relationship target is relative to xl/ unless it starts with '/'.
std::string PartName(const std::string& target) {
  if (!target.empty() && target[0] == '/') return target.substr(1);
  std::string t = target;
  std::string base = "xl";
  while (t.rfind("../", 0) == 0) {
    t = t.substr(3);
    base.clear();
  }
  return base.empty() ? t : base + "/" + t;
}

}  // namespace

std::unique_ptr<Workbook> OpenXlsxWorkbook(const std::filesystem::path& path) {
  const std::string where = "Не удалось прочитать книгу: " + Utf8FromPath(path);
  ZipArchive zip(path);
  auto part = [&](const std::string& name) {
    auto data = zip.Read(name, kMaxWorkbookPartBytes);
    if (!data) throw SsfError(where + " (нет части " + name + ")");
    return std::move(*data);
  };

  SheetListReader sheets;
  sheets.Parse(part("xl/workbook.xml"), where + " (xl/workbook.xml)");
  if (!sheets.found) throw SsfError(where + " (в книге нет листов)");

  RelsReader rels;
  rels.wanted_id = sheets.rel_id;
  rels.Parse(part("xl/_rels/workbook.xml.rels"), where + " (xl/_rels/workbook.xml.rels)");
  if (rels.target.empty()) throw SsfError(where + " (не найдена часть первого листа)");

  // The shared strings are held once, under a budget of their own; the cells' copies of them
  // count on their own below.
  TextBudget shared_budget(where + " (общие строки)");
  SharedStringsReader shared(shared_budget);
  std::string shared_name = rels.shared_strings.empty() ? "xl/sharedStrings.xml" : PartName(rels.shared_strings);
  if (auto data = zip.Read(shared_name, kMaxWorkbookPartBytes)) {
    shared.Parse(*data, where + " (" + shared_name + ")");
  }

  auto book = std::make_unique<MemoryWorkbook>(sheets.name);
  std::string sheet_name = PartName(rels.target);
  TextBudget budget(where);
  SheetReader reader(*book, shared.strings, budget, where + " (" + sheet_name + ")");
  reader.Parse(part(sheet_name), where + " (" + sheet_name + ")");
  return book;
}

}  // namespace ssf
