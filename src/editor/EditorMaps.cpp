#include "base/SsfError.h"
#include "editor/Editor.h"
#include "editor/ThemeMapLoader.h"
#include "platform/PathText.h"

namespace ssf {

void ListThemeMaps(Editor& ed) { ListThemeMaps(ed.state, ed.maps_dir); }

void LoadThemeMap(Editor& ed, const std::filesystem::path& path) { LoadThemeMap(ed.state, ed.view, ed.ui, path); }

int SelectedThemeFile(const Editor& ed) { return SelectedThemeFile(ed.state, ed.view.TV_selected); }

void RememberFolder(IniDocument& settings, const char* section, const char* key, const std::filesystem::path& folder) {
  try {
    settings.WriteString(section, key, Utf8FromPath(folder));
  } catch (const SsfError&) {
  }
}

}  // namespace ssf
