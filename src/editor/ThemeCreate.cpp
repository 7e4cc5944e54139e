#include <algorithm>
#include <cstring>

#include "editor/Editor.h"
#include "base/SsfError.h"
#include "theme/ThemeContainer.h"

namespace ssf {

namespace {

void WriteBytes(Bytes& data, size_t offset, std::string_view text, size_t max) {
  size_t n = std::min(text.size(), max);
  CheckRange(data.size(), offset, n, "новая тема");
  std::memcpy(data.data() + offset, text.data(), n);
}

}  // namespace

void lk_CreateNewTheme(Editor& ed, int item_index) {
  EditorState& s = ed.state;
  ViewState& v = ed.view;
  size_t slot = static_cast<size_t>(item_index) + 1;
  if (item_index < 0 || slot >= s.MapPaths.size()) {
    throw SsfError("Не выбрана карта темы (пункт " + std::to_string(item_index) + ")");
  }
  std::filesystem::path map = s.MapPaths[slot];
  LoadThemeMap(ed, map);
  if (!s.MapValid) return;

  // A clean map guarantees 0xB0 <= FilesTable and FilesTable + 4 * FilesCount <= FilesStart.
  Bytes data(static_cast<size_t>(s.FilesStart), 0);
  WriteBytes(data, kSignatureOffset, s.SignMain, kSignatureSize);
  WriteBytes(data, kModelOffset, s.SignMobile, kModelSize);
  WriteBytes(data, kAuthorOffset, "Автор темы", kAuthorSize - 1);
  WriteBytes(data, kThemeNameOffset, "Название темы", kThemeNameSize - 1);
  WriteBytes(data, kVersionOffset, "1.0", 4);
  WriteI32LE(data, kFileCountOffset, s.FilesCount);
  WriteI32LE(data, kFilesTableOffset, s.FilesTable);
  WriteI32LE(data, kFilesStartOffset, s.FilesStart);
  s.ThemeStream = ByteStream(std::move(data));
  s.StoredFiles = 0;

  v.status = {"NewTheme.ssf [" + map.filename().string() + "]", "Создание новой темы.",
              "0/" + std::to_string(s.FilesCount)};
  v.PCtrl_enabled = true;
  v.PCtrl_page = 0;
  v.Pnl_ItemInfo_visible = false;
  v.ED_ThemeAuthor = "Автор темы";
  v.ED_ThemeName = "Название темы";
  v.ED_ThemeVersion = "1.0";
  v.CBox_ThemeType_index = 0;
  v.MM_Child_SaveTheme_enabled = true;

  s.NewFiles.assign(static_cast<size_t>(s.FilesCount), TThemeNewFiles{});
  v.MM_Child_ImportRes_enabled = true;
  v.MM_Child_ExportRes_enabled = true;
  s.ThemeModified = false;
  s.Undo.Clear();

  v.CBox_ThemeType_visible = !s.IsColorTheme;
  if (!s.IsColorTheme) v.CBox_ThemeType_index = 0;
  v.Pnl_ThemeIcon_visible = s.HasIcon;
  if (s.HasIcon) ShowThemeIcon(ed);
}

}  // namespace ssf
