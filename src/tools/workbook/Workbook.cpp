#include "tools/workbook/Workbook.h"

#include <charconv>
#include <algorithm>
#include <cmath>
#include <fstream>

#include "base/FileIO.h"
#include "base/SsfError.h"
#include "tools/workbook/WorkbookReaders.h"
#include "tools/workbook/ZipArchive.h"

namespace ssf {

std::string CellName(int row, int column) {
  std::string name;
  for (int n = column; n > 0; n = (n - 1) / 26) name.insert(name.begin(), static_cast<char>('A' + (n - 1) % 26));
  return name + std::to_string(row);
}

void MemoryWorkbook::SetCell(int row, int column, std::string text) {
  uncomputed_.erase({row, column});
  if (text.empty()) {
    cells_.erase({row, column});
  } else {
    cells_[{row, column}] = std::move(text);
  }
}

void MemoryWorkbook::SetUncomputedFormula(int row, int column) {
  cells_.erase({row, column});
  uncomputed_.insert({row, column});
}

std::string MemoryWorkbook::Cell(int row, int column) const {
  if (uncomputed_.count({row, column}) != 0) {
    throw CellError(row, column);
  }
  auto it = cells_.find({row, column});
  return it == cells_.end() ? std::string() : it->second;
}

std::string NumberCellText(double value) {
  if (std::isnan(value)) return "NaN";
  if (value == 0) return "0";  // also -0
  char buf[64];
  // 15 significant digits, as a spreadsheet shows a number, so binary noise (0.1 + 0.2)
  // reads as the user typed it; to_chars ignores the locale's decimal comma.
  auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
  return std::string(buf, r.ptr);
}

std::unique_ptr<Workbook> OpenWorkbook(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    throw SsfError("Не удалось прочитать книгу: " + path.string() + " (файл не найден)");
  }
  unsigned char magic[8] = {};
  {
    Bytes head;
    try {
      head = ReadFileHead(path, sizeof magic);
    } catch (const SsfError&) {
      throw SsfError("Не удалось прочитать книгу: " + path.string() + " (файл не открывается)");
    }
    std::copy(head.begin(), head.end(), magic);
  }
  static const unsigned char kCompoundFile[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  if (std::equal(magic, magic + 8, kCompoundFile)) return OpenXlsWorkbook(path);
  if (magic[0] == 'P' && magic[1] == 'K') {
    ZipArchive zip(path);
    if (zip.Has("xl/workbook.xml")) return OpenXlsxWorkbook(path);
    if (zip.Has("content.xml")) return OpenOdsWorkbook(path);
    throw SsfError("Не удалось прочитать книгу: " + path.string() +
                   " (архив zip, но не книга .xlsx или .ods)");
  }
  throw SsfError("Не удалось прочитать книгу: " + path.string() +
                 " (не книга .xls, .xlsx или .ods)");
}

}  // namespace ssf
