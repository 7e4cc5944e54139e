#pragma once
// INTERIM: stands in until the editor state of the container work is merged.
#include <string>
#include <vector>

#include "theme/ByteIO.h"

namespace ssf {

struct EditorState {
  std::vector<std::string> MapPaths;
  ByteStream ThemeStream;
  bool ThemeModified = false;
  bool IsColorTheme = false;
  std::string StartupFile;
};

}  // namespace ssf
