#pragma once
// The editor's command line: a theme to open at start.
#include <string>
#include <vector>

namespace ssf {

// The parameters joined with single blanks, so a path with blanks that arrives split
// into several parameters is whole again.
std::string JoinCommandLine(const std::vector<std::string>& params);

// True when the name ends in ".ssf", in any case.
bool IsThemeFileName(const std::string& name);

}  // namespace ssf
