#pragma once
// Loading a theme map into the editor's state, and the list of maps the chooser offers.
#include <filesystem>
#include <string>
#include <vector>

#include "base/Ui.h"
#include "editor/EditorState.h"
#include "editor/ViewState.h"
#include "theme/ThemeMap.h"

namespace ssf {

// Loads the map into the state (state.Map, MapPath, MapValid). On errors
// shows the map error report and puts the window into its no-theme state. A map that cannot
// be read, or a "/GROUP" with no open group, throws SsfError before anything of the state or
// the window has changed.
void LoadThemeMap(EditorState& state, ViewState& view, Ui& ui, const std::filesystem::path& path);

// The same for lines already read; `path` names the map in the report and the status bar.
void LoadThemeMapLines(EditorState& state, ViewState& view, Ui& ui, const std::filesystem::path& path,
                       const std::vector<std::string>& lines);

// Rebuilds MapModels and MapPaths (entry 0 empty, entry i + 1 for model i).
void ListThemeMaps(EditorState& state, const std::filesystem::path& maps_dir);

}  // namespace ssf
