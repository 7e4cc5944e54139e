#include "editor/ThemeMapLoader.h"
#include "platform/PathText.h"

namespace ssf {

namespace {

void ShowMapErrors(EditorState& state, ViewState& view, Ui& ui, const std::filesystem::path& path,
                   const ParsedThemeMap& parsed) {
  state.Map.Tree.Clear();
  view.TV_selected = -1;
  view.MM_Child_SaveTheme_enabled = false;
  view.PCtrl_enabled = false;
  view.Pnl_ItemInfo_visible = false;
  view.status = {"Ошибка #2#", "Некорректная карта темы!", ""};
  ui.ShowMsg(MapErrorReport(Utf8FromPath(path.filename()), parsed.errors, parsed.more_errors), kMsgError);
}

// Everything is read before anything is installed: a map that stops part way leaves the
// open theme, its tables and the window as they were.
void InstallThemeMap(EditorState& state, ViewState& view, Ui& ui, const std::filesystem::path& path,
                     ParsedThemeMap parsed) {
  state.Map = std::move(parsed.map);
  state.MapPath = path;
  view.TV_selected = -1;
  state.MapValid = parsed.errors.empty();
  if (!state.MapValid) ShowMapErrors(state, view, ui, path, parsed);
}

}  // namespace

void LoadThemeMap(EditorState& state, ViewState& view, Ui& ui, const std::filesystem::path& path) {
  InstallThemeMap(state, view, ui, path, ReadThemeMap(path, state.Map, state.TagParams));
}

void LoadThemeMapLines(EditorState& state, ViewState& view, Ui& ui, const std::filesystem::path& path,
                       const std::vector<std::string>& lines) {
  InstallThemeMap(state, view, ui, path, ParseThemeMap(lines, state.Map, state.TagParams, path));
}

void ListThemeMaps(EditorState& state, const std::filesystem::path& maps_dir) {
  state.MapModels.clear();
  state.MapPaths.clear();
  for (ListedMap& listed : ListThemeMapFiles(maps_dir, state.TagParams)) {
    if (state.MapPaths.empty()) state.MapPaths.emplace_back();
    state.MapModels.push_back(std::move(listed.model));
    state.MapPaths.push_back(std::move(listed.path));
  }
}

}  // namespace ssf
