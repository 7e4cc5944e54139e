#include "editor/WindowTitle.h"

namespace ssf {

std::string WindowTitle(const EditorState& state, const std::string& caption) {
  if (!state.Theme) return caption;
  std::string name = state.ThemePath.empty() ? std::string("NewTheme.ssf") : state.ThemePath.filename().string();
  if (state.ThemeModified) name += '*';
  return name + " — " + caption;
}

}  // namespace ssf
