#include <cstdio>

#include "base/Cp1251.h"
#include "base/FileIO.h"
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

void CheckMapValues(const EditorState& s, std::vector<std::string>& errors) {
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

void LoadThemeMap(EditorState& state, ViewState& view, Ui& ui, const std::filesystem::path& path) {
  state.MapValid = false;
  LoadThemeMapLines(state, view, ui, path, ReadMapLines(path));
}

void LoadThemeMapLines(EditorState& state, ViewState& view, Ui& ui, const std::filesystem::path& path,
                       const std::vector<std::string>& lines) {
  state.MapFileCounter = 0;
  state.MapValid = false;
  state.Tree.Clear();
  view.TV_selected = -1;
  state.ThemeFiles.clear();
  state.MapPath = path;
  std::vector<int> groups;  // open groups, innermost last
  std::vector<std::string> errors;

  TagParams& p = state.TagParams;
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
        state.SignMain = Utf8ToCp1251(p[0]);
        state.SignMobile = Utf8ToCp1251(p[1]);
      }
    } else if (keyword == "THEMESETTINGS") {
      if (count != 4) {
        errors.push_back(line + kWrongCount);
      } else {
        state.FilesTable = ParseMapNumber(p[0], line, errors);
        state.FilesStart = ParseMapNumber(p[1], line, errors);
        state.FilesCount = ParseMapNumber(p[2], line, errors);
        state.HasIcon = IsYes(p[3]);
      }
    } else if (keyword == "COLORTHEMESSETTINGS") {
      if (count != 1) {
        errors.push_back(line + kWrongCount);
      } else {
        state.IsColorTheme = IsYes(p[0]);
      }
    } else if (keyword == "GROUP") {
      groups.push_back(state.Tree.Add(p[0], parent, true));
    } else if (keyword == "FILE") {
      state.Tree.Add(p[0], parent);
      ++state.MapFileCounter;
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
      state.ThemeFiles.push_back(std::move(entry));
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
  CheckMapValues(state, errors);
  if (errors.empty()) {
    state.MapValid = true;
  } else {
    ShowMapErrors(state, view, ui, path, errors);
  }
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
