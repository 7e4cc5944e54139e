#include "editor/Editor.h"
#include "editor/ThemeMapLoader.h"

namespace ssf {

void ListThemeMaps(Editor& ed) { ListThemeMaps(ed.state, ed.maps_dir); }

void LoadThemeMap(Editor& ed, const std::filesystem::path& path) { LoadThemeMap(ed.state, ed.view, ed.ui, path); }

int32_t SelectedFileIndex(const Editor& ed) { return SelectedFileIndex(ed.state.Tree, ed.view.TV_selected); }

}  // namespace ssf
