// Where the editor keeps settings.ini: never beside an installed executable.
#include <gtest/gtest.h>

#include "ScopedEnv.h"
#include "platform/ProgramFolder.h"

namespace ssf {
namespace {

using std::filesystem::path;

TEST(SettingsPathTest, OnePlaceDecides) {
  struct Case {
    const char* what;
    SettingsPlaces places;
    path expected;
  };
  const Case cases[] = {
      {"installed: the user's config folder", {"", "/usr/bin", false, "/home/u/.config"},
       "/home/u/.config/quillbay-ssf-manager/settings.ini"},
      {"installed, run by root: still not /usr/bin", {"", "/usr/bin", false, "/root/.config"},
       "/root/.config/quillbay-ssf-manager/settings.ini"},
      {"build folder or portable copy: beside the executable", {"", "/opt/ssf", true, "/home/u/.config"},
       "/opt/ssf/settings.ini"},
      {"SSF_MANAGER_HOME wins over both", {"/data/ssf", "/opt/ssf", true, "/home/u/.config"},
       "/data/ssf/settings.ini"},
      {"installed, no home folder known: nowhere", {"", "/usr/bin", false, ""}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(SettingsPathFor(c.places), c.expected) << c.what;
}

TEST(SettingsPathTest, ThisBuildKeepsItsSettingsInItsOwnFolder) {
  // The test program runs from the build folder, where ThemeMaps is copied beside it.
  test::ScopedEnv home("SSF_MANAGER_HOME", std::nullopt);
  EXPECT_EQ(SettingsPath(), ExecutablePath().parent_path() / "settings.ini");
}

}  // namespace
}  // namespace ssf
