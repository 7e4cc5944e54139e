#include "editor/ThemeFileExport.h"

#include "base/FileIO.h"
#include "editor/ThemeFilePreview.h"
#include "theme/ExportFormats.h"
#include "platform/PathText.h"

namespace ssf {

void btn_SaveFileClick(Editor& ed) {
  const int k = SelectedThemeFile(ed);
  if (k < 0) return;
  const TTHemeFiles& entry = *ed.state.Map.Entry(k);
  const TThemeNewFiles& slot = *ed.state.Theme->Slot(k);
  const std::string& kind = entry.f_type;
  const std::string filter = ExportFilter(kind);
  // The button is only enabled for a present file; there is nothing to write otherwise.
  if (filter.empty() || !slot.Present()) return;

  const std::string& caption = ed.state.Map.Tree.Node(ed.view.TV_selected).caption;
  FileDialogRequest request;
  request.filter = filter;
  request.file_name = ProposedFileName(caption);
  request.initial_dir = PathFromUtf8(ed.settings.ReadString("ExecuteFiles", "SaveFile"));
  request.ask_overwrite = true;
  std::optional<FileDialogResult> chosen = ed.ui.SaveDialog(request);
  if (!chosen) return;
  RememberFolder(ed.settings, "ExecuteFiles", "SaveFile", chosen->path.parent_path() / "");

  const std::string extension = ExportExtension(kind, chosen->filter_index);
  if (extension.empty()) return;
  const std::filesystem::path target = ForceExtension(chosen->path, extension);
  if (!ConfirmForcedName(ed.ui, chosen->path, target)) return;

  // A preview that failed to decode holds no picture; decoding again reports why.
  PreviewPicture decoded;
  const PreviewPicture* preview = &ed.view.IMG;
  const bool from_preview = ExportsFromPicture(kind, chosen->filter_index);
  if (from_preview && preview->kind == PreviewPicture::Kind::kNone) {
    decoded = MakePreviewPicture(slot.f_file, entry);
    preview = &decoded;
  }
  WriteFileAtomic(target, ExportThemeFileBytes(kind, chosen->filter_index, *preview, slot.f_file));
}

}  // namespace ssf
