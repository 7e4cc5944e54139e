#include "editor/ThemeUndo.h"

#include <algorithm>

#include "editor/ThemeFilePreview.h"
#include "theme/ThemeContainer.h"

namespace ssf {

namespace {

Bytes HeaderBytes(const Editor& ed) {
  const Bytes& data = ed.state.ThemeStream.Data();
  return Bytes(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(UndoHeaderSize(ed)));
}

bool ValidSlot(const Editor& ed, int k) { return k >= 0 && static_cast<size_t>(k) < ed.state.NewFiles.size(); }

// Swaps the step's bytes with the theme's: afterwards the step holds what the theme held.
void SwapIn(Editor& ed, UndoStep& step) {
  for (auto& [k, bytes] : step.files) {
    if (ValidSlot(ed, k)) std::swap(ed.state.NewFiles[static_cast<size_t>(k)].f_file, bytes);
  }
  if (step.has_header) {
    Bytes& data = ed.state.ThemeStream.Data();
    if (data.size() < step.header.size()) data.resize(step.header.size(), 0);
    std::swap_ranges(step.header.begin(), step.header.end(), data.begin());
  }
}

// What the window shows of the theme, read back from the theme after a swap.
void Refresh(Editor& ed) {
  EditorState& s = ed.state;
  ViewState& v = ed.view;
  const size_t counted = std::min(s.NewFiles.size(), static_cast<size_t>(std::max(0, s.FilesCount)));
  s.StoredFiles = static_cast<int32_t>(std::count_if(
      s.NewFiles.begin(), s.NewFiles.begin() + static_cast<std::ptrdiff_t>(counted),
      [](const TThemeNewFiles& f) { return f.Present(); }));
  v.status[2] = std::to_string(s.StoredFiles) + "/" + std::to_string(s.FilesCount);
  s.ThemeModified = !s.Undo.AtSaved();
  v.status[1] = s.ThemeModified ? "Тема изменена." : "Тема не изменена.";
  const Bytes& data = s.ThemeStream.Data();
  if (data.size() >= kHeaderSize) {
    v.ED_ThemeAuthor = ReadTextField(data, kAuthorOffset, kAuthorSize);
    v.ED_ThemeName = ReadTextField(data, kThemeNameOffset, kThemeNameSize);
    v.ED_ThemeVersion = ReadTextField(data, kVersionOffset, kVersionReadSize);
    if (!s.IsColorTheme) {
      const uint8_t type = data[kThemeTypeOffset];
      v.CBox_ThemeType_index = type <= 1 ? type : -1;
    }
  }
  if (s.HasIcon) ShowThemeIcon(ed);
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
  // Without an icon, the files table may start right after the header fields.
  const size_t end = ed.state.HasIcon ? kIconOffset + kIconBytes : kHeaderSize;
  return std::min(ed.state.ThemeStream.Data().size(), end);
}

UndoScope::UndoScope(Editor& ed, std::vector<int> files, bool header, std::string merge_key) : ed_(ed) {
  before_.merge_key = std::move(merge_key);
  for (int k : files) {
    if (ValidSlot(ed, k)) before_.files.emplace_back(k, ed.state.NewFiles[static_cast<size_t>(k)].f_file);
  }
  if (header) {
    before_.has_header = true;
    before_.header = HeaderBytes(ed);
  }
}

void UndoScope::Commit() {
  UndoStep step;
  step.merge_key = before_.merge_key;
  for (auto& [k, bytes] : before_.files) {
    if (ValidSlot(ed_, k) && ed_.state.NewFiles[static_cast<size_t>(k)].f_file != bytes) {
      step.files.emplace_back(k, std::move(bytes));
    }
  }
  if (before_.has_header && HeaderBytes(ed_) != before_.header) {
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
