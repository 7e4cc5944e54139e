#include "platform/Environment.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace ssf {

std::optional<std::string> EnvironmentValue(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

void SetEnvironmentValue(const char* name, const std::optional<std::string>& value) {
  if (value) {
    ::setenv(name, value->c_str(), 1);
  } else {
    ::unsetenv(name);
  }
}

std::filesystem::path HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/') return home;
  std::vector<char> buffer(16384);
  passwd pw{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &pw, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
      found->pw_dir != nullptr) {
    return std::filesystem::path(found->pw_dir);
  }
  return std::filesystem::path("/");
}

}  // namespace ssf
