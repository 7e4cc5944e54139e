// ssftool extract THEME.ssf INDEX OUT: writes one theme file as "Сохранить" would, the
// format chosen by OUT's extension.
#include <charconv>

#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "editor/Editor.h"
#include "base/FileIO.h"
#include "editor/ThemeFileExport.h"
#include "editor/ThemeFilePreview.h"

namespace ssf::cli {

namespace {

std::string ExtensionsOf(const std::string& kind) {
  if (kind == "JPG" || kind == "RAW" || kind == "IFG") return ".bmp .jpg .jpeg .png .raw .ifg";
  if (kind == "ANI2") return ".png .ani2";
  if (kind == "COLORTAB") return ".tab";
  return "";
}

}  // namespace

int CmdExtract(Context& ctx, const std::vector<std::string>& args) {
  if (args.size() != 3) throw UsageError{"THEME.ssf, INDEX and OUT are needed"};
  const std::string& theme = args[0];
  const std::string& index_text = args[1];
  const std::filesystem::path out = args[2];
  int index = -1;
  auto [end, ec] = std::from_chars(index_text.data(), index_text.data() + index_text.size(), index);
  if (ec != std::errc() || end != index_text.data() + index_text.size() || index < 0) {
    throw UsageError{"INDEX must be a theme file number from 0: '" + index_text + "'"};
  }

  CliUi ui;
  IniDocument settings;  // not bound to a file: the tool keeps no settings
  Editor ed{ui, settings, ctx.maps_dir, {}, {}};
  OpenThemeFile(ed, theme);
  if (!ed.view.MM_Child_SaveTheme_enabled) {
    if (ui.messages.empty()) ctx.err << ed.view.status[1] << "\n";
    for (const auto& m : ui.messages) ctx.err << ForTerminal(m.text) << "\n";
    return kExitFailed;
  }
  const EditorState& s = ed.state;
  const size_t k = static_cast<size_t>(index);
  if (k >= s.ThemeFiles.size() || k >= s.NewFiles.size()) {
    ctx.err << "ssftool extract: the theme has " << std::min(s.ThemeFiles.size(), s.NewFiles.size())
            << " theme files; there is no file " << index << "\n";
    return kExitFailed;
  }
  const TTHemeFiles& entry = s.ThemeFiles[k];
  const TThemeNewFiles& slot = s.NewFiles[k];
  const std::string extensions = ExtensionsOf(entry.f_type);
  if (extensions.empty()) {
    ctx.err << "ssftool extract: theme file " << index << " is of kind " << entry.f_type
            << ", which cannot be written out\n";
    return kExitFailed;
  }
  const int filter = ExportFilterForExtension(entry.f_type, out.extension().string());
  if (filter == 0) {
    throw UsageError{"a theme file of kind " + entry.f_type + " is written as " + extensions + ", not '" +
                     out.extension().string() + "'"};
  }
  if (!slot.Present()) {
    ctx.err << "ssftool extract: theme file " << index << " is absent from the theme\n";
    return kExitFailed;
  }
  const bool stored_as_is = entry.f_type == "COLORTAB" || (entry.f_type == "ANI2" && filter == 2);
  const PreviewPicture preview = stored_as_is ? PreviewPicture{} : MakePreviewPicture(slot.f_file, entry);
  WriteFileAtomic(out, ExportThemeFileBytes(entry.f_type, filter, preview, slot.f_file));
  return kExitOk;
}

}  // namespace ssf::cli
