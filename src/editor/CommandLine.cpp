#include "editor/CommandLine.h"

#include "base/Cp1251.h"

namespace ssf {

std::string JoinCommandLine(const std::vector<std::string>& params) {
  std::string joined;
  for (size_t i = 0; i < params.size(); ++i) {
    if (i > 0) joined += ' ';
    joined += params[i];
  }
  return joined;
}

bool IsThemeFileName(const std::string& name) {
  return name.size() >= 4 && AsciiUpper(name.substr(name.size() - 4)) == ".SSF";
}

}  // namespace ssf
