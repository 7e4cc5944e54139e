#include <cstdio>

#include "base/Cp1251.h"
#include "base/FileIO.h"
#include "base/Limits.h"
#include "base/SsfError.h"
#include "editor/ThemeMapLoader.h"

namespace ssf {

namespace {

const char kWrongCount[] = " - некорректное число параметров в строке.";

bool IsPictureKind(const std::string& kind) {
  return kind == "JPG" || kind == "RAW" || kind == "ANI2" || kind == "IFG";
}

// FilesTable + 4 * FilesCount as the hint shows it: upper-case hex, at least four digits.
std::string HexAtLeast4(int64_t value) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04llX",
                static_cast<unsigned long long>(value >= 0 ? value : static_cast<uint32_t>(value)));
  return buf;
}

// A map as read, before it is installed into the editor. It starts from the values the editor
// holds, because a map without a block keeps the previous map's values of that block.
struct LoadedMap {
  std::string SignMain;
  std::string SignMobile;
  int32_t FilesTable = 0;
  int32_t FilesStart = 0;
  int32_t FilesCount = 0;
  bool HasIcon = false;
  bool IsColorTheme = false;
  int32_t MapFileCounter = 0;
  std::vector<TTHemeFiles> ThemeFiles;
  GroupTree Tree;
  TagParams Params;
  std::vector<std::string> errors;

  explicit LoadedMap(const EditorState& s)
      : SignMain(s.SignMain),
        SignMobile(s.SignMobile),
        FilesTable(s.FilesTable),
        FilesStart(s.FilesStart),
        FilesCount(s.FilesCount),
        HasIcon(s.HasIcon),
        IsColorTheme(s.IsColorTheme),
        Params(s.TagParams) {}
};

void CheckMapValues(const LoadedMap& s, std::vector<std::string>& errors) {
  if (s.SignMain != "SAMSUNG THEME") {
    errors.push_back("Тег \"Main\" в блоке ThemeSign должен быть равен `SAMSUNG THEME`!");
  }
  if (s.SignMobile.empty()) errors.push_back("Тег \"Mobile\" в блоке ThemeSign не должен быть пустым!");
  // In 64 bits, so a huge count cannot wrap around and pass.
  int64_t table_end = int64_t{s.FilesTable} + 4 * int64_t{s.FilesCount};
  if (table_end > s.FilesStart) {
    errors.push_back(
        "Адрес в теге \"FilesStart\" должен быть больше адреса \"FilesTable\" на минимум "
        "(4*Количество файлов)! Желательное начало адреса \"FilesTable\": 0x" +
        HexAtLeast4(table_end));
  }
  if (s.FilesTable % 4 != 0) errors.push_back("Адрес в теге \"FilesTable\" должен быть кратен 4!");
  if (s.HasIcon && s.FilesTable < 0xFD0) {
    errors.push_back(
        "Если в теме хранится иконка, то адрес в теге \"FilesTable\" должен быть минимум 0xFD0!");
  }
  if (!s.HasIcon && s.FilesTable < 0xB0) {
    errors.push_back(
        "Если тема не хранит в себе иконку, то адрес в теге \"FilesTable\" должен быть минимум 0xB0!");
  }
  if (s.MapFileCounter != s.FilesCount) {
    errors.push_back("Количество файлов в теме не совпадает с количеством описанных файлов в карте темы!");
  }
  // A new theme is FilesStart bytes before any file is added: bounded, so a few bytes of map
  // cannot make the editor allocate gigabytes.
  if (int64_t{s.FilesStart} > kMaxContainerSize || int64_t{s.FilesTable} > kMaxContainerSize) {
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

void ShowMapErrors(EditorState& state, ViewState& view, Ui& ui, const std::filesystem::path& path,
                   const std::vector<std::string>& errors) {
  state.Tree.Clear();
  view.TV_selected = -1;
  view.MM_Child_SaveTheme_enabled = false;
  view.PCtrl_enabled = false;
  view.Pnl_ItemInfo_visible = false;
  view.status = {"Ошибка #2#", "Некорректная карта темы!", ""};
  ui.ShowMsg(MapErrorReport(path.filename().string(), errors), kMsgError);
}

}  // namespace

namespace {

// Reads the lines into a map value. Throws SsfError for a "/GROUP" with no open group; the
// editor has not been touched then.
LoadedMap ParseMap(const EditorState& state, const std::filesystem::path& path,
                   const std::vector<std::string>& lines) {
  LoadedMap m(state);
  std::vector<int> groups;  // open groups, innermost last
  bool too_deep = false;
  std::vector<std::string>& errors = m.errors;
  TagParams& p = m.Params;
  for (size_t n = 0; n < lines.size(); ++n) {
    const std::string& line = lines[n];
    if (IsSkippedTagLine(line)) continue;
    std::string keyword = AsciiUpper(GetTagKeyword(line));
    int count = GetParamCount(line);
    if (count == -1) {
      errors.push_back(line + kWrongCount);
      continue;
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
      if (groups.size() >= static_cast<size_t>(kMaxGroupDepth) && !too_deep) {
        too_deep = true;
        errors.push_back(line + " - группы вложены глубже " + std::to_string(kMaxGroupDepth) + " уровней.");
      }
      groups.push_back(m.Tree.Add(p[0], parent, true));
    } else if (keyword == "FILE") {
      m.Tree.Add(p[0], parent);
      ++m.MapFileCounter;
      ParseMapNumber(p[1], line, errors);
      TTHemeFiles entry;
      entry.f_type = AsciiUpper(p[2]);
      if (IsPictureKind(p[2])) {
        if (count != 5) {
          errors.push_back(line + kWrongCount);
        } else {
          entry.f_width = ParseMapNumber(p[3], line, errors);
          entry.f_height = ParseMapNumber(p[4], line, errors);
        }
      } else if (p[2] == "COLORTAB") {
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
        throw SsfError("Карта темы " + path.string() + ", строка " + std::to_string(n + 1) + ": \"" + line +
                       "\" закрывает группу, которая не была открыта.");
      }
      groups.pop_back();
    } else {
      errors.push_back(line + " - неизвестный программе блок.");
    }
  }
  CheckMapValues(m, errors);
  return m;
}

}  // namespace

void LoadThemeMap(EditorState& state, ViewState& view, Ui& ui, const std::filesystem::path& path) {
  LoadThemeMapLines(state, view, ui, path, ReadMapLines(path));
}

void LoadThemeMapLines(EditorState& state, ViewState& view, Ui& ui, const std::filesystem::path& path,
                       const std::vector<std::string>& lines) {
  // Everything is read before anything is installed: a map that stops part way leaves the
  // open theme, its tables and the window as they were.
  LoadedMap m = ParseMap(state, path, lines);
  state.SignMain = std::move(m.SignMain);
  state.SignMobile = std::move(m.SignMobile);
  state.FilesTable = m.FilesTable;
  state.FilesStart = m.FilesStart;
  state.FilesCount = m.FilesCount;
  state.HasIcon = m.HasIcon;
  state.IsColorTheme = m.IsColorTheme;
  state.MapFileCounter = m.MapFileCounter;
  state.ThemeFiles = std::move(m.ThemeFiles);
  state.Tree = std::move(m.Tree);
  state.TagParams = std::move(m.Params);
  state.MapPath = path;
  view.TV_selected = -1;
  state.MapValid = m.errors.empty();
  if (!state.MapValid) ShowMapErrors(state, view, ui, path, m.errors);
}

namespace fs = std::filesystem;

void ListThemeMaps(EditorState& state, const fs::path& maps_dir) {
  state.MapModels.clear();
  state.MapPaths.clear();
  for (const fs::path& map : ListMapFiles(maps_dir)) {
    std::string mobile = ReadMapMobile(map, state.TagParams);
    if (mobile == kNotFound) continue;
    if (state.MapPaths.empty()) state.MapPaths.emplace_back();
    state.MapModels.push_back(mobile);
    state.MapPaths.push_back(map);
  }
}

}  // namespace ssf
