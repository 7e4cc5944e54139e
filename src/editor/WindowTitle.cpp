#include "editor/WindowTitle.h"
#include "platform/PathText.h"

namespace ssf {

std::string WindowTitle(const EditorState& state, const std::string& caption) {
  if (!state.Theme) return caption;
  std::string name = state.ThemePath.empty() ? std::string("NewTheme.ssf") : Utf8FromPath(state.ThemePath.filename());
  if (state.ThemeModified) name += '*';
  return name + " — " + caption;
}

}  // namespace ssf
