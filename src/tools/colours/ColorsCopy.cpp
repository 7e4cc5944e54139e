#include "tools/colours/ColorsCopy.h"

#include <charconv>

#include "taglines/XmlLib.h"
#include "base/FileIO.h"
#include "base/SsfError.h"
#include "tools/workbook/WorkbookReaders.h"
#include "platform/PathText.h"

namespace ssf {

namespace {

constexpr std::string_view kSchemeSheetName = "Colors";
constexpr char kGrave[] = "\x60";  // the log quotes identifiers between grave accents

// A row may address an entry of the destination at its end, or one byte before it, and
// the file grows; further out, or before the start, the row is refused.
bool CopyEntry(const Bytes& source, int64_t from, Bytes& dest, int64_t to) {
  if (from < 0 || to < 0) return false;
  if (static_cast<uint64_t>(from) > source.size() || source.size() - static_cast<size_t>(from) < 2) {
    return false;
  }
  if (static_cast<uint64_t>(to) > dest.size()) return false;
  size_t at = static_cast<size_t>(to);
  if (dest.size() < at + 2) dest.resize(at + 2);
  dest[at] = source[static_cast<size_t>(from)];
  dest[at + 1] = source[static_cast<size_t>(from) + 1];
  return true;
}

}  // namespace

int64_t GetColorOffset(std::string_view cell) {
  std::string number = CutAtChar(cell, ' ', 2);
  if (number == kNotFound) return kInvalidColorOffset;
  std::string_view n = number;
  // An integer may carry a sign, '+' as well as '-'.
  if (!n.empty() && n[0] == '+') n.remove_prefix(1);
  int32_t value = 0;
  auto res = std::from_chars(n.data(), n.data() + n.size(), value);
  if (n.empty() || res.ec != std::errc() || res.ptr != n.data() + n.size()) return kInvalidColorOffset;
  if (value == -1) return kInvalidColorOffset;
  return static_cast<int64_t>(value) * 2;
}

ColorSchemeCheck CheckColorScheme(const Workbook& scheme) {
  ColorSchemeCheck check;
  if (scheme.FirstSheetName() != kSchemeSheetName) {
    check.error = "Ошибка! Некорректная схема цветов! Некорректное название листа.";
    return check;
  }
  try {
    check.first_model = scheme.Cell(1, 2);
    check.second_model = scheme.Cell(1, 3);
  } catch (const CellError& e) {
    check.error = "Ошибка! Некорректная схема цветов! Формула без вычисленного значения в ячейке " + e.cell + ".";
    return check;
  }
  if (check.first_model.empty()) {
    check.error = "Ошибка! Некорректная схема цветов! Отсутствует название первой модели телефона.";
  } else if (check.second_model.empty()) {
    check.error = "Ошибка! Некорректная схема цветов! Отсутствует название второй модели телефона.";
  } else {
    check.accepted = true;
  }
  return check;
}

std::string CopyCaption(std::string_view from, std::string_view to) {
  return std::string(from) + "->" + std::string(to);
}

CopyDirection CopyDirectionOf(std::string_view button_name) {
  return button_name == kSecondToFirstButton ? CopyDirection::kSecondToFirst : CopyDirection::kFirstToSecond;
}

ColorCopyCounts CopyColors(const Workbook& scheme, const std::filesystem::path& first_file,
                           const std::filesystem::path& second_file, std::string_view button_name,
                           std::string_view caption, std::vector<std::string>& log) {
  return CopyColors(scheme, first_file, second_file, CopyDirectionOf(button_name), caption, log);
}

ColorCopyCounts CopyColors(const Workbook& scheme, const std::filesystem::path& first_file,
                           const std::filesystem::path& second_file, CopyDirection direction,
                           std::string_view caption, std::vector<std::string>& log) {
  ColorCopyCounts counts;
  for (const auto* path : {&first_file, &second_file}) {
    // The destination is replaced by rename: a device or other special file must never
    // be swapped for a regular one.
    std::error_code ec;
    if (std::filesystem::exists(*path, ec) && !std::filesystem::is_regular_file(*path, ec)) {
      throw SsfError("Не удалось прочитать файл: " + Utf8FromPath(*path) + " (не обычный файл)");
    }
  }
  Bytes first = ReadWholeFile(first_file);
  Bytes second = ReadWholeFile(second_file);
  const bool reverse = direction == CopyDirection::kSecondToFirst;
  const Bytes& source = reverse ? second : first;
  Bytes& dest = reverse ? first : second;
  const std::filesystem::path& dest_path = reverse ? first_file : second_file;

  for (int row = 2; row <= kMaxWorkbookRows; ++row) {
    std::string id;
    try {
      id = scheme.Cell(row, 1);
    } catch (const CellError& e) {
      log.push_back("Строка " + std::to_string(row) + " не скопирована. Ошибка: " + e.what() + ".");
      ++counts.failed;
      continue;
    }
    if (id.empty()) {
      if (row == 2) log.push_back("Ошибка! Пустая схема цветов!");
      break;
    }
    std::string first_place, second_place;
    try {
      first_place = scheme.Cell(row, 2);
      second_place = scheme.Cell(row, 3);
    } catch (const CellError& e) {
      log.push_back(kGrave + id + kGrave + " не скопирован. Ошибка: " + e.what() + ".");
      ++counts.failed;
      continue;
    }
    int64_t first_offset = GetColorOffset(first_place);
    int64_t second_offset = GetColorOffset(second_place);
    bool ok = first_offset != kInvalidColorOffset && second_offset != kInvalidColorOffset &&
              (reverse ? CopyEntry(source, second_offset, dest, first_offset)
                       : CopyEntry(source, first_offset, dest, second_offset));
    if (ok) {
      log.push_back(kGrave + id + kGrave + " успешно скопирован.");
      ++counts.copied;
    } else {
      log.push_back(kGrave + id + kGrave + " не скопирован. Ошибка.");
      ++counts.failed;
    }
  }

  // Through a symbolic link, replace the file it names and keep the link.
  std::error_code ec;
  std::filesystem::path target = std::filesystem::canonical(dest_path, ec);
  WriteFileAtomic(ec ? dest_path : target, dest);
  log.push_back("");
  log.push_back("Копирование " + std::string(kGrave) + std::string(caption) + kGrave + " завершено.");
  log.push_back("Успешно: " + std::to_string(counts.copied));
  log.push_back("Ошибок: " + std::to_string(counts.failed));
  return counts;
}

}  // namespace ssf
