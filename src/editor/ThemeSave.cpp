#include <algorithm>
#include <optional>

#include "base/FileIO.h"
#include "base/SsfError.h"
#include "editor/Editor.h"
#include "editor/RecentThemes.h"
#include "editor/ThemeDraft.h"
#include "theme/ThemeCheck.h"
#include "theme/ThemeContainer.h"
#include "theme/ThemeFile.h"
#include "platform/PathText.h"

namespace ssf {

namespace {

namespace fs = std::filesystem;

// The count the header declares at offset 148: the map's count for a theme we create, the
// files held for a draft.
int32_t DeclaredFiles(const Theme& theme) { return ReadI32LE(theme.Header, kFileCountOffset); }
void SetDeclaredFiles(Theme& theme, int32_t count) { WriteI32LE(theme.Header, kFileCountOffset, count); }

bool MaySave(const EditorState& s) { return s.Theme && MaySaveTheme(*s.Theme, s.Map); }

std::string SaveRefusal(const EditorState& s) {
  return s.Theme ? SaveRefusalText(*s.Theme, s.Map) : "Сохранение темы невозможно, пока не прикреплены все файлы!";
}

bool SamePath(const fs::path& a, const fs::path& b) {
  std::error_code ec1, ec2;
  const fs::path ca = fs::weakly_canonical(a, ec1), cb = fs::weakly_canonical(b, ec2);
  return ec1 || ec2 ? a == b : ca == cb;
}

// Whether the file at `target` may be replaced: asked when it is the theme that was opened
// (or last saved) and another program has changed it since, so its change is not lost unseen.
bool MayReplace(Editor& ed, const fs::path& target) {
  const EditorState& s = ed.state;
  if (s.ThemePath.empty() || !s.ThemeFileStamp || !SamePath(target, s.ThemePath)) return true;
  const std::optional<FileStamp> now = StampOf(target);
  if (!now || *now == *s.ThemeFileStamp) return true;
  return ed.ui.AskYesNo(std::string(kThemeChangedOnDisk) + Utf8FromPath(target) + "\r\nЗаменить его этой темой?",
                        YesNoDefault::kNo);
}

// The save dialog of "Сохранить как…" and "Сохранить черновик…": starts in the theme's
// folder with its name. The confirmed target with its extension forced, or nothing.
std::optional<fs::path> AskSaveTarget(Editor& ed) {
  FileDialogRequest req;
  req.filter = "Файл темы (*.ssf)|*.ssf";
  const fs::path& own = ed.state.ThemePath;
  req.initial_dir = own.empty() ? PathFromUtf8(ed.settings.ReadString("ThemePaths", "SaveTheme")) : own.parent_path();
  req.file_name = Utf8FromPath(own.filename());
  req.ask_overwrite = true;
  std::optional<FileDialogResult> chosen = ed.ui.SaveDialog(req);
  if (!chosen) return std::nullopt;
  fs::path target = ForceExtension(chosen->path, ".ssf");
  if (!ConfirmForcedName(ed.ui, chosen->path, target)) return std::nullopt;
  RememberFolder(ed.settings, "ThemePaths", "SaveTheme", target.parent_path());
  return target;
}

// Writes the open theme with its header declaring `declared` files (kept once written) and
// makes it the theme's file. False when the user would not replace a file another program
// changed.
bool WriteTheme(Editor& ed, int32_t declared, const fs::path& target) {
  EditorState& s = ed.state;
  // Another saver of the same file (ssftool) waits for this one, and this one for it.
  const FileLock lock = LockFileForUpdate(target, std::chrono::seconds(5));
  if (!MayReplace(ed, target)) return false;
  const int32_t before = DeclaredFiles(*s.Theme);
  SetDeclaredFiles(*s.Theme, declared);
  try {
    // Throws with the old file untouched; ThemeModified stays set.
    WriteFileAtomic(target, SerializeThemeForSave(*s.Theme, s.Map, target));
  } catch (...) {
    SetDeclaredFiles(*s.Theme, before);
    throw;
  }
  s.ThemeFileStamp = StampOf(target);
  s.ThemeModified = false;
  s.Undo.MarkSaved();
  s.ThemePath = target;
  RememberRecentTheme(ed.settings, target);
  return true;
}

}  // namespace

bool ConfirmForcedName(Ui& ui, const fs::path& chosen, const fs::path& forced) {
  std::error_code ec;
  if (forced == chosen || !fs::exists(forced, ec)) return true;
  return ui.AskYesNo("Файл " + Utf8FromPath(forced.filename()) + " уже существует.\r\nЗаменить его?", YesNoDefault::kNo);
}

void MM_Child_SaveThemeClick(Editor& ed) {
  if (!MaySave(ed.state)) {
    ed.ui.ShowMsg(SaveRefusal(ed.state), kMsgError);
    return;
  }
  if (std::optional<fs::path> target = AskSaveTarget(ed)) SaveThemeAs(ed, *target);
}

void MM_Child_SaveDraftClick(Editor& ed) {
  EditorState& s = ed.state;
  if (!s.Theme) return;
  if (MaySave(s)) return MM_Child_SaveThemeClick(ed);
  const int32_t held = s.Theme->HeldFiles();
  if (!ed.ui.AskYesNo("Не прикреплено файлов: " + std::to_string(s.Map.FilesCount - held) + " из " +
                          std::to_string(s.Map.FilesCount) +
                          ".\r\nТелефон не примет черновик, пока тема не будет завершена.\r\n"
                          "Сохранить черновик?",
                      YesNoDefault::kYes)) {
    return;
  }
  std::optional<fs::path> target = AskSaveTarget(ed);
  if (!target) return;
  if (!WriteTheme(ed, held, *target)) return;
  // The theme now counts what its file declares, as it would when opened again.
  s.Theme->RecountStoredFiles();
  ed.view.status[1] = kDraftSavedStatus;
  ed.view.status[2] = StoredCountText(s);
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
  // A finished draft declares all its files again, so it opens as complete.
  if (!WriteTheme(ed, std::max(DeclaredFiles(*s.Theme), s.Map.FilesCount), target)) return false;
  ed.view.status[1] = "Тема сохранена.";
  return true;
}

}  // namespace ssf
