#pragma once
#include <filesystem>

namespace ssf {

// The program's folder: where "ThemeMaps" and "settings.ini" live. It is the folder of
// the running executable, unless the environment variable SSF_MANAGER_HOME names another.
std::filesystem::path ProgramFolder();

// "settings.ini" in the program's folder. An installed program whose folder the user
// cannot write keeps it in $XDG_CONFIG_HOME/quillbay-ssf-manager/ (~/.config by
// default) instead, the folder being made here, so its settings are still remembered.
std::filesystem::path SettingsPath();

// The full path of the running executable (empty when the system does not tell it).
std::filesystem::path ExecutablePath();

}  // namespace ssf
