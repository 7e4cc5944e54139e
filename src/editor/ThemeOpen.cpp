#include <cstdio>
#include <cstring>
#include <fstream>

#include "base/RussianPlural.h"
#include "base/Cp1251.h"
#include "editor/Editor.h"
#include "base/FileIO.h"
#include "base/Limits.h"
#include "base/SsfError.h"
#include "theme/ThemeContainer.h"
#include "editor/ThemeMapLoader.h"

namespace ssf {

namespace {

namespace fs = std::filesystem;

std::string Hex(int64_t v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "0x%llX", static_cast<unsigned long long>(v));
  return v < 0 ? std::to_string(v) : std::string(buf);
}

// The window without a theme: nothing of the failed file can be browsed or saved.
void ShowNoTheme(Editor& ed, const std::string& panel0, const std::string& panel1) {
  ed.state.Tree.Clear();
  ed.view.TV_selected = -1;
  ed.view.PCtrl_enabled = false;
  ed.view.PCtrl_page = 0;
  ed.view.status = {panel0, panel1, ""};
  ed.view.MM_Child_SaveTheme_enabled = false;
}

void FailBadTheme(Editor& ed, const fs::path& path, const std::string& status) {
  ShowNoTheme(ed, path.filename().string(), status);
  ed.ui.ShowMsg("Некорректный файл темы!\r\nЗагрузка невозможна.", kMsgError);
}

// A container shorter than what its header and size table declare: the open stops with an
// error naming the file and the missing region, and the window keeps no half-read theme.
[[noreturn]] void FailStructure(Editor& ed, const fs::path& path, const std::string& what) {
  ShowNoTheme(ed, path.filename().string(), "Некорректный файл темы. [Нарушена структура файла]");
  throw SsfError("Файл темы " + path.string() + ": " + what);
}

// Checks every region the open reads or the save rewrites, before any of it is taken.
void CheckRegions(Editor& ed, const fs::path& path) {
  const EditorState& s = ed.state;
  const Bytes& data = s.ThemeStream.Data();
  const int64_t size = static_cast<int64_t>(data.size());
  const int64_t table = s.FilesTable, start = s.FilesStart, count = s.FilesCount;
  const int64_t table_end = table + 4 * count;
  if (s.HasIcon && size < static_cast<int64_t>(kIconOffset + kIconBytes)) {
    FailStructure(ed, path, "область иконки (смещение " + Hex(kIconOffset) + ", " + std::to_string(kIconBytes) +
                                " байт) выходит за конец файла длиной " + std::to_string(size) + " байт");
  }
  if (table < static_cast<int64_t>(kIconOffset)) {
    FailStructure(ed, path, "таблица размеров по смещению " + Hex(table) + " перекрывает заголовок (до " +
                                Hex(kIconOffset) + ")");
  }
  // The icon lies between the header and the size table; a table over it would be
  // overwritten by the icon, or overwrite it, on the next save.
  if (s.HasIcon && table < static_cast<int64_t>(kIconOffset + kIconBytes)) {
    FailStructure(ed, path, "таблица размеров по смещению " + Hex(table) + " перекрывает иконку (" +
                                Hex(kIconOffset) + "-" + Hex(kIconOffset + kIconBytes) + ")");
  }
  if (table_end > size) {
    FailStructure(ed, path, "таблица размеров по смещению " + Hex(table) + " (" +
                                CountText(count, "запись", "записи", "записей") + ", до " + Hex(table_end) + ") выходит за конец файла длиной " +
                                std::to_string(size) + " байт");
  }
  if (start < table_end) {
    FailStructure(ed, path, "начало данных " + Hex(start) + " лежит внутри таблицы размеров (" + Hex(table) +
                                "-" + Hex(table_end) + ")");
  }
  if (start > size) {
    FailStructure(ed, path, "начало данных " + Hex(start) + " лежит за концом файла длиной " +
                                std::to_string(size) + " байт");
  }
  int64_t total = 0;
  for (int64_t k = 0; k < count; ++k) {
    total += ReadU32LE(data, static_cast<size_t>(table + 4 * k));
  }
  if (total > size - start) {
    FailStructure(ed, path, "размеры файлов в таблице дают " + std::to_string(total) + " байт от смещения " +
                                Hex(start) + ", в файле есть только " + std::to_string(size - start));
  }
}

}  // namespace

void OpenThemeFile(Editor& ed, const fs::path& path) {
  EditorState& s = ed.state;
  ViewState& v = ed.view;
  // Read before anything changes: a file that cannot be read, is too large, or whose map
  // stops part way leaves the open theme as it was.
  Bytes bytes = ReadWholeFile(path, kMaxContainerSize);
  // From here the previous theme is given up, as a failed open leaves no theme to browse.
  auto take_new_theme = [&] {
    s.ThemeModified = false;
    s.Undo.Clear();
    s.NewFiles = {};
    s.ThemeStream = ByteStream(std::move(bytes));
  };
  if (bytes.size() < kHeaderSize) {
    const size_t size = bytes.size();
    take_new_theme();
    FailStructure(ed, path, "заголовок темы требует " + std::to_string(kHeaderSize) + " байт, в файле " +
                                std::to_string(size));
  }

  std::string model = ReadTextField(bytes, kModelOffset, kModelSize);
  std::optional<fs::path> map = FindMapForMobile(ed.maps_dir, Cp1251ToUtf8(model), s.TagParams);
  if (!map) {
    take_new_theme();
    ShowNoTheme(ed, "Ошибка #1#", "Не найден файл карты темы. Дальнейшая работа невозможна.");
    return;
  }
  LoadThemeMap(ed, *map);
  take_new_theme();
  if (!s.MapValid) return;
  const Bytes& data = s.ThemeStream.Data();

  if (s.SignMain.size() != kSignatureSize ||
      std::memcmp(data.data() + kSignatureOffset, s.SignMain.data(), kSignatureSize) != 0) {
    return FailBadTheme(ed, path, "Некорректный файл темы. [Ошибка в сигнатуре 1]");
  }
  int32_t table = ReadI32LE(data, kFilesTableOffset);
  if (table == 0) return FailBadTheme(ed, path, "Некорректный файл темы. [Нулевой указатель размеров файлов]");
  s.FilesTable = table;
  int32_t start = ReadI32LE(data, kFilesStartOffset);
  if (start == 0) return FailBadTheme(ed, path, "Некорректный файл темы. [Нулевой указатель начала файлов]");
  s.FilesStart = start;

  v.ED_ThemeAuthor = ReadTextField(data, kAuthorOffset, kAuthorSize);
  v.ED_ThemeName = ReadTextField(data, kThemeNameOffset, kThemeNameSize);
  v.ED_ThemeVersion = ReadTextField(data, kVersionOffset, kVersionReadSize);

  CheckRegions(ed, path);
  std::vector<TThemeNewFiles> slots(static_cast<size_t>(s.FilesCount));
  size_t pos = static_cast<size_t>(s.FilesStart);
  for (size_t k = 0; k < slots.size(); ++k) {
    uint32_t size = ReadU32LE(data, static_cast<size_t>(s.FilesTable) + 4 * k);
    slots[k].f_file.assign(data.begin() + static_cast<ptrdiff_t>(pos),
                           data.begin() + static_cast<ptrdiff_t>(pos + size));
    pos += size;
  }
  s.NewFiles = std::move(slots);

  v.PCtrl_enabled = true;
  // The count written at creation; never more than the map's files, never below zero.
  s.StoredFiles = std::max(0, std::min(ReadI32LE(data, kFileCountOffset), s.FilesCount));
  v.Pnl_ItemInfo_visible = false;
  v.status = {path.filename().string() + " [" + map->filename().string() + "]", "Тема загружена.",
              std::to_string(s.StoredFiles) + "/" + std::to_string(s.FilesCount)};
  v.MM_Child_SaveTheme_enabled = true;
  v.MM_Child_ImportRes_enabled = true;
  v.MM_Child_ExportRes_enabled = true;

  v.CBox_ThemeType_visible = !s.IsColorTheme;
  if (!s.IsColorTheme) {
    uint8_t type = data[kThemeTypeOffset];
    v.CBox_ThemeType_index = type <= 1 ? type : -1;
  }
  v.Pnl_ThemeIcon_visible = s.HasIcon;
  if (s.HasIcon) ShowThemeIcon(ed);
}

}  // namespace ssf
