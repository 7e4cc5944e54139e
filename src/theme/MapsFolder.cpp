#include "theme/MapsFolder.h"

#include <cstdlib>
#include <system_error>

#include "platform/Environment.h"
#include "platform/PathText.h"
#include "platform/ProgramFolder.h"

namespace ssf {

namespace fs = std::filesystem;

fs::path MapsFolderFor(const fs::path& exe_folder) {
  std::error_code ec;
  fs::path beside = exe_folder / "ThemeMaps";
  if (fs::is_directory(beside, ec)) return beside;
  fs::path installed = exe_folder.parent_path() / kInstalledMapsSubfolder;
  if (fs::is_directory(installed, ec)) return installed;
  // Neither exists: name the portable place, where the user is told to put maps.
  return beside;
}

fs::path MapsFolder() {
  if (auto home = EnvironmentValue("SSF_MANAGER_HOME"); home && !home->empty()) {
    return PathFromUtf8(*home) / "ThemeMaps";
  }
  return MapsFolderFor(ProgramFolder());
}

}  // namespace ssf
