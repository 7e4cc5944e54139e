#pragma once
// INTERIM: stands in until the container work is merged.
#include <filesystem>

#include "theme/EditorState.h"
#include "theme/IniDocument.h"
#include "theme/Ui.h"
#include "theme/ViewState.h"

namespace ssf {

struct Editor {
  Ui& ui;
  IniDocument& settings;
  std::filesystem::path maps_dir;
  EditorState state;
  ViewState view;
};

void lk_CreateNewTheme(Editor& editor, int item_index);
void OpenThemeFile(Editor& editor, const std::filesystem::path& path);
void MM_Child_SaveThemeClick(Editor& editor);

}  // namespace ssf
