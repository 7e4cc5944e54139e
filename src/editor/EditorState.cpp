#include "editor/EditorState.h"

namespace ssf {

int SelectedThemeFile(const EditorState& state, int selected) {
  const GroupTree& tree = state.Map.Tree;
  if (!state.Theme || selected < 0 || selected >= tree.Size() || !tree.IsFileNode(selected)) return -1;
  const int k = tree.FileIndexOf(selected);
  return state.Map.Entry(k) && state.Theme->Slot(k) ? k : -1;
}

std::string StoredCountText(const EditorState& state) {
  const int32_t stored = state.Theme ? state.Theme->StoredFiles() : 0;
  return std::to_string(stored) + "/" + std::to_string(state.Map.FilesCount);
}

}  // namespace ssf
