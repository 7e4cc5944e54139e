#include <windows.h>

#include <cstdlib>

#include "platform/Environment.h"
#include "platform/PathText.h"
#include "platform/WideText.h"

namespace ssf {

std::optional<std::string> EnvironmentValue(const char* name) {
  const wchar_t* value = ::_wgetenv(WideFromUtf8(name).c_str());
  if (value == nullptr) return std::nullopt;
  return Utf8FromWide(value);
}

void SetEnvironmentValue(const char* name, const std::optional<std::string>& value) {
  ::_wputenv_s(WideFromUtf8(name).c_str(), value ? WideFromUtf8(*value).c_str() : L"");
}

std::filesystem::path HomeFolder() {
  const auto home = EnvironmentValue("USERPROFILE");
  return home ? PathFromUtf8(*home) : std::filesystem::path();
}

}  // namespace ssf
