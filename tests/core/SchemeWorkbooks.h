#pragma once
// Writes small scheme workbooks for the colour copy tests in each format the tool reads:
// .xls through python3-xlwt (tests/tools/make_xls.py), .xlsx and .ods with libzip here.
// Every workbook gets a second sheet "Other" whose cells must never be read.
// The .ods writer writes as LibreOffice does (equal neighbours as one repeated cell, runs of
// blanks as <text:s>); the .xlsx writer can leave out the r attributes and add phonetic runs,
// as other generators and Japanese Excel do, so the readers' less common paths are reached.
#include <zip.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/PathText.h"
#include "tools/workbook/Workbook.h"

namespace ssf::test {

struct SheetCell {
  SheetCell() = default;
  SheetCell(const char* t) : text(t) {}  // NOLINT: cells read best as plain literals
  SheetCell(std::string t) : text(std::move(t)) {}  // NOLINT
  SheetCell(double n) : number(n) {}  // NOLINT
  SheetCell(int n) : number(n) {}  // NOLINT
  // A formula stored without its computed result, as some libraries write them.
  static SheetCell Formula(std::string f) {
    SheetCell c;
    c.formula = std::move(f);
    return c;
  }
  bool Empty() const { return !number && text.empty() && formula.empty(); }
  bool operator==(const SheetCell&) const = default;
  std::string text;
  std::optional<double> number;
  std::string formula;
  std::string phonetic;  // .xlsx only: a reading guide stored beside the text, never part of it
};

struct SheetSpec {
  std::string name = "Colors";
  std::vector<std::vector<SheetCell>> rows;  // rows[0] is row 1, cell 0 column A
  bool xlsx_without_refs = false;  // rows and cells in order with no r="..." attribute
};

enum class BookFormat { kXls, kXlsx, kOds };

inline const char* Extension(BookFormat f) {
  return f == BookFormat::kXls ? ".xls" : f == BookFormat::kXlsx ? ".xlsx" : ".ods";
}

inline std::string XmlEscape(const std::string& s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

inline std::string ColumnName(size_t c) {
  std::string name;
  for (size_t n = c + 1; n > 0; n = (n - 1) / 26) name.insert(name.begin(), static_cast<char>('A' + (n - 1) % 26));
  return name;
}

// A text as OpenDocument writes it: XML collapses blanks, so every blank after the first of a
// run (and a leading one) is written as <text:s/>, with text:c for more than one.
inline std::string OdsText(const std::string& s) {
  std::string out;
  size_t i = 0;
  while (i < s.size()) {
    if (s[i] != ' ') {
      size_t j = s.find(' ', i);
      if (j == std::string::npos) j = s.size();
      out += XmlEscape(s.substr(i, j - i));
      i = j;
      continue;
    }
    size_t j = s.find_first_not_of(' ', i);
    if (j == std::string::npos) j = s.size();
    size_t run = j - i;
    if (i > 0) {
      out += ' ';
      --run;
    }
    if (run == 1) out += "<text:s/>";
    if (run > 1) out += "<text:s text:c=\"" + std::to_string(run) + "\"/>";
    i = j;
  }
  return out;
}

// A string item's or inline string's body, with the cell's phonetic run after its text.
inline std::string XlsxRichText(const SheetCell& cell) {
  std::string out = "<t xml:space=\"preserve\">" + XmlEscape(cell.text) + "</t>";
  if (!cell.phonetic.empty()) {
    out += "<rPh sb=\"0\" eb=\"" + std::to_string(cell.text.size()) + "\"><t>" + XmlEscape(cell.phonetic) +
           "</t></rPh><phoneticPr fontId=\"1\" type=\"noConversion\"/>";
  }
  return out;
}

inline std::vector<SheetSpec> WithOtherSheet(const SheetSpec& sheet) {
  SheetSpec other;
  other.name = "Other";
  other.rows = {{"x", "other 1", "other 2"}, {"decoy", "entry 1", "entry 2"}};
  return {sheet, other};
}

class ZipWriter {
 public:
  explicit ZipWriter(const std::filesystem::path& path) {
    int err = 0;
    zip_ = zip_open(Utf8FromPath(path).c_str(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    if (zip_ == nullptr) throw std::runtime_error("zip_open failed for " + path.string());
  }
  void Add(const std::string& name, std::string data, bool stored = false) {
    parts_.push_back(std::move(data));
    const std::string& d = parts_.back();
    zip_source_t* src = zip_source_buffer(zip_, d.data(), d.size(), 0);
    zip_int64_t idx = zip_file_add(zip_, name.c_str(), src, ZIP_FL_ENC_UTF_8);
    if (idx < 0) throw std::runtime_error("zip_file_add failed");
    if (stored) zip_set_file_compression(zip_, static_cast<zip_uint64_t>(idx), ZIP_CM_STORE, 0);
  }
  void Close() {
    if (zip_close(zip_) != 0) throw std::runtime_error("zip_close failed");
  }

 private:
  zip_t* zip_;
  // Buffers must stay in place until the archive is written; a deque never moves them.
  std::deque<std::string> parts_;
};

inline void WriteXlsx(const std::filesystem::path& path, const std::vector<SheetSpec>& sheets) {
  ZipWriter zip(path);
  std::string types =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
      "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
      "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
      "<Default Extension=\"xml\" ContentType=\"application/xml\"/></Types>";
  zip.Add("[Content_Types].xml", types);
  zip.Add("_rels/.rels",
          "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
          "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
          "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" Target=\"xl/workbook.xml\"/>"
          "</Relationships>");
  std::string workbook =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
      "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>";
  // Relationship ids in reverse order, so a reader that takes rId1 for the first sheet fails.
  std::string rels =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
  std::vector<std::string> shared;
  for (size_t s = 0; s < sheets.size(); ++s) {
    std::string id = "rId" + std::to_string(sheets.size() - s);
    workbook += "<sheet name=\"" + XmlEscape(sheets[s].name) + "\" sheetId=\"" + std::to_string(s + 1) +
                "\" r:id=\"" + id + "\"/>";
    rels += "<Relationship Id=\"" + id +
            "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
            "Target=\"worksheets/sheet" + std::to_string(s + 1) + ".xml\"/>";
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>";
    const bool refs = !sheets[s].xlsx_without_refs;
    for (size_t r = 0; r < sheets[s].rows.size(); ++r) {
      std::string row_no = std::to_string(r + 1);
      xml += refs ? "<row r=\"" + row_no + "\">" : "<row>";
      for (size_t c = 0; c < sheets[s].rows[r].size(); ++c) {
        const SheetCell& cell = sheets[s].rows[r][c];
        // Without references a cell's place is its position, so gaps need empty cells.
        const std::string ref = refs ? " r=\"" + ColumnName(c) + row_no + "\"" : "";
        if (cell.Empty()) {
          if (!refs) xml += "<c/>";
          continue;
        }
        if (!cell.formula.empty()) {
          xml += "<c" + ref + "><f>" + XmlEscape(cell.formula) + "</f></c>";
        } else if (cell.number) {
          xml += "<c" + ref + "><v>" + NumberCellText(*cell.number) + "</v></c>";
        } else if (c == 0) {
          // Identifiers as inline strings, the rest shared: both forms occur in real files.
          xml += "<c" + ref + " t=\"inlineStr\"><is>" + XlsxRichText(cell) + "</is></c>";
        } else {
          xml += "<c" + ref + " t=\"s\"><v>" + std::to_string(shared.size()) + "</v></c>";
          shared.push_back(XlsxRichText(cell));
        }
      }
      xml += "</row>";
    }
    xml += "</sheetData></worksheet>";
    zip.Add("xl/worksheets/sheet" + std::to_string(s + 1) + ".xml", xml);
  }
  workbook += "</sheets></workbook>";
  rels += "<Relationship Id=\"rIdS\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings\" Target=\"sharedStrings.xml\"/>";
  rels += "</Relationships>";
  std::string sst =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
  for (const std::string& item : shared) sst += "<si>" + item + "</si>";
  sst += "</sst>";
  zip.Add("xl/workbook.xml", workbook);
  zip.Add("xl/_rels/workbook.xml.rels", rels);
  zip.Add("xl/sharedStrings.xml", sst);
  zip.Close();
}

inline void WriteOds(const std::filesystem::path& path, const std::vector<SheetSpec>& sheets) {
  ZipWriter zip(path);
  zip.Add("mimetype", "application/vnd.oasis.opendocument.spreadsheet", true);
  zip.Add("META-INF/manifest.xml",
          "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
          "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\">"
          "<manifest:file-entry manifest:full-path=\"/\" manifest:media-type=\"application/vnd.oasis.opendocument.spreadsheet\"/>"
          "<manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/>"
          "</manifest:manifest>");
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
      "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
      "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body><office:spreadsheet>";
  for (const SheetSpec& sheet : sheets) {
    xml += "<table:table table:name=\"" + XmlEscape(sheet.name) + "\">";
    xml += "<table:table-column table:number-columns-repeated=\"1024\"/>";
    for (const auto& row : sheet.rows) {
      xml += "<table:table-row>";
      size_t empties = 0;
      auto flush = [&] {
        if (empties == 1) xml += "<table:table-cell/>";
        if (empties > 1) xml += "<table:table-cell table:number-columns-repeated=\"" + std::to_string(empties) + "\"/>";
        empties = 0;
      };
      for (size_t c = 0; c < row.size();) {
        const SheetCell& cell = row[c];
        if (cell.Empty()) {
          ++empties;
          ++c;
          continue;
        }
        flush();
        size_t same = 1;
        while (c + same < row.size() && row[c + same] == cell) ++same;
        const std::string repeat =
            same > 1 ? " table:number-columns-repeated=\"" + std::to_string(same) + "\"" : "";
        if (!cell.formula.empty()) {
          xml += "<table:table-cell" + repeat + " table:formula=\"of:=" + XmlEscape(cell.formula) + "\"/>";
        } else if (cell.number) {
          // The shown text is formatted; the value attribute is what counts.
          xml += "<table:table-cell" + repeat + " office:value-type=\"float\" office:value=\"" +
                 NumberCellText(*cell.number) + "\"><text:p>" + NumberCellText(*cell.number) +
                 ",00</text:p></table:table-cell>";
        } else {
          xml += "<table:table-cell" + repeat + " office:value-type=\"string\"><text:p>" + OdsText(cell.text) +
                 "</text:p></table:table-cell>";
        }
        c += same;
      }
      xml += "<table:table-cell table:number-columns-repeated=\"1020\"/></table:table-row>";
    }
    // Office writers pad a sheet to its full height with one repeated empty row.
    xml += "<table:table-row table:number-rows-repeated=\"1048500\">"
           "<table:table-cell table:number-columns-repeated=\"1024\"/></table:table-row>";
    xml += "</table:table>";
  }
  xml += "</office:spreadsheet></office:body></office:document-content>";
  zip.Add("content.xml", xml);
  zip.Close();
}

inline void WriteXls(const std::filesystem::path& path, const std::vector<SheetSpec>& sheets) {
  nlohmann::json book;
  book["sheets"] = nlohmann::json::array();
  for (const SheetSpec& sheet : sheets) {
    nlohmann::json rows = nlohmann::json::array();
    for (const auto& row : sheet.rows) {
      nlohmann::json cells = nlohmann::json::array();
      for (const SheetCell& cell : row) {
        if (!cell.formula.empty()) {
          cells.push_back(nlohmann::json::object({{"formula", cell.formula}}));
        } else if (cell.number) {
          cells.push_back(*cell.number);
        } else if (cell.text.empty()) {
          cells.push_back(nullptr);
        } else {
          cells.push_back(cell.text);
        }
      }
      rows.push_back(cells);
    }
    book["sheets"].push_back({{"name", sheet.name}, {"rows", rows}});
  }
  std::filesystem::path json_path = path.string() + ".json";
  std::ofstream(json_path) << book.dump();
  // Debian's own interpreter carries python3-xlwt; another python3 may come first in PATH.
  std::string python = std::filesystem::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
  std::string cmd = python + " '" SSF_SOURCE_DIR "/tests/tools/make_xls.py' '" + json_path.string() + "' '" +
                    path.string() + "'";
  if (std::system(cmd.c_str()) != 0) throw std::runtime_error("make_xls.py failed (is python3-xlwt installed?)");
  std::filesystem::remove(json_path);
}

// Writes `sheet` (then the decoy sheet "Other") as a workbook of the given format.
inline void WriteWorkbook(const std::filesystem::path& path, const SheetSpec& sheet, BookFormat format) {
  auto sheets = WithOtherSheet(sheet);
  switch (format) {
    case BookFormat::kXls: WriteXls(path, sheets); break;
    case BookFormat::kXlsx: WriteXlsx(path, sheets); break;
    case BookFormat::kOds: WriteOds(path, sheets); break;
  }
}

}  // namespace ssf::test
