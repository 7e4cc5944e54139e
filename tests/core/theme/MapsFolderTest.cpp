#include <gtest/gtest.h>

#include "ScopedEnv.h"
#include "TestSupport.h"
#include "theme/MapsFolder.h"

namespace ssf {
namespace {

namespace fs = std::filesystem;
using test::ScopedEnv;
using test::TempDir;

TEST(MapsFolder, BesideTheProgramElseThePrefixShareFolder) {
  TempDir tmp;
  const fs::path bin = tmp / "bin";
  fs::create_directories(bin);
  // Nothing anywhere: the portable place.
  EXPECT_EQ(MapsFolderFor(bin), bin / "ThemeMaps");
  // Installed: <prefix>/bin/ssf-manager finds <prefix>/share/quillbay-ssf-manager/ThemeMaps.
  fs::create_directories(tmp / "share/quillbay-ssf-manager/ThemeMaps");
  EXPECT_EQ(MapsFolderFor(bin), bin.parent_path() / "share/quillbay-ssf-manager/ThemeMaps");
  // A folder beside the program wins.
  fs::create_directories(bin / "ThemeMaps");
  EXPECT_EQ(MapsFolderFor(bin), bin / "ThemeMaps");
}

TEST(MapsFolder, HomeVariableDecidesAlone) {
  TempDir tmp;
  ScopedEnv home("SSF_MANAGER_HOME", tmp.path().string());
  EXPECT_EQ(MapsFolder(), tmp / "ThemeMaps");  // even when it does not exist
}

}  // namespace
}  // namespace ssf
