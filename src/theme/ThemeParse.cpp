#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/Limits.h"
#include "base/RussianPlural.h"
#include "base/SsfError.h"
#include "theme/Theme.h"
#include "theme/ThemeFile.h"
#include "platform/PathText.h"

namespace ssf {

namespace {

using Kind = ThemeParseError::Kind;

std::string Hex(int64_t v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "0x%llX", static_cast<unsigned long long>(v));
  return v < 0 ? std::to_string(v) : std::string(buf);
}

[[noreturn]] void Fail(int64_t offset, const std::string& what) {
  throw ThemeParseError(Kind::kStructure, static_cast<size_t>(std::max<int64_t>(offset, 0)), what);
}

// Every region the open reads or the save rewrites must lie in the data before any of it is
// taken: a container cut short or with crossed offsets is refused whole.
void CheckRegions(ByteSpan data, const ThemeMap& map, int64_t table, int64_t start) {
  const int64_t size = static_cast<int64_t>(data.size());
  const int64_t count = map.FilesCount;
  const int64_t table_end = table + 4 * count;
  const int64_t icon_end = static_cast<int64_t>(kIconOffset + kIconBytes);
  if (map.HasIcon && size < icon_end) {
    Fail(static_cast<int64_t>(kIconOffset), "область иконки (смещение " + Hex(kIconOffset) + ", " +
                                                std::to_string(kIconBytes) + " байт) выходит за конец файла длиной " +
                                                std::to_string(size) + " байт");
  }
  if (table < static_cast<int64_t>(kIconOffset)) {
    Fail(kFilesTableOffset, "таблица размеров по смещению " + Hex(table) + " перекрывает заголовок (до " +
                                Hex(kIconOffset) + ")");
  }
  // The icon lies between the header and the size table; a table over it would be
  // overwritten by the icon, or overwrite it, on the next save.
  if (map.HasIcon && table < icon_end) {
    Fail(kFilesTableOffset, "таблица размеров по смещению " + Hex(table) + " перекрывает иконку (" +
                                Hex(kIconOffset) + "-" + Hex(icon_end) + ")");
  }
  if (table_end > size) {
    Fail(table, "таблица размеров по смещению " + Hex(table) + " (" +
                    CountText(count, "запись", "записи", "записей") + ", до " + Hex(table_end) +
                    ") выходит за конец файла длиной " + std::to_string(size) + " байт");
  }
  if (start < table_end) {
    Fail(kFilesStartOffset, "начало данных " + Hex(start) + " лежит внутри таблицы размеров (" + Hex(table) +
                                "-" + Hex(table_end) + ")");
  }
  if (start > size) {
    Fail(kFilesStartOffset,
         "начало данных " + Hex(start) + " лежит за концом файла длиной " + std::to_string(size) + " байт");
  }
  int64_t total = 0;
  for (int64_t k = 0; k < count; ++k) total += ReadU32LE(data, static_cast<size_t>(table + 4 * k));
  if (total > size - start) {
    Fail(start, "размеры файлов в таблице дают " + std::to_string(total) + " байт от смещения " + Hex(start) +
                    ", в файле есть только " + std::to_string(size - start));
  }
}

}  // namespace

std::optional<std::string> ShortHeaderFault(ByteSpan bytes) {
  if (bytes.size() >= kHeaderSize) return std::nullopt;
  return "заголовок темы требует " + std::to_string(kHeaderSize) + " байт, в файле " + std::to_string(bytes.size());
}

namespace {

// The checks of an open, without copying the theme files out.
void CheckThemeBytes(ByteSpan data, const ThemeMap& map) {
  if (std::optional<std::string> fault = ShortHeaderFault(data)) Fail(0, *fault);
  if (map.SignMain.size() != kSignatureSize ||
      std::memcmp(data.data() + kSignatureOffset, map.SignMain.data(), kSignatureSize) != 0) {
    throw ThemeParseError(Kind::kSignature, kSignatureOffset, "Некорректный файл темы. [Ошибка в сигнатуре 1]");
  }
  const int32_t table = ReadI32LE(data, kFilesTableOffset);
  if (table == 0) {
    throw ThemeParseError(Kind::kZeroTable, kFilesTableOffset,
                          "Некорректный файл темы. [Нулевой указатель размеров файлов]");
  }
  const int32_t start = ReadI32LE(data, kFilesStartOffset);
  if (start == 0) {
    throw ThemeParseError(Kind::kZeroStart, kFilesStartOffset,
                          "Некорректный файл темы. [Нулевой указатель начала файлов]");
  }
  CheckRegions(data, map, table, start);
}

}  // namespace

Theme ParseTheme(ByteSpan data, const ThemeMap& map) {
  CheckThemeBytes(data, map);
  const int32_t table = ReadI32LE(data, kFilesTableOffset);
  const int32_t start = ReadI32LE(data, kFilesStartOffset);
  Theme theme;
  theme.Header.assign(data.begin(), data.begin() + table);
  theme.NewFiles.resize(static_cast<size_t>(map.FilesCount));
  size_t pos = static_cast<size_t>(start);
  for (size_t k = 0; k < theme.NewFiles.size(); ++k) {
    const uint32_t size = ReadU32LE(data, static_cast<size_t>(table) + 4 * k);
    theme.NewFiles[k].f_file.assign(data.begin() + static_cast<ptrdiff_t>(pos),
                                    data.begin() + static_cast<ptrdiff_t>(pos + size));
    pos += size;
  }
  // The count written at creation; never more than the map's files, never below zero.
  const int32_t declared = std::max(0, std::min(ReadI32LE(data, kFileCountOffset), map.FilesCount));
  theme.CountCorrection = declared - theme.HeldFiles();
  return theme;
}

// Beside the parser, so that the check of what a save would write is the open's own.
Bytes SerializeThemeForSave(const Theme& theme, const ThemeMap& map, const std::filesystem::path& target) {
  const std::string refused = "Тема не сохранена: " + Utf8FromPath(target) + "\r\n";
  int64_t size = std::max<int64_t>(theme.FilesStart(), int64_t{0});
  for (const TThemeNewFiles& f : theme.NewFiles) size += static_cast<int64_t>(f.f_file.size());
  if (size > kMaxContainerSize) {
    throw SsfError(refused + "Тема заняла бы " + std::to_string(size) + " байт, а открыть можно тему не более " +
                   std::to_string(kMaxContainerSize) + " байт.");
  }
  Bytes bytes = SerializeTheme(theme);
  try {
    CheckThemeBytes(bytes, map);
  } catch (const ThemeParseError& e) {
    throw SsfError(refused + "Сохранённую тему нельзя было бы открыть: " + e.what());
  }
  return bytes;
}

}  // namespace ssf
