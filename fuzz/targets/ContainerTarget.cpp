#include <unistd.h>

#include <string>

#include "base/SilentUi.h"
#include "FuzzTargets.h"
#include "editor/Editor.h"
#include "theme/ThemeCheck.h"
#include "base/FileIO.h"
#include "base/SsfError.h"

namespace ssf::fuzz {

namespace {

namespace fs = std::filesystem;

// Answers every save dialog with one file.
class SaveToUi : public SilentUi {
 public:
  fs::path save_to;
  std::optional<FileDialogResult> SaveDialog(const FileDialogRequest&) override {
    return FileDialogResult{save_to, 1};
  }
};

// A map folder with two small maps (with and without icon), made once per process and
// removed at exit.
struct MapFolder {
  fs::path dir = fs::temp_directory_path() / ("ssf-fuzz-container-" + std::to_string(::getpid()));
  MapFolder() {
    fs::create_directories(dir / "ThemeMaps");
    WriteFileAtomic(dir / "ThemeMaps" / "a.rxt",
                    std::string("<THEMESIGN \"SAMSUNG THEME\" \"FUZZ-A\">\n<THEMESETTINGS \"0xFD0\" \"0xFE0\" \"3\" \"YES\">\n"
                                "<GROUP \"g\">\n<FILE \"a\" \"1\" \"JPG\" \"4\" \"4\">\n<FILE \"b\" \"2\" \"RAW\" \"4\" \"4\">\n"
                                "</GROUP>\n<FILE \"c\" \"3\" \"COLORTAB\" \"16\">\n"));
    WriteFileAtomic(dir / "ThemeMaps" / "b.rxt",
                    std::string("<THEMESIGN \"SAMSUNG THEME\" \"FUZZ-B\">\n<THEMESETTINGS \"0xB0\" \"0xB8\" \"2\" \"NO\">\n"
                                "<COLORTHEMESSETTINGS \"YES\">\n<FILE \"a\" \"1\" \"IFG\" \"4\" \"4\">\n"
                                "<FILE \"b\" \"2\" \"ANI2\" \"4\" \"4\">\n"));
  }
  ~MapFolder() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
};

const fs::path& Folder() {
  static const MapFolder folder;
  return folder.dir;
}

}  // namespace

void FuzzContainer(std::span<const uint8_t> data) {
  const fs::path& dir = Folder();
  fs::path file = dir / "in.ssf";
  WriteFileAtomic(file, data);
  SaveToUi ui;
  ui.save_to = dir / "out.ssf";
  IniDocument settings;
  Editor ed{ui, settings, dir / "ThemeMaps", {}, {}};
  try {
    OpenThemeFile(ed, file);
  } catch (const SsfError&) {
    if (ed.view.MM_Child_SaveTheme_enabled) __builtin_trap();  // nothing half-read may be saved
    return;
  }
  if (!ed.view.MM_Child_SaveTheme_enabled) return;
  if (ed.state.Theme->NewFiles.size() != static_cast<size_t>(ed.state.Map.FilesCount)) __builtin_trap();
  // The theme check reads every stored file: it names each absent one exactly once and
  // nothing outside the file table.
  const ThemeCheckReport report = CheckTheme(*ed.state.Theme, ed.state.Map);
  size_t absent = 0;
  for (const CheckProblem& p : report.problems) {
    if (p.index < -1 || p.index >= ed.state.Map.FilesCount) __builtin_trap();
    if (p.kind == CheckKind::kAbsent) {
      if (p.index < 0 || ed.state.Theme->NewFiles[static_cast<size_t>(p.index)].Present()) __builtin_trap();
      ++absent;
    }
  }
  for (const TThemeNewFiles& f : ed.state.Theme->NewFiles) absent -= f.Present() ? 0 : 1;
  if (absent != 0) __builtin_trap();
  // What opened saves and reopens with the same theme files.
  std::vector<TThemeNewFiles> opened = ed.state.Theme->NewFiles;
  ed.state.Theme->CountCorrection = ed.state.Map.FilesCount - ed.state.Theme->HeldFiles();
  MM_Child_SaveThemeClick(ed);
  Editor again{ui, settings, dir / "ThemeMaps", {}, {}};
  OpenThemeFile(again, ui.save_to);
  if (!again.view.MM_Child_SaveTheme_enabled) __builtin_trap();
  for (size_t k = 0; k < opened.size(); ++k) {
    if (again.state.Theme->NewFiles[k].f_file != opened[k].f_file) __builtin_trap();
  }
}

}  // namespace ssf::fuzz
