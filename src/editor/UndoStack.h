#pragma once
// The history of changes to the open theme, for "Отменить" and "Повторить". A step holds
// only what the change replaced: the earlier bytes of the files it touched and of the
// header area when that changed. Undoing swaps those bytes with the theme's, so the same
// step then holds what redo puts back; nothing is kept twice.
#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/ByteIO.h"

namespace ssf {

struct UndoStep {
  std::vector<std::pair<int, Bytes>> files;  // theme file index, its other bytes
  bool has_header = false;
  Bytes header;  // the other bytes of the header area (from offset 0)
  // Steps of one ongoing edit (typing into one header field) fold into one.
  std::string merge_key;

  size_t Size() const;
};

class UndoStack {
 public:
  // Above this many bytes held, the oldest steps go.
  static constexpr size_t kDefaultBudget = 64u << 20;
  UndoStack() = default;
  explicit UndoStack(size_t budget) : budget_(budget) {}

  // A new change: the redo side goes. A step with the merge key of the newest one folds
  // into it (the newest keeps its older bytes) unless the theme was saved in between.
  void Push(UndoStep step);
  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  // The step to swap back in, moved to the other side; nullptr when there is none. The
  // caller swaps its bytes with the theme's before the next call.
  UndoStep* Undo();
  UndoStep* Redo();

  // Forgets everything (a theme was created or opened); the present state counts as saved.
  void Clear();
  // The present state was saved.
  void MarkSaved() { saved_ = undo_.size(); }
  // True when undoing and redoing came back to the saved state.
  bool AtSaved() const { return saved_ == undo_.size(); }
  size_t HeldBytes() const;
  size_t UndoCount() const { return undo_.size(); }

 private:
  void Trim();

  size_t budget_ = kDefaultBudget;
  std::vector<UndoStep> undo_;  // oldest first
  std::vector<UndoStep> redo_;  // the next to redo last
  // Undo depth of the saved state; none once that state cannot be reached again.
  std::optional<size_t> saved_ = 0;
};

}  // namespace ssf
