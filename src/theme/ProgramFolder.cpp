#include "theme/ProgramFolder.h"

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

}  // namespace ssf
