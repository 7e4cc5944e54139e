#pragma once
// A theme that cannot be finished in one sitting, kept as a draft.
#include "editor/Editor.h"

namespace ssf {

// "Сохранить черновик…": after a warning, writes a theme with absent files to a file the
// user chooses; its header then declares the files it holds, so opening it shows the
// absent ones and "Сохранить" stays refused until the theme is complete. A complete theme
// is saved as "Сохранить как…" does.
void MM_Child_SaveDraftClick(Editor& ed);
inline constexpr const char* kDraftSavedStatus = "Черновик темы сохранён.";

}  // namespace ssf
