#include <cstring>

#include "editor/RecentThemes.h"
#include "editor/Editor.h"
#include "base/FileIO.h"
#include "base/SsfError.h"
#include "editor/ThemeCheck.h"
#include "theme/ThemeContainer.h"

namespace ssf {

namespace {

namespace fs = std::filesystem;

// The container as the open theme is saved: the bytes before the size table as they are,
// the size table, zeros up to the file data, then every slot's bytes back to back.
Bytes BuildContainer(const EditorState& s) {
  const Bytes& head = s.ThemeStream.Data();
  const size_t table = static_cast<size_t>(s.FilesTable);
  const size_t start = static_cast<size_t>(s.FilesStart);
  if (s.FilesTable < 0 || s.FilesStart < 0 || table > head.size() ||
      table + 4 * s.NewFiles.size() > start || s.NewFiles.size() != static_cast<size_t>(s.FilesCount)) {
    throw SsfError("Сохранение темы невозможно: таблица размеров или начало данных вне файла темы");
  }
  size_t total = 0;
  for (const TThemeNewFiles& f : s.NewFiles) total += f.f_file.size();
  Bytes out(start + total, 0);
  std::memcpy(out.data(), head.data(), table);
  size_t pos = start;
  for (size_t k = 0; k < s.NewFiles.size(); ++k) {
    const Bytes& f = s.NewFiles[k].f_file;
    WriteU32LE(out, table + 4 * k, static_cast<uint32_t>(f.size()));
    if (!f.empty()) std::memcpy(out.data() + pos, f.data(), f.size());
    pos += f.size();
  }
  return out;
}

// The refusal names what is missing, so nobody has to click through the tree to find it.
std::string SaveRefusal(const EditorState& s) {
  std::string text = "Сохранение темы невозможно, пока не прикреплены все файлы!";
  const std::string absent = AbsentFilesText(s);
  if (!absent.empty()) text += "\r\n\r\nНе прикреплены:\r\n" + absent;
  return text;
}

}  // namespace

bool ConfirmForcedName(Ui& ui, const fs::path& chosen, const fs::path& forced) {
  std::error_code ec;
  if (forced == chosen || !fs::exists(forced, ec)) return true;
  return ui.AskYesNo("Файл " + forced.filename().string() + " уже существует.\r\nЗаменить его?", YesNoDefault::kNo);
}

void MM_Child_SaveThemeClick(Editor& ed) {
  EditorState& s = ed.state;
  if (s.StoredFiles != s.FilesCount) {
    ed.ui.ShowMsg(SaveRefusal(s), kMsgError);
    return;
  }
  FileDialogRequest req;
  req.filter = "Файл темы (*.ssf)|*.ssf";
  req.initial_dir = ed.settings.ReadString("ThemePaths", "SaveTheme");
  req.ask_overwrite = true;
  std::optional<FileDialogResult> chosen = ed.ui.SaveDialog(req);
  if (!chosen) return;
  fs::path target = ForceExtension(chosen->path, ".ssf");
  if (!ConfirmForcedName(ed.ui, chosen->path, target)) return;
  try {
    ed.settings.WriteString("ThemePaths", "SaveTheme", target.parent_path().string());
  } catch (const SsfError&) {
    // The remembered folder is a convenience; a read-only settings file must not stop a save.
  }

  SaveThemeAs(ed, target);
}

bool SaveThemeAs(Editor& ed, const fs::path& target) {
  EditorState& s = ed.state;
  if (s.StoredFiles != s.FilesCount) {
    ed.ui.ShowMsg(SaveRefusal(s), kMsgError);
    return false;
  }
  Bytes container = BuildContainer(s);
  WriteFileAtomic(target, container);  // throws with the old file untouched; ThemeModified stays set
  s.ThemeStream = ByteStream(std::move(container));
  s.ThemeModified = false;
  s.Undo.MarkSaved();
  RememberRecentTheme(ed.settings, target);
  ed.view.status[1] = "Тема сохранена.";
  return true;
}

}  // namespace ssf
