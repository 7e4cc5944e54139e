#include "base/SsfError.h"
#include "editor/Editor.h"
#include "platform/PathText.h"

namespace ssf {

void lk_CreateNewTheme(Editor& ed, int item_index) {
  EditorState& s = ed.state;
  ViewState& v = ed.view;
  const size_t slot = static_cast<size_t>(item_index) + 1;
  if (item_index < 0 || slot >= s.MapPaths.size()) {
    throw SsfError("Не выбрана карта темы (пункт " + std::to_string(item_index) + ")");
  }
  const std::filesystem::path map = s.MapPaths[slot];
  LoadThemeMap(ed, map);
  if (!s.MapValid) return;

  s.Theme = NewTheme(s.Map);
  s.ThemePath.clear();
  s.ThemeFileStamp.reset();
  s.ThemeModified = false;
  s.Undo.Clear();

  v.status = {"NewTheme.ssf [" + Utf8FromPath(map.filename()) + "]", "Создание новой темы.", StoredCountText(s)};
  v.PCtrl_enabled = true;
  v.PCtrl_page = 0;
  v.Pnl_ItemInfo_visible = false;
  v.MM_Child_SaveTheme_enabled = true;
  v.MM_Child_ImportRes_enabled = true;
  v.MM_Child_ExportRes_enabled = true;
  // The type box shows item 0 even for a colour theme, whose box is hidden.
  v.CBox_ThemeType_index = 0;
  ShowThemeHeader(ed);
}

}  // namespace ssf
