// export-res and import-res: a theme's files as a resource package and back.
#include <optional>

#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "editor/Editor.h"
#include "base/FileIO.h"
#include "editor/ResourcePackage.h"

namespace ssf::cli {

namespace {

namespace fs = std::filesystem;

// Answers the save dialog with the output file; everything else as CliUi.
class SaveToUi : public CliUi {
 public:
  std::optional<fs::path> save_to;
  std::optional<FileDialogResult> SaveDialog(const FileDialogRequest&) override {
    if (!save_to) return std::nullopt;
    return FileDialogResult{*save_to, 1};
  }
};

struct OpenTheme {
  SaveToUi ui;
  IniDocument settings;  // not bound to a file: the tool keeps no settings
  Editor ed;
  explicit OpenTheme(const fs::path& maps_dir) : ed{ui, settings, maps_dir, {}, {}} {}
};

int ReportMessages(Context& ctx, const CliUi& ui, const std::string& fallback) {
  if (ui.messages.empty()) ctx.err << fallback << "\n";
  for (const auto& m : ui.messages) ctx.err << ForTerminal(m.text) << "\n";
  return kExitFailed;
}

// Opens the theme as the editor does; false (with the reason printed) when it did not open.
bool Open(Context& ctx, OpenTheme& t, const fs::path& theme) {
  OpenThemeFile(t.ed, theme);  // unreadable or cut short: throws, Run prints it
  if (t.ed.view.MM_Child_SaveTheme_enabled) return true;
  ReportMessages(ctx, t.ui, t.ed.view.status[1]);
  return false;
}

}  // namespace

int CmdExportRes(Context& ctx, const std::vector<std::string>& args) {
  if (args.size() != 2) throw UsageError{"needs a theme and a package file"};
  OpenTheme t(ctx.maps_dir);
  if (!Open(ctx, t, args[0])) return kExitFailed;
  fs::path descriptor = ForceExtension(args[1], ".res");
  ExportResourcePackage(t.ed, descriptor);
  ctx.out << "exported " << ResourceNodes(t.ed.state).size() << " files: " << descriptor.string() << ", "
          << (descriptor.parent_path() / kResFolder).string() << "\n";
  return kExitOk;
}

int CmdImportRes(Context& ctx, const std::vector<std::string>& args) {
  auto [files, out_arg] = SplitOutputOption(args);
  std::optional<fs::path> out;
  if (!out_arg.empty()) out = out_arg;
  if (files.size() != 2) throw UsageError{"needs a theme and a package file"};

  OpenTheme t(ctx.maps_dir);
  if (!Open(ctx, t, files[0])) return kExitFailed;
  if (!ImportResourcePackage(t.ed, files[1])) return ReportMessages(ctx, t.ui, "");

  // Saved as the editor saves: refused while a theme file is missing, atomic in place.
  t.ui.save_to = out ? *out : fs::path(files[0]);
  t.ed.state.ThemeModified = true;  // a package of no files changes nothing but is still saved
  MM_Child_SaveThemeClick(t.ed);
  if (t.ed.state.ThemeModified) return ReportMessages(ctx, t.ui, "the theme was not saved");
  ctx.out << "imported " << t.ed.view.status[2] << ": " << ForceExtension(*t.ui.save_to, ".ssf").string() << "\n";
  return kExitOk;
}

}  // namespace ssf::cli
