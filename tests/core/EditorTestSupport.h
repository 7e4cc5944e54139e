#pragma once
// An editor on a temporary program folder: its own map folder (maps written by the test),
// settings.ini and a scripted Ui.
#include <memory>

#include "MapTestSupport.h"
#include "ScriptedUi.h"
#include "editor/Editor.h"
#include "base/FileIO.h"

namespace ssf::test {

struct EditorFixture {
  TempDir dir;
  ScriptedUi ui;
  IniDocument settings;
  std::unique_ptr<Editor> ed;

  EditorFixture() {
    std::filesystem::create_directory(dir / "ThemeMaps");
    settings = IniDocument::Load(dir / "settings.ini");
    Reset();
  }
  // A fresh editor, as after a restart of the program, on the same folder.
  void Reset() { ed = std::make_unique<Editor>(Editor{ui, settings, dir / "ThemeMaps", {}, {}}); }
  void AddMap(const std::string& file_name, const std::string& text) { WriteMap(dir / "ThemeMaps" / file_name, text); }
  // Lists the maps and creates a theme from the one with this model.
  void Create(const std::string& model) {
    ListThemeMaps(*ed);
    for (size_t i = 0; i < ed->state.MapModels.size(); ++i) {
      if (ed->state.MapModels[i] == model) return lk_CreateNewTheme(*ed, static_cast<int>(i));
    }
    ADD_FAILURE() << "no map for " << model;
  }
  // Fills every slot with `sizes[k]` bytes of value k + 1 and sets the count as imports do.
  void Fill(const std::vector<size_t>& sizes) {
    for (size_t k = 0; k < sizes.size(); ++k) ed->state.Theme->NewFiles.at(k).f_file.assign(sizes[k], uint8_t(k + 1));
    ed->state.Theme->CountCorrection = static_cast<int32_t>(sizes.size()) - ed->state.Theme->HeldFiles();
    ed->state.ThemeModified = true;
  }
  std::filesystem::path Save(const std::string& name) {
    ui.AnswerSave(dir / name);
    MM_Child_SaveThemeClick(*ed);
    return ForceExtension(dir / name, ".ssf");
  }
};

}  // namespace ssf::test
