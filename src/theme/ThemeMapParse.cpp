#include <cstdio>

#include "base/Cp1251.h"
#include "base/Limits.h"
#include "base/SsfError.h"
#include "theme/FileKind.h"
#include "theme/ThemeMap.h"
#include "platform/PathText.h"

namespace ssf {

namespace {

const char kWrongCount[] = " - некорректное число параметров в строке.";

// FilesTable + 4 * FilesCount as the hint shows it: upper-case hex, at least four digits.
std::string HexAtLeast4(int64_t value) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04llX",
                static_cast<unsigned long long>(value >= 0 ? value : static_cast<uint32_t>(value)));
  return buf;
}

void CheckMapValues(const ThemeMap& m, std::vector<std::string>& errors) {
  if (m.SignMain != "SAMSUNG THEME") {
    errors.push_back("Тег \"Main\" в блоке ThemeSign должен быть равен `SAMSUNG THEME`!");
  }
  if (m.SignMobile.empty()) errors.push_back("Тег \"Mobile\" в блоке ThemeSign не должен быть пустым!");
  // In 64 bits, so a huge count cannot wrap around and pass.
  int64_t table_end = int64_t{m.FilesTable} + 4 * int64_t{m.FilesCount};
  if (table_end > m.FilesStart) {
    errors.push_back(
        "Адрес в теге \"FilesStart\" должен быть больше адреса \"FilesTable\" на минимум "
        "(4*Количество файлов)! Желательное начало адреса \"FilesTable\": 0x" +
        HexAtLeast4(table_end));
  }
  if (m.FilesTable % 4 != 0) errors.push_back("Адрес в теге \"FilesTable\" должен быть кратен 4!");
  if (m.HasIcon && m.FilesTable < 0xFD0) {
    errors.push_back(
        "Если в теме хранится иконка, то адрес в теге \"FilesTable\" должен быть минимум 0xFD0!");
  }
  if (!m.HasIcon && m.FilesTable < 0xB0) {
    errors.push_back(
        "Если тема не хранит в себе иконку, то адрес в теге \"FilesTable\" должен быть минимум 0xB0!");
  }
  if (m.MapFileCounter != m.FilesCount) {
    errors.push_back("Количество файлов в теме не совпадает с количеством описанных файлов в карте темы!");
  }
  // A new theme is FilesStart bytes before any file is added: bounded, so a few bytes of map
  // cannot make the editor allocate gigabytes.
  if (int64_t{m.FilesStart} > kMaxContainerSize || int64_t{m.FilesTable} > kMaxContainerSize) {
    errors.push_back("Адреса в тегах \"FilesTable\" и \"FilesStart\" не должны превышать 0x" +
                     HexAtLeast4(kMaxContainerSize) + " (предельный размер темы)!");
  }
}

// Sizes of one FILE line against the limits; a line out of bounds is an entry of the report.
void CheckEntryLimits(const TTHemeFiles& entry, const std::string& line, std::vector<std::string>& errors) {
  if (entry.f_width > kMaxPictureSide || entry.f_height > kMaxPictureSide) {
    errors.push_back(line + " - ширина и высота изображения не должны превышать " +
                     std::to_string(kMaxPictureSide) + ".");
  }
  if (entry.f_size > kMaxContainerSize) {
    errors.push_back(line + " - размер файла не должен превышать " + std::to_string(kMaxContainerSize) + " байт.");
  }
}

}  // namespace

bool IsYes(std::string_view text) { return AsciiUpper(text) == "YES"; }

const TTHemeFiles* ThemeMap::Entry(int k) const {
  return k >= 0 && static_cast<size_t>(k) < ThemeFiles.size() ? &ThemeFiles[static_cast<size_t>(k)] : nullptr;
}

ThemeMapParser::ThemeMapParser(const ThemeMap& previous, const TagParams& params, std::filesystem::path path)
    : p_(params), path_(std::move(path)) {
  ThemeMap& m = parsed_.map;
  // The blocks a map may leave out; the entries and the tree are the map's own.
  m.SignMain = previous.SignMain;
  m.SignMobile = previous.SignMobile;
  m.FilesTable = previous.FilesTable;
  m.FilesStart = previous.FilesStart;
  m.FilesCount = previous.FilesCount;
  m.HasIcon = previous.HasIcon;
  m.IsColorTheme = previous.IsColorTheme;
}

void ThemeMapParser::KeepListedErrors() {
  std::vector<std::string>& errors = parsed_.errors;
  if (errors.size() <= kMaxListedMapErrors) return;
  parsed_.more_errors += errors.size() - kMaxListedMapErrors;
  errors.resize(kMaxListedMapErrors);
}

void ThemeMapParser::Line(const std::string& line, size_t number) {
  if (IsSkippedTagLine(line)) return;
  ThemeMap& m = parsed_.map;
  std::vector<std::string>& errors = parsed_.errors;
  TagParams& p = p_;
  std::vector<int>& groups = groups_;
  std::string keyword = AsciiUpper(GetTagKeyword(line));
  int count = GetParamCount(line);
  if (count == -1) {
    errors.push_back(line + kWrongCount);
    KeepListedErrors();
    return;
  }
  ReadTagParams(line, p);
  int parent = groups.empty() ? -1 : groups.back();
  if (keyword == "THEMESIGN") {
    if (count != 2) {
      errors.push_back(line + kWrongCount);
    } else {
      m.SignMain = Utf8ToCp1251(p[0]);
      m.SignMobile = Utf8ToCp1251(p[1]);
    }
  } else if (keyword == "THEMESETTINGS") {
    if (count != 4) {
      errors.push_back(line + kWrongCount);
    } else {
      m.FilesTable = ParseMapNumber(p[0], line, errors);
      m.FilesStart = ParseMapNumber(p[1], line, errors);
      m.FilesCount = ParseMapNumber(p[2], line, errors);
      m.HasIcon = IsYes(p[3]);
    }
  } else if (keyword == "COLORTHEMESSETTINGS") {
    if (count != 1) {
      errors.push_back(line + kWrongCount);
    } else {
      m.IsColorTheme = IsYes(p[0]);
    }
  } else if (keyword == "GROUP") {
    // Reported once, at the first group too deep; the stack itself is a vector, so reading
    // on costs no stack.
    if (groups.size() >= static_cast<size_t>(kMaxGroupDepth) && !too_deep_) {
      too_deep_ = true;
      errors.push_back(line + " - группы вложены глубже " + std::to_string(kMaxGroupDepth) + " уровней.");
    }
    groups.push_back(m.Tree.Add(p[0], parent, true));
  } else if (keyword == "FILE") {
    m.Tree.Add(p[0], parent);
    ++m.MapFileCounter;
    ParseMapNumber(p[1], line, errors);
    TTHemeFiles entry;
    entry.f_type = AsciiUpper(p[2]);
    // The kinds count only when written in upper case; the entry keeps the kind upper-cased.
    const FileKind kind = KindOf(p[2]);
    if (IsPictureKind(kind)) {
      if (count != 5) {
        errors.push_back(line + kWrongCount);
      } else {
        entry.f_width = ParseMapNumber(p[3], line, errors);
        entry.f_height = ParseMapNumber(p[4], line, errors);
      }
    } else if (kind == FileKind::kColorTab) {
      if (count != 4) {
        errors.push_back(line + kWrongCount);
      } else {
        entry.f_size = ParseMapNumber(p[3], line, errors);
      }
    }
    CheckEntryLimits(entry, line, errors);
    m.ThemeFiles.push_back(std::move(entry));
  } else if (keyword == "/GROUP") {
    if (groups.empty()) {
      throw SsfError("Карта темы " + Utf8FromPath(path_) + ", строка " + std::to_string(number) + ": \"" + line +
                     "\" закрывает группу, которая не была открыта.");
    }
    groups.pop_back();
  } else {
    errors.push_back(line + " - неизвестный программе блок.");
  }
  KeepListedErrors();
}

ParsedThemeMap ThemeMapParser::Finish(TagParams& params) {
  CheckMapValues(parsed_.map, parsed_.errors);
  KeepListedErrors();
  params = std::move(p_);
  return std::move(parsed_);
}

ParsedThemeMap ParseThemeMap(const std::vector<std::string>& lines, const ThemeMap& previous, TagParams& params,
                             const std::filesystem::path& path) {
  // Read into a copy, so a map that stops part way leaves the caller's slots as they were.
  ThemeMapParser parser(previous, params, path);
  for (size_t n = 0; n < lines.size(); ++n) parser.Line(lines[n], n + 1);
  return parser.Finish(params);
}

ParsedThemeMap ReadThemeMap(const std::filesystem::path& path, const ThemeMap& previous, TagParams& params) {
  ThemeMapParser parser(previous, params, path);
  ForEachMapLine(path, [&parser](const std::string& line, size_t number) {
    parser.Line(line, number);
    return true;
  });
  return parser.Finish(params);
}

}  // namespace ssf
