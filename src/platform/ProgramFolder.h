#pragma once
#include <filesystem>

namespace ssf {

// The program's folder: where "ThemeMaps" and a portable copy's "settings.ini" live. It is
// the folder of the running executable, unless the environment variable SSF_MANAGER_HOME
// names another.
std::filesystem::path ProgramFolder();

// What decides where "settings.ini" goes, gathered from the system by SettingsPath().
struct SettingsPlaces {
  std::filesystem::path home_override;   // SSF_MANAGER_HOME, empty when unset
  std::filesystem::path program_folder;  // the executable's folder
  bool portable = false;                 // a "ThemeMaps" folder beside the executable: a build
                                         // folder or a portable copy, which keeps its own settings
  std::filesystem::path user_config;     // the user's configuration folder, empty when unknown
};

// The one place that decides where the settings live. SSF_MANAGER_HOME wins; a build folder
// or a portable copy keeps them beside the executable; an installed program never writes
// beside itself (root could write /usr/bin) and uses <user_config>/quillbay-ssf-manager/.
// Empty when there is no such place: the settings then live for this run only.
std::filesystem::path SettingsPathFor(const SettingsPlaces& places);

// The user's configuration folder: $XDG_CONFIG_HOME when it is an absolute path, else
// ~/.config; empty when neither is known. On Windows %APPDATA%.
std::filesystem::path UserConfigFolder();

// SettingsPathFor() of this process, the settings folder made when it is the user's.
std::filesystem::path SettingsPath();

// The full path of the running executable (empty when the system does not tell it).
std::filesystem::path ExecutablePath();

}  // namespace ssf
