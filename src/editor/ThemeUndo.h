#pragma once
// Undo and redo of changes to the open theme (the "Правка" menu). Each changing handler
// opens an UndoScope before it touches the theme and commits it afterwards; the scope
// compares and records only what really changed. The modified flag follows the history:
// undoing back to the saved state clears it.
#include <string>
#include <vector>

#include "editor/Editor.h"

namespace ssf {

// The area at the start of the container that header edits, the theme type and the icon
// write: the header fields, and the icon when the map has one.
size_t UndoHeaderSize(const Editor& ed);

class UndoScope {
 public:
  // Remembers the theme files `files` and, with `header`, the header area. `merge_key` folds repeated edits of one field into one step.
  UndoScope(Editor& ed, std::vector<int> files, bool header, std::string merge_key = {});
  // Records the change as one step, when there was one. Without a commit (the handler
  // threw or refused) nothing is recorded.
  void Commit();

 private:
  Editor& ed_;
  UndoStep before_;
};

// "Отменить" / "Повторить": puts the theme back one step and refreshes what the window
// shows. False when there was nothing to do.
bool UndoThemeChange(Editor& ed);
bool RedoThemeChange(Editor& ed);

}  // namespace ssf
