#pragma once
#include <filesystem>

namespace ssf {

// The program's folder: where "ThemeMaps" and "settings.ini" live. It is the folder of
// the running executable, unless the environment variable SSF_MANAGER_HOME names another.
std::filesystem::path ProgramFolder();

}  // namespace ssf
