#include "base/FileIO.h"
#include "base/Limits.h"
#include "base/SsfError.h"
#include "editor/Editor.h"
#include "editor/MainFormHandlers.h"
#include "editor/ThemeMapLoader.h"
#include "theme/ThemeFile.h"
#include "platform/PathText.h"

namespace ssf {

namespace {

namespace fs = std::filesystem;

// The window without a theme: nothing of the failed file can be browsed or saved.
void ShowNoTheme(Editor& ed, const std::string& panel0, const std::string& panel1) {
  ed.state.Map.Tree.Clear();
  ed.view.TV_selected = -1;
  ed.view.PCtrl_enabled = false;
  ed.view.PCtrl_page = 0;
  ed.view.status = {panel0, panel1, ""};
  ed.view.MM_Child_SaveTheme_enabled = false;
}

// A container shorter than what its header and size table declare: the open stops with an
// error naming the file and the missing region, and the window keeps no half-read theme.
[[noreturn]] void FailStructure(Editor& ed, const fs::path& path, const std::string& what) {
  ShowNoTheme(ed, Utf8FromPath(path.filename()), "Некорректный файл темы. [Нарушена структура файла]");
  throw SsfError(ThemeFileError(path, what));
}

}  // namespace

void OpenThemeFile(Editor& ed, const fs::path& path) {
  EditorState& s = ed.state;
  ViewState& v = ed.view;
  // Read before anything changes: a file that cannot be read, is too large, or whose map
  // stops part way leaves the open theme as it was.
  ReadHandle file = OpenRegularFile(path);
  const FileStamp stamp = StampOf(file);
  const Bytes bytes = ReadWholeFile(file, path, kMaxContainerSize);
  // From here the previous theme is given up, as a failed open leaves no theme to browse.
  auto give_up_theme = [&] {
    s.ThemeModified = false;
    s.Undo.Clear();
    s.Theme.reset();
    s.ThemePath.clear();
    s.ThemeFileStamp.reset();
  };
  if (std::optional<std::string> fault = ShortHeaderFault(bytes)) {
    give_up_theme();
    FailStructure(ed, path, *fault);
  }

  const std::optional<fs::path> map = FindMapForTheme(bytes, ed.maps_dir, s.TagParams);
  if (!map) {
    give_up_theme();
    ShowNoTheme(ed, "Ошибка #1#", kNoMapStatus);
    return;
  }
  LoadThemeMap(ed, *map);
  give_up_theme();
  if (!s.MapValid) return;

  try {
    s.Theme = ParseTheme(bytes, s.Map);
  } catch (const ThemeParseError& e) {
    if (e.kind() == ThemeParseError::Kind::kStructure) FailStructure(ed, path, e.what());
    ShowNoTheme(ed, Utf8FromPath(path.filename()), e.what());
    ed.ui.ShowMsg(kBadThemeMessage, kMsgError);
    return;
  }

  std::error_code ec;
  s.ThemePath = fs::absolute(path, ec);
  if (ec) s.ThemePath = path;
  s.ThemeFileStamp = stamp;
  v.PCtrl_enabled = true;
  v.Pnl_ItemInfo_visible = false;
  v.status = {Utf8FromPath(path.filename()) + " [" + Utf8FromPath(map->filename()) + "]", "Тема загружена.",
              StoredCountText(s)};
  v.MM_Child_SaveTheme_enabled = true;
  v.MM_Child_ImportRes_enabled = true;
  v.MM_Child_ExportRes_enabled = true;
  ShowThemeHeader(ed);
  // The opened theme shows its first level and its first file, ready for the arrow keys.
  ++v.TV_expand_count;
  if (const int first = s.Map.Tree.FileNode(0); first >= 0) SelectTreeNode(ed, first);
}

}  // namespace ssf
