#pragma once
// The process environment, as UTF-8 texts and the system's paths.
#include <filesystem>
#include <optional>
#include <string>

namespace ssf {

// A variable of the environment; nothing when it is unset.
std::optional<std::string> EnvironmentValue(const char* name);
// Sets the variable for this process and the programs it starts; no value unsets it (on
// Windows an empty one does too).
void SetEnvironmentValue(const char* name, const std::optional<std::string>& value);

// The user's home folder: $HOME, else the account's home ("/" when neither is known); on
// Windows %USERPROFILE% (empty when unset).
std::filesystem::path HomeFolder();

}  // namespace ssf
