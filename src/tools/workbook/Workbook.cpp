#include "tools/workbook/Workbook.h"

#include <charconv>
#include <algorithm>
#include <cmath>
#include <fstream>

#include "base/FileIO.h"
#include "base/SsfError.h"
#include "tools/workbook/WorkbookReaders.h"
#include "tools/workbook/ZipArchive.h"
#include "platform/PathText.h"
#include "platform/NumberText.h"

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
  // 15 significant digits, as a spreadsheet shows a number, so binary noise (0.1 + 0.2)
  // reads as the user typed it; never the locale's decimal comma.
  return FormatGeneral15(value);
}

namespace {

// Reads exactly `digits` digits at `at`.
bool Digits(std::string_view s, size_t at, size_t digits, int& value) {
  if (at + digits > s.size()) return false;
  value = 0;
  for (size_t i = at; i < at + digits; ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    value = value * 10 + (s[i] - '0');
  }
  return true;
}

// "HH:MM:SS[.fff]" as a fraction of a day.
std::optional<double> TimeOfDay(std::string_view s) {
  int h = 0, m = 0, sec = 0;
  if (!Digits(s, 0, 2, h) || s.size() < 8 || s[2] != ':' || !Digits(s, 3, 2, m) || s[5] != ':' ||
      !Digits(s, 6, 2, sec) || h > 24 || m > 59 || sec > 60) {
    return std::nullopt;
  }
  double fraction = 0;
  if (s.size() > 8) {
    if (s[8] != '.' || s.size() == 9) return std::nullopt;
    double scale = 0.1;
    for (size_t i = 9; i < s.size(); ++i, scale /= 10) {
      if (s[i] < '0' || s[i] > '9') return std::nullopt;
      fraction += (s[i] - '0') * scale;
    }
  }
  return ((h * 60 + m) * 60 + sec + fraction) / 86400.0;
}

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

}  // namespace

std::optional<double> IsoDateSerial(std::string_view text) {
  if (text.size() >= 8 && text[2] == ':') return TimeOfDay(text);
  int y = 0, m = 0, d = 0;
  if (!Digits(text, 0, 4, y) || text.size() < 10 || text[4] != '-' || !Digits(text, 5, 2, m) || text[7] != '-' ||
      !Digits(text, 8, 2, d) || m < 1 || m > 12 || d < 1 || d > 31) {
    return std::nullopt;
  }
  double serial = static_cast<double>(DaysFromCivil(y, m, d) - DaysFromCivil(1899, 12, 30));
  if (text.size() == 10) return serial;
  if (text[10] != 'T' && text[10] != ' ') return std::nullopt;
  std::optional<double> time = TimeOfDay(text.substr(11));
  if (!time) return std::nullopt;
  return serial + *time;
}

std::optional<double> IsoDurationDays(std::string_view text) {
  bool negative = !text.empty() && text[0] == '-';
  if (negative) text.remove_prefix(1);
  if (text.size() < 2 || text[0] != 'P') return std::nullopt;
  double seconds = 0;
  bool in_time = false, any = false;
  size_t i = 1;
  while (i < text.size()) {
    if (text[i] == 'T' && !in_time) {
      in_time = true;
      ++i;
      continue;
    }
    size_t j = i;
    while (j < text.size() && ((text[j] >= '0' && text[j] <= '9') || text[j] == '.')) ++j;
    if (j == i || j == text.size()) return std::nullopt;
    const std::optional<double> number = ParseDecimal(text.substr(i, j - i));
    if (!number) return std::nullopt;
    const double value = *number;
    const char unit = text[j];
    if (unit == 'D' && !in_time) {
      seconds += value * 86400;
    } else if (unit == 'H' && in_time) {
      seconds += value * 3600;
    } else if (unit == 'M' && in_time) {
      seconds += value * 60;
    } else if (unit == 'S' && in_time) {
      seconds += value;
    } else {
      return std::nullopt;
    }
    any = true;
    i = j + 1;
  }
  if (!any) return std::nullopt;
  return (negative ? -seconds : seconds) / 86400.0;
}

std::unique_ptr<Workbook> OpenWorkbook(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    throw SsfError("Не удалось прочитать книгу: " + Utf8FromPath(path) + " (файл не найден)");
  }
  unsigned char magic[8] = {};
  {
    Bytes head;
    try {
      head = ReadFileHead(path, sizeof magic);
    } catch (const SsfError&) {
      throw SsfError("Не удалось прочитать книгу: " + Utf8FromPath(path) + " (файл не открывается)");
    }
    std::copy(head.begin(), head.end(), magic);
  }
  static const unsigned char kCompoundFile[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  if (std::equal(magic, magic + 8, kCompoundFile)) return OpenXlsWorkbook(path);
  if (magic[0] == 'P' && magic[1] == 'K') {
    ZipArchive zip(path);
    if (zip.Has("xl/workbook.xml")) return OpenXlsxWorkbook(path);
    if (zip.Has("content.xml")) return OpenOdsWorkbook(path);
    throw SsfError("Не удалось прочитать книгу: " + Utf8FromPath(path) +
                   " (архив zip, но не книга .xlsx или .ods)");
  }
  throw SsfError("Не удалось прочитать книгу: " + Utf8FromPath(path) +
                 " (не книга .xls, .xlsx или .ods)");
}

}  // namespace ssf
