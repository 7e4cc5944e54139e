#include "tools/filelists/FileListTables.h"

#include "taglines/XmlLib.h"
#include "base/Cp1251.h"
#include "base/FileIO.h"

namespace ssf {

namespace {

std::string_view UpToNul(std::string_view text) {
  size_t nul = text.find('\0');
  return nul == std::string_view::npos ? text : text.substr(0, nul);
}

// Calls fn(line, number) for each line; CR LF, LF and a lone CR all end a line.
template <typename Fn>
void ForEachLine(std::string_view text, Fn&& fn) {
  size_t pos = 0;
  int number = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    if (!fn(text.substr(pos, end - pos), ++number)) return;
    pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;
  }
}

}  // namespace

std::string ReadFLCKey(std::string_view line) {
  std::string_view t = UpToNul(line);
  size_t p = t.find_first_of("PpNn");
  if (p == std::string_view::npos) return "";
  return AsciiUpper(t.substr(p, 6));
}

std::string ReadFLCValue(std::string_view line) {
  std::string value = CutAtChar(line, ':', 2);
  size_t first = value.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : value.substr(first);
}

FlcLoadResult FileListTables::LoadFLC(const std::filesystem::path& file) {
  Bytes data = ReadWholeFile(file);
  return ParseFLC(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
}

FlcLoadResult FileListTables::ParseFLC(std::string_view text) {
  std::vector<std::string> paths;
  std::vector<std::string> names;
  FlcLoadResult result;
  ForEachLine(text, [&](std::string_view line, int number) {
    // The line filter counts characters; the file's characters are single bytes.
    if (IsSkippedListLine(Cp1251ToUtf8(line))) return true;
    std::string key = ReadFLCKey(line);
    bool is_path = key == "PATH: ";
    if (!is_path && key != "NAME: ") return true;
    std::vector<std::string>& table = is_path ? paths : names;
    std::string value = ReadFLCValue(line);
    if (table.size() >= static_cast<size_t>(kFileListCapacity)) {
      result = {FlcLoadResult::kTooManyRecords, number};
    } else if (value.size() > kFileListTextMax) {
      result = {is_path ? FlcLoadResult::kPathTooLong : FlcLoadResult::kNameTooLong, number};
    } else {
      table.push_back(std::move(value));
      return true;
    }
    return false;
  });
  if (!result.ok()) return result;
  if (paths.size() != names.size()) return {FlcLoadResult::kUnpaired, 0};
  paths_ = std::move(paths);
  names_ = std::move(names);
  return result;
}

std::string FlcCounterText(const FlcLoadResult& result, int32_t count) {
  const std::string bad = "Некорректный FLC-файл!";
  const std::string at = "\r\nСтрока " + std::to_string(result.line) + ": ";
  switch (result.status) {
    case FlcLoadResult::kOk:
      return "Файл-лист загружен.\r\nКол-во файлов: " + std::to_string(count);
    case FlcLoadResult::kUnpaired:
      return bad;
    case FlcLoadResult::kTooManyRecords:
      return bad + at + "больше " + std::to_string(kFileListCapacity) + " файлов.";
    case FlcLoadResult::kPathTooLong:
      return bad + at + "путь длиннее " + std::to_string(kFileListTextMax) + " байт.";
    case FlcLoadResult::kNameTooLong:
      return bad + at + "имя длиннее " + std::to_string(kFileListTextMax) + " байт.";
  }
  return bad;
}

}  // namespace ssf
