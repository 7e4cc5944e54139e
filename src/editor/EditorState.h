#pragma once
// The editor's state: the loaded theme map, the open theme and the program-wide values
// that several operations share. One object, owned by the application and passed by
// reference; nothing here is global.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "taglines/XmlLib.h"
#include "base/ByteIO.h"
#include "editor/UndoStack.h"
#include "theme/GroupTree.h"

namespace ssf {

// One entry of the map entry table (one FILE line of the map).
struct TTHemeFiles {
  std::string f_type;    // kind, upper case: JPG, RAW, ANI2, IFG, COLORTAB or another word
  int32_t f_width = 0;   // picture kinds; 0 otherwise
  int32_t f_height = 0;  // picture kinds; 0 otherwise
  int32_t f_size = 0;    // COLORTAB: expected byte size; 0 otherwise
};

// One slot of the file table: the theme file's bytes. Empty means absent.
struct TThemeNewFiles {
  Bytes f_file;
  uint32_t f_size() const { return static_cast<uint32_t>(f_file.size()); }
  bool Present() const { return !f_file.empty(); }
};

struct EditorState {
  // Map entry table, one entry per FILE line, in map order.
  std::vector<TTHemeFiles> ThemeFiles;
  // File table of the open theme, FilesCount slots once a theme is created or opened.
  std::vector<TThemeNewFiles> NewFiles;
  // Group tree of the loaded map (tree view TV).
  GroupTree Tree;

  // Parameter slots of the last tag line read; they keep their values between lines and maps.
  ssf::TagParams TagParams;

  // Maps offered by the map chooser: MapModels[i] is list item i, MapPaths[i + 1] its
  // path; MapPaths[0] stays empty, and MapPaths is empty when no map was listed.
  std::vector<std::filesystem::path> MapPaths;
  std::vector<std::string> MapModels;  // UTF-8

  // Map values. SignMain and SignMobile are Windows-1251 bytes, as the container holds them.
  std::string SignMain;
  std::string SignMobile;
  int32_t FilesTable = 0;
  int32_t FilesStart = 0;
  int32_t FilesCount = 0;
  bool HasIcon = false;
  bool IsColorTheme = false;
  // Path of the map last loaded (for the status bar and reports).
  std::filesystem::path MapPath;

  // Number of theme files held, shown as "%d/%d" with FilesCount.
  int32_t StoredFiles = 0;
  // The open theme container's bytes.
  ByteStream ThemeStream;

  bool MapValid = false;
  // Set by every change, cleared by a save; undo and redo set it to whether the theme
  // differs from the saved state.
  bool ThemeModified = false;
  // Changes to the open theme, for undo and redo; emptied when a theme is created or opened.
  UndoStack Undo;
  std::string StartupFile;
  int32_t MapFileCounter = 0;
};

// Writes `count` zero bytes at the stream's position, growing it as needed, and puts the
// position back. A count of 0 or less writes nothing.
void rt_memclr(ByteStream& mem, int64_t count);

// True when the text, Latin letters upper-cased, is exactly "YES" (no trimming).
bool IsYes(std::string_view text);

// Theme file index of the selected tree node (flat index `selected`): the flat index minus
// the number of nodes with children before it.
int32_t SelectedFileIndex(const GroupTree& tree, int selected);

// The text without the characters " * / : < > ? \ | ; all others stay.
std::string StripFileNameChars(std::string_view text);

}  // namespace ssf
