#pragma once
// The main window's title: the open theme's file name, "*" while it has unsaved changes,
// then the program's caption ("full.ssf* — Quillbay SSF Manager v2.0 Build 362").
#include <string>

#include "editor/EditorState.h"

namespace ssf {

// The caption alone when no theme is open; a new theme that was never saved is
// "NewTheme.ssf", as the status bar calls it.
std::string WindowTitle(const EditorState& state, const std::string& caption);

}  // namespace ssf
