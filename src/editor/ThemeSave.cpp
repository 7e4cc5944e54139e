#include "base/FileIO.h"
#include "base/SsfError.h"
#include "editor/Editor.h"
#include "editor/RecentThemes.h"
#include "theme/ThemeCheck.h"

namespace ssf {

namespace {

namespace fs = std::filesystem;

bool MaySave(const EditorState& s) { return s.Theme && MaySaveTheme(*s.Theme, s.Map); }

std::string SaveRefusal(const EditorState& s) {
  return s.Theme ? SaveRefusalText(*s.Theme, s.Map) : "Сохранение темы невозможно, пока не прикреплены все файлы!";
}

}  // namespace

bool ConfirmForcedName(Ui& ui, const fs::path& chosen, const fs::path& forced) {
  std::error_code ec;
  if (forced == chosen || !fs::exists(forced, ec)) return true;
  return ui.AskYesNo("Файл " + forced.filename().string() + " уже существует.\r\nЗаменить его?", YesNoDefault::kNo);
}

void MM_Child_SaveThemeClick(Editor& ed) {
  if (!MaySave(ed.state)) {
    ed.ui.ShowMsg(SaveRefusal(ed.state), kMsgError);
    return;
  }
  FileDialogRequest req;
  req.filter = "Файл темы (*.ssf)|*.ssf";
  const fs::path& own = ed.state.ThemePath;
  req.initial_dir = own.empty() ? fs::path(ed.settings.ReadString("ThemePaths", "SaveTheme")) : own.parent_path();
  req.file_name = own.filename().string();
  req.ask_overwrite = true;
  std::optional<FileDialogResult> chosen = ed.ui.SaveDialog(req);
  if (!chosen) return;
  fs::path target = ForceExtension(chosen->path, ".ssf");
  if (!ConfirmForcedName(ed.ui, chosen->path, target)) return;
  RememberFolder(ed.settings, "ThemePaths", "SaveTheme", target.parent_path());
  SaveThemeAs(ed, target);
}

void MM_Child_SaveClick(Editor& ed) {
  if (ed.state.ThemePath.empty() || !MaySave(ed.state)) return MM_Child_SaveThemeClick(ed);
  SaveThemeAs(ed, ed.state.ThemePath);
}

bool SaveThemeAs(Editor& ed, const fs::path& target) {
  EditorState& s = ed.state;
  if (!MaySave(s)) {
    ed.ui.ShowMsg(SaveRefusal(s), kMsgError);
    return false;
  }
  WriteFileAtomic(target, SerializeTheme(*s.Theme));  // throws with the old file untouched; ThemeModified stays set
  s.ThemeModified = false;
  s.Undo.MarkSaved();
  s.ThemePath = target;
  RememberRecentTheme(ed.settings, target);
  ed.view.status[1] = "Тема сохранена.";
  return true;
}

}  // namespace ssf
