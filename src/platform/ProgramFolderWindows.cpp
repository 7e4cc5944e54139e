#include <windows.h>

#include <string>

#include "platform/Environment.h"
#include "platform/PathText.h"
#include "platform/ProgramFolder.h"

namespace ssf {

std::filesystem::path ExecutablePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) {
      buffer.resize(n);
      return std::filesystem::path(buffer);
    }
    buffer.resize(buffer.size() * 2);
  }
}

// %APPDATA%, the roaming folder where an installed program keeps its settings.
std::filesystem::path UserConfigFolder() {
  const auto appdata = EnvironmentValue("APPDATA");
  if (!appdata || appdata->empty()) return {};
  const std::filesystem::path folder = PathFromUtf8(*appdata);
  return folder.is_absolute() ? folder : std::filesystem::path();
}

}  // namespace ssf
