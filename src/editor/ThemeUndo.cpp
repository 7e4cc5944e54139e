#include "editor/ThemeUndo.h"

#include <algorithm>

#include "editor/ThemeFilePreview.h"
#include "theme/ThemeContainer.h"

namespace ssf {

namespace {

Bytes HeaderBytes(const Editor& ed) {
  const Bytes& data = ed.state.Theme->Header;
  return Bytes(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(UndoHeaderSize(ed)));
}

bool ValidSlot(const Editor& ed, int k) { return ed.state.Theme && ed.state.Theme->Slot(k); }

// Swaps the step's bytes with the theme's: afterwards the step holds what the theme held.
void SwapIn(Editor& ed, UndoStep& step) {
  if (!ed.state.Theme) return;
  Theme& theme = *ed.state.Theme;
  for (auto& [k, bytes] : step.files) {
    if (ValidSlot(ed, k)) std::swap(theme.NewFiles[static_cast<size_t>(k)].f_file, bytes);
  }
  if (step.has_header) {
    Bytes& data = theme.Header;
    const size_t n = std::min(data.size(), step.header.size());
    std::swap_ranges(step.header.begin(), step.header.begin() + static_cast<std::ptrdiff_t>(n), data.begin());
  }
}

// What the window shows of the theme, read back from the theme after a swap.
void Refresh(Editor& ed) {
  EditorState& s = ed.state;
  ViewState& v = ed.view;
  if (s.Theme) s.Theme->RecountStoredFiles();
  v.status[2] = StoredCountText(s);
  s.ThemeModified = !s.Undo.AtSaved();
  v.status[1] = s.ThemeModified ? "Тема изменена." : "Тема не изменена.";
  ShowThemeHeader(ed);
  TVChange(ed);
}

bool Step(Editor& ed, UndoStep* step) {
  if (!step) return false;
  SwapIn(ed, *step);
  Refresh(ed);
  return true;
}

}  // namespace

size_t UndoHeaderSize(const Editor& ed) {
  if (!ed.state.Theme) return 0;
  // Without an icon, the files table may start right after the header fields.
  const size_t end = ed.state.Map.HasIcon ? kIconOffset + kIconBytes : kHeaderSize;
  return std::min(ed.state.Theme->Header.size(), end);
}

UndoScope::UndoScope(Editor& ed, std::vector<int> files, bool header, std::string merge_key) : ed_(ed) {
  before_.merge_key = std::move(merge_key);
  for (int k : files) {
    if (ValidSlot(ed, k)) before_.files.emplace_back(k, ed.state.Theme->NewFiles[static_cast<size_t>(k)].f_file);
  }
  if (header && ed.state.Theme) {
    before_.has_header = true;
    before_.header = HeaderBytes(ed);
  }
}

void UndoScope::Commit() {
  UndoStep step;
  step.merge_key = before_.merge_key;
  for (auto& [k, bytes] : before_.files) {
    if (ValidSlot(ed_, k) && ed_.state.Theme->NewFiles[static_cast<size_t>(k)].f_file != bytes) {
      step.files.emplace_back(k, std::move(bytes));
    }
  }
  if (before_.has_header && ed_.state.Theme && HeaderBytes(ed_) != before_.header) {
    step.has_header = true;
    step.header = std::move(before_.header);
  }
  before_ = {};
  if (step.files.empty() && !step.has_header) return;
  ed_.state.Undo.Push(std::move(step));
  ed_.state.ThemeModified = !ed_.state.Undo.AtSaved();
}

bool UndoThemeChange(Editor& ed) { return Step(ed, ed.state.Undo.Undo()); }
bool RedoThemeChange(Editor& ed) { return Step(ed, ed.state.Undo.Redo()); }

}  // namespace ssf
