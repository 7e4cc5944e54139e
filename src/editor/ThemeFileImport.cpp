#include "editor/ThemeFileImport.h"

#include "base/SsfError.h"
#include "editor/IfgImportOption.h"
#include "editor/ThemeFilePreview.h"
#include "editor/ThemeUndo.h"
#include "platform/PathText.h"

namespace ssf {

namespace {

namespace fs = std::filesystem;

void CheckIndex(const Editor& ed, int k) {
  if (!ed.state.Theme || !ed.state.Theme->Slot(k) || !ed.state.Map.Entry(k)) {
    throw SsfError("Нет файла темы с номером " + std::to_string(k));
  }
}

void Commit(Editor& ed, int k, ThemeFileBytes file) {
  EditorState& s = ed.state;
  ViewState& v = ed.view;
  TThemeNewFiles& slot = s.Theme->NewFiles[static_cast<size_t>(k)];
  const bool shown = SelectedThemeFile(ed) == k;
  if (shown && file.preview) v.IMG = std::move(*file.preview);
  slot.f_file = std::move(file.stored);
  v.status[2] = StoredCountText(s);
  if (shown) {
    v.ED_FileSize = std::to_string(slot.f_size()) + " б";
    v.lbl_5_visible = false;
    v.btn_SaveFile_enabled = true;
    v.IMG_problem = StoredFileProblem(slot.f_file, *s.Map.Entry(k), k);
  }
  s.ThemeModified = true;
  v.status[1] = "Тема изменена.";
}

}  // namespace

void StoreSelectedFile(Editor& ed, int k, Bytes bytes, std::optional<PreviewPicture> preview) {
  CheckIndex(ed, k);
  UndoScope undo(ed, {k}, false);
  Commit(ed, k, ThemeFileBytes{std::move(bytes), std::move(preview)});
  undo.Commit();
}

bool ImportThemeFile(Editor& ed, int k, const fs::path& file) {
  CheckIndex(ed, k);
  const ImportOptions options{IfgImportMaxError(ed.settings), ed.fit};
  Converted<ThemeFileBytes> converted = ConvertForThemeFile(file, *ed.state.Map.Entry(k), options);
  if (converted.refusal) ed.ui.ShowMsg(converted.refusal->text, converted.refusal->kind);
  if (!converted.value) return false;
  UndoScope undo(ed, {k}, false);
  Commit(ed, k, std::move(*converted.value));
  undo.Commit();
  return true;
}

void btn_LoadFileClick(Editor& ed) {
  const int k = SelectedThemeFile(ed);
  if (k < 0) return;
  FileDialogRequest request;
  request.initial_dir = PathFromUtf8(ed.settings.ReadString("ExecuteFiles", "OpenFile"));
  request.filter = ImportFilter(ed.state.Map.Entry(k)->f_type);
  if (request.filter.empty()) return;
  std::optional<FileDialogResult> chosen = ed.ui.OpenDialog(request);
  if (!chosen) return;
  RememberFolder(ed.settings, "ExecuteFiles", "OpenFile", chosen->path.parent_path() / "");
  ImportThemeFile(ed, k, chosen->path);
}

}  // namespace ssf
