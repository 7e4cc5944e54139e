#include "base/ProgramFolder.h"

#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace ssf {

std::filesystem::path ExecutablePath() {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path() : exe;
}

std::filesystem::path ProgramFolder() {
  if (const char* home = std::getenv("SSF_MANAGER_HOME"); home != nullptr && *home != '\0') {
    return std::filesystem::path(home);
  }
  auto exe = ExecutablePath();
  if (exe.empty()) return std::filesystem::current_path();
  return exe.parent_path();
}

std::filesystem::path SettingsPath() {
  const std::filesystem::path folder = ProgramFolder();
  const char* home = std::getenv("SSF_MANAGER_HOME");
  if ((home != nullptr && *home != '\0') || ::access(folder.c_str(), W_OK) == 0) {
    return folder / "settings.ini";
  }
  std::filesystem::path config;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/') {
    config = xdg;
  } else if (const char* user_home = std::getenv("HOME"); user_home != nullptr && *user_home != '\0') {
    config = std::filesystem::path(user_home) / ".config";
  } else {
    return folder / "settings.ini";
  }
  std::error_code ec;
  std::filesystem::create_directories(config / "quillbay-ssf-manager", ec);
  return config / "quillbay-ssf-manager" / "settings.ini";
}

}  // namespace ssf
