#pragma once
// The editor's state: the loaded theme map, the open theme and the program-wide values
// that several operations share. One object, owned by the application and passed by
// reference; nothing here is global.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/FileIO.h"
#include "editor/UndoStack.h"
#include "taglines/XmlLib.h"
#include "theme/Theme.h"
#include "theme/ThemeMap.h"

namespace ssf {

struct EditorState {
  // The map last loaded; a map with errors stays here too (MapValid false), so the next
  // map that leaves a block out takes its values.
  ThemeMap Map;
  // The open theme; none before the first create or open and after one that failed.
  std::optional<ssf::Theme> Theme;

  // Parameter slots of the last tag line read; they keep their values between lines and maps.
  ssf::TagParams TagParams;

  // Maps offered by the map chooser: MapModels[i] is list item i, MapPaths[i + 1] its
  // path; MapPaths[0] stays empty, and MapPaths is empty when no map was listed.
  std::vector<std::filesystem::path> MapPaths;
  std::vector<std::string> MapModels;  // UTF-8
  // Path of the map last loaded (for the status bar and reports).
  std::filesystem::path MapPath;
  // The file the open theme came from or was last saved to; empty for a new theme. "Сохранить"
  // writes back to it.
  std::filesystem::path ThemePath;

  bool MapValid = false;
  // Set by every change, cleared by a save; undo and redo set it to whether the theme
  // differs from the saved state.
  bool ThemeModified = false;
  // Changes to the open theme, for undo and redo; emptied when a theme is created or opened.
  UndoStack Undo;
  std::string StartupFile;
  // How ThemePath was when it was opened or last saved: a save over it asks before
  // replacing a file that another program changed in the meantime.
  std::optional<FileStamp> ThemeFileStamp;
};

// Theme file index of the selected tree node (flat index `selected`), or -1 when it is no
// theme file node (no selection, a group even without children) or has no entry and slot.
int SelectedThemeFile(const EditorState& state, int selected);

// "%d/%d": the stored-file count and the map's file count, for the third status panel.
std::string StoredCountText(const EditorState& state);

}  // namespace ssf
