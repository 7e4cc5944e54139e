#include "platform/ProgramFolder.h"

#include <system_error>

#include "platform/Environment.h"
#include "platform/PathText.h"

namespace ssf {

namespace {

std::filesystem::path HomeOverride() {
  const auto home = EnvironmentValue("SSF_MANAGER_HOME");
  return home ? PathFromUtf8(*home) : std::filesystem::path();
}

std::filesystem::path ExecutableFolder() {
  auto exe = ExecutablePath();
  return exe.empty() ? std::filesystem::current_path() : exe.parent_path();
}

}  // namespace

std::filesystem::path ProgramFolder() {
  if (auto home = HomeOverride(); !home.empty()) return home;
  return ExecutableFolder();
}

std::filesystem::path SettingsPathFor(const SettingsPlaces& places) {
  if (!places.home_override.empty()) return places.home_override / "settings.ini";
  if (places.portable) return places.program_folder / "settings.ini";
  if (places.user_config.empty()) return {};
  return places.user_config / "quillbay-ssf-manager" / "settings.ini";
}

std::filesystem::path SettingsPath() {
  SettingsPlaces places;
  places.home_override = HomeOverride();
  places.program_folder = ExecutableFolder();
  std::error_code ec;
  places.portable = std::filesystem::is_directory(places.program_folder / "ThemeMaps", ec);
  places.user_config = UserConfigFolder();
  auto path = SettingsPathFor(places);
  if (!path.empty() && places.home_override.empty() && !places.portable) {
    std::filesystem::create_directories(path.parent_path(), ec);
  }
  return path;
}

}  // namespace ssf
