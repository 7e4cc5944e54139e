#include "editor/ThemeIconHandlers.h"

#include <optional>

#include "base/FileIO.h"
#include "base/SsfError.h"
#include "editor/ThemeUndo.h"
#include "theme/ThemeFileConversion.h"
#include "theme/ThemeHeader.h"
#include "platform/PathText.h"

namespace ssf {

namespace {

namespace fs = std::filesystem;

bool IconAreaOpen(const Editor& ed) { return ed.state.Theme && HasIconArea(*ed.state.Theme, ed.state.Map); }

}  // namespace

void StoreThemeIcon(Editor& ed, const Image& picture) {
  if (!ed.state.Theme) throw SsfError("Нет открытой темы");
  UndoScope undo(ed, {}, true);
  SetThemeIcon(*ed.state.Theme, picture);
  ed.state.ThemeModified = true;
  undo.Commit();
  // The window keeps the picture as loaded, not its 16-bit stored form, until the theme
  // is opened again.
  ed.view.IMG_ThemeIcon = picture;
}

bool LoadThemeIconFile(Editor& ed, const fs::path& file) {
  if (!IconAreaOpen(ed)) throw SsfError(kNoIconAreaText);
  Converted<Image> picture = ConvertIconPicture(file);
  if (picture.refusal) ed.ui.ShowMsg(picture.refusal->text, picture.refusal->kind);
  if (!picture.value) return false;
  StoreThemeIcon(ed, *picture.value);
  return true;
}

void IMG_ThemeIconClick(Editor& ed) {
  if (!IconAreaOpen(ed)) return;
  FileDialogRequest request;
  request.filter = kImportFilterPictures;
  request.initial_dir = PathFromUtf8(ed.settings.ReadString("ThemePaths", "ThemeIconOpen"));
  std::optional<FileDialogResult> chosen = ed.ui.OpenDialog(request);
  if (!chosen) return;
  RememberFolder(ed.settings, "ThemePaths", "ThemeIconOpen", chosen->path.parent_path() / "");
  LoadThemeIconFile(ed, chosen->path);
}

void PM_ExctractIMGClick(Editor& ed) {
  if (!IconAreaOpen(ed)) return;
  FileDialogRequest request;
  request.filter = kIconSaveFilter;
  request.initial_dir = PathFromUtf8(ed.settings.ReadString("ThemePaths", "ThemeIconSave"));
  request.ask_overwrite = true;
  std::optional<FileDialogResult> chosen = ed.ui.SaveDialog(request);
  if (!chosen) return;
  RememberFolder(ed.settings, "ThemePaths", "ThemeIconSave", chosen->path.parent_path() / "");
  const int index = chosen->filter_index >= 1 && chosen->filter_index <= 5 ? chosen->filter_index : 1;
  const fs::path target = ForceExtension(chosen->path, IconExtension(index));
  if (!ConfirmForcedName(ed.ui, chosen->path, target)) return;
  WriteFileAtomic(target, IconFileBytes(*ed.state.Theme, ed.view.IMG_ThemeIcon, index));
}

void PM_DelIMGClick(Editor& ed) {
  if (!IconAreaOpen(ed)) return;
  UndoScope undo(ed, {}, true);
  ClearThemeIcon(*ed.state.Theme);
  // Clearing is a change like any other: without the flag it was lost on exit unasked.
  ed.state.ThemeModified = true;
  undo.Commit();
  ShowThemeIcon(ed);
}

}  // namespace ssf
