#include "editor/MainFormHandlers.h"

#include "editor/CommandLine.h"
#include "base/FileIO.h"
#include "editor/ThemeFilePreview.h"
#include "editor/RecentThemes.h"
#include "editor/ThemeMapLoader.h"
#include "editor/ThemeUndo.h"
#include "theme/ThemeFile.h"
#include "theme/ThemeHeader.h"
#include "platform/PathText.h"

namespace ssf {
namespace {

// Asks before unsaved changes would be lost; true when the command may go on.
bool MayDiscardChanges(Editor& editor) {
  return !editor.state.ThemeModified || editor.ui.AskYesNo(kLoseChangesQuestion, YesNoDefault::kNo);
}

std::string& HeaderText(ViewState& view, const HeaderField& field) {
  if (field.offset == kNameField.offset) return view.ED_ThemeName;
  if (field.offset == kVersionField.offset) return view.ED_ThemeVersion;
  return view.ED_ThemeAuthor;
}

// Opens a theme the user named, as "Открыть тему" does after its dialog.
void OpenNamedTheme(Editor& editor, const std::filesystem::path& path) {
  if (GetFileSize(path) < kMinThemeFileSize) {
    editor.ui.ShowMsg(kBadThemeMessage, kMsgError);
    return;
  }
  OpenThemeFile(editor, path);
  if (editor.state.Theme) RememberRecentTheme(editor.settings, path);
}

}  // namespace

void MM_Child_CreateThemeClick(Editor& editor) {
  if (!MayDiscardChanges(editor)) return;
  ListThemeMaps(editor);
  const std::vector<std::string>& models = editor.state.MapModels;
  if (models.empty()) {
    editor.view.status = {"Ошибка #1#", "Невозможно создать тему!", ""};
    editor.ui.ShowMsg(
        "Невозможно создать тему!\r\nНеобходимо наличие в папке ThemeMaps хотя бы одной карты темы!",
        kMsgError);
    return;
  }
  int item = 0;
  if (models.size() > 1) item = editor.ui.ChooseMap(models);
  lk_CreateNewTheme(editor, item);
}

void MM_Child_OpenThemeClick(Editor& editor) {
  if (!MayDiscardChanges(editor)) return;
  FileDialogRequest request;
  request.filter = kThemeFileFilter;
  request.initial_dir = PathFromUtf8(editor.settings.ReadString("ThemePaths", "OpenTheme"));
  std::optional<FileDialogResult> chosen = editor.ui.OpenDialog(request);
  if (!chosen) return;
  RememberFolder(editor.settings, "ThemePaths", "OpenTheme", chosen->path.parent_path());
  OpenNamedTheme(editor, chosen->path);
}

void OpenThemePath(Editor& editor, const std::filesystem::path& path) {
  if (!MayDiscardChanges(editor)) return;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    ForgetRecentTheme(editor.settings, path);
    editor.ui.ShowMsg(kThemeGoneMessage + Utf8FromPath(path), kMsgWarning);
    return;
  }
  OpenNamedTheme(editor, path);
}

void OpenStartupFile(Editor& editor, const std::vector<std::string>& params) {
  editor.state.StartupFile = JoinCommandLine(params);
  if (IsThemeFileName(editor.state.StartupFile)) OpenThemeFile(editor, PathFromUtf8(editor.state.StartupFile));
}

std::string ED_ThemeAuthorKeyPress(Editor& editor, const HeaderField& field, const std::string& text) {
  std::string& shown = HeaderText(editor.view, field);
  std::string kept = CapEditText(shown, text, field.max_bytes);
  if (kept == shown) return kept;
  shown = kept;
  if (editor.state.Theme) {
    UndoScope undo(editor, {}, true, "header " + std::to_string(field.offset));
    SetHeaderText(*editor.state.Theme, field, kept);
    editor.state.ThemeModified = true;
    undo.Commit();
    editor.view.status[1] = kHeaderChangedStatus;
  }
  return kept;
}

void CBox_ThemeTypeChange(Editor& editor, int index) {
  if (index < 0 || index > 1) return;
  editor.view.CBox_ThemeType_index = index;
  if (!editor.state.Theme || ThemeTypeIndex(*editor.state.Theme) == index) return;
  UndoScope undo(editor, {}, true);
  SetThemeType(*editor.state.Theme, index);
  editor.state.ThemeModified = true;
  undo.Commit();
  editor.view.status[1] = kHeaderChangedStatus;
}

void PCtrlChange(Editor& editor, int page) {
  editor.view.PCtrl_page = page;
  editor.view.Pnl_ItemInfo_visible = page == 0 && SelectedThemeFile(editor) >= 0;
}

void SelectTreeNode(Editor& editor, int flat_index) {
  editor.view.TV_selected = flat_index;
  TVChange(editor);
}

bool FormClose(Editor& editor) {
  if (!editor.state.ThemeModified) return true;
  switch (editor.ui.AskYesNoCancel(kSaveBeforeExitQuestion, YesNoDefault::kYes)) {
    case YesNoCancel::kCancel: return false;
    case YesNoCancel::kNo: return true;
    case YesNoCancel::kYes: break;
  }
  MM_Child_SaveClick(editor);
  return !editor.state.ThemeModified;
}

}  // namespace ssf
