#pragma once
#include <filesystem>

namespace ssf {

// Where an installed program keeps its sample maps, relative to the install prefix.
inline constexpr char kInstalledMapsSubfolder[] = "share/quillbay-ssf-manager/ThemeMaps";

// The folder of theme maps ("ThemeMaps"). SSF_MANAGER_HOME, when set, decides alone;
// otherwise the maps beside the executable (a portable copy or the build folder), else
// those of an installed program in <prefix>/share, the executable being in <prefix>/bin.
std::filesystem::path MapsFolder();

// The same choice for an executable in `exe_folder`, without looking at the environment.
std::filesystem::path MapsFolderFor(const std::filesystem::path& exe_folder);

}  // namespace ssf
