#pragma once
// Starting helper programs of the desktop (cache updaters) that may or may not be installed.
#include <filesystem>
#include <string>
#include <vector>

namespace ssf {

// The program's full path when `name` is found in PATH, else empty.
std::filesystem::path FindInPath(const std::string& name);

// Runs argv[0] (looked up in PATH) with its output discarded and waits for it. Returns
// its exit code, or -1 when it is not installed or could not be started.
int RunToolIfInstalled(const std::vector<std::string>& argv);

}  // namespace ssf
