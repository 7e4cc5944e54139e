#include "editor/UndoStack.h"

namespace ssf {

size_t UndoStep::Size() const {
  size_t n = header.size();
  for (const auto& s : files) n += s.second.size();
  return n;
}

void UndoStack::Push(UndoStep step) {
  if (saved_ && *saved_ > undo_.size()) saved_.reset();  // the saved state was on the redo side
  redo_.clear();
  if (!step.merge_key.empty() && !undo_.empty() && undo_.back().merge_key == step.merge_key && !AtSaved()) {
    return;  // the newest step already holds the bytes from before this edit began
  }
  undo_.push_back(std::move(step));
  Trim();
}

UndoStep* UndoStack::Undo() {
  if (undo_.empty()) return nullptr;
  redo_.push_back(std::move(undo_.back()));
  undo_.pop_back();
  redo_.back().merge_key.clear();  // a redone step starts no new typing run
  return &redo_.back();
}

UndoStep* UndoStack::Redo() {
  if (redo_.empty()) return nullptr;
  undo_.push_back(std::move(redo_.back()));
  redo_.pop_back();
  return &undo_.back();
}

void UndoStack::Clear() {
  undo_.clear();
  redo_.clear();
  saved_ = 0;
}

size_t UndoStack::HeldBytes() const {
  size_t n = 0;
  for (const UndoStep& s : undo_) n += s.Size();
  for (const UndoStep& s : redo_) n += s.Size();
  return n;
}

void UndoStack::Trim() {
  size_t held = HeldBytes();
  size_t drop = 0;
  // The newest step stays even when it alone is over the budget: the last change can
  // always be undone.
  while (held > budget_ && drop + 1 < undo_.size()) held -= undo_[drop++].Size();
  if (drop == 0) return;
  undo_.erase(undo_.begin(), undo_.begin() + static_cast<std::ptrdiff_t>(drop));
  if (saved_) saved_ = *saved_ >= drop ? std::optional<size_t>(*saved_ - drop) : std::nullopt;
}

}  // namespace ssf
