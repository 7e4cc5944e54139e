#pragma once
#include <filesystem>

namespace ssf {

// The program's folder: where "ThemeMaps" and "settings.ini" live. It is the folder of
// the running executable, unless the environment variable SSF_MANAGER_HOME names another.
std::filesystem::path ProgramFolder();

// The full path of the running executable (empty when the system does not tell it).
std::filesystem::path ExecutablePath();

}  // namespace ssf
