// INTERIM: stands in until the container work is merged.
#include "theme/Editor.h"
#include "theme/SsfError.h"

namespace ssf {
void lk_CreateNewTheme(Editor&, int) { throw SsfError("interim"); }
void OpenThemeFile(Editor&, const std::filesystem::path&) { throw SsfError("interim"); }
void MM_Child_SaveThemeClick(Editor&) { throw SsfError("interim"); }
}  // namespace ssf
