#include "editor/ResourceHandlers.h"

#include "base/FileIO.h"
#include "base/RussianPlural.h"
#include "base/SsfError.h"
#include "editor/ThemeUndo.h"
#include "platform/PathText.h"

namespace ssf {

namespace fs = std::filesystem;

bool ImportResourcePackage(Editor& ed, const fs::path& descriptor) {
  EditorState& s = ed.state;
  ViewState& v = ed.view;
  if (!s.Theme) throw SsfError("Нет открытой темы");
  Converted<ResourceFiles> files = ReadResourcePackage(s.Map, *s.Theme, descriptor);
  if (!files.value) {
    // The information panel goes once the package is known to be this theme's.
    if (files.refusal && files.refusal->text != kResWrongModel && files.refusal->text != kResWrongCount) {
      v.Pnl_ItemInfo_visible = false;
    }
    if (files.refusal) ed.ui.ShowMsg(files.refusal->text, files.refusal->kind);
    return false;
  }
  v.Pnl_ItemInfo_visible = false;

  std::vector<int> touched;
  for (const auto& slot : files.value->files) touched.push_back(slot.first);
  const bool any = !touched.empty();
  UndoScope undo(ed, std::move(touched), false);
  const size_t read = files.value->files.size();
  ApplyResourceFiles(*s.Theme, std::move(*files.value));
  if (any) s.ThemeModified = true;
  undo.Commit();
  v.status[2] = StoredCountText(s);
  v.status[1] = "Импорт ресурсов: " + CountText(static_cast<int64_t>(read), "файл", "файла", "файлов") +
                " из папки " + PackageFolderText(descriptor);

  // Collapsing hides a selected node inside a group; the selection moves up to the
  // top-level node that stays visible, as a tree view does.
  const GroupTree& tree = s.Map.Tree;
  if (v.TV_selected >= 0 && v.TV_selected < tree.Size()) {
    while (tree.Node(v.TV_selected).parent >= 0) v.TV_selected = tree.Node(v.TV_selected).parent;
  }
  ++v.TV_collapse_count;
  return true;
}

void MM_Child_ExportResClick(Editor& ed) {
  if (!ed.state.Theme) return;
  FileDialogRequest req;
  req.filter = kResFilter;
  req.initial_dir = PathFromUtf8(ed.settings.ReadString("Resources", "ExportRes"));
  req.ask_overwrite = true;
  std::optional<FileDialogResult> chosen = ed.ui.SaveDialog(req);
  if (!chosen) return;
  RememberFolder(ed.settings, "Resources", "ExportRes", chosen->path.parent_path());
  fs::path descriptor = ForceExtension(chosen->path, ".res");
  if (!ConfirmForcedName(ed.ui, chosen->path, descriptor)) return;
  ExportResourcePackage(ed.state.Map, *ed.state.Theme, descriptor);
  const size_t written = LayOutPackage(ed.state.Map, *ed.state.Theme).files.size();
  ed.view.status[1] = "Экспорт ресурсов: " + CountText(static_cast<int64_t>(written), "файл", "файла", "файлов") +
                      " в папку " + PackageFolderText(descriptor);
}

void MM_Child_ImportResClick(Editor& ed) {
  if (!ed.state.Theme) return;
  FileDialogRequest req;
  req.filter = kResFilter;
  req.initial_dir = PathFromUtf8(ed.settings.ReadString("Resources", "ImportRes"));
  std::optional<FileDialogResult> chosen = ed.ui.OpenDialog(req);
  if (!chosen) return;
  RememberFolder(ed.settings, "Resources", "ImportRes", chosen->path.parent_path());
  ImportResourcePackage(ed, chosen->path);
}

std::string PackageFolderText(const fs::path& descriptor) {
  return Utf8FromPath(descriptor.parent_path() / kResFolder);
}

}  // namespace ssf
