// The user's configuration folder on Windows (%APPDATA%).
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "ScopedEnv.h"
#include "platform/ProgramFolder.h"
#include "platform/PathText.h"

namespace ssf {
namespace {

using std::filesystem::path;

TEST(SettingsPathTest, UserConfigFolderIsAppData) {
  struct Case {
    std::optional<std::string> appdata;
    path expected;
  };
  const Case cases[] = {
      {"C:\\Users\\u\\AppData\\Roaming", "C:\\Users\\u\\AppData\\Roaming"},
      // A user name outside the ANSI code page reaches the path intact.
      {"C:\\Users\\Пётр\\AppData\\Roaming", PathFromUtf8("C:\\Users\\Пётр\\AppData\\Roaming")},
      {"relative\\ignored", ""},
      {"", ""},
      {std::nullopt, ""},
  };
  for (const Case& c : cases) {
    test::ScopedEnv appdata("APPDATA", c.appdata);
    EXPECT_EQ(UserConfigFolder(), c.expected) << c.appdata.value_or("(unset)");
  }
}

}  // namespace
}  // namespace ssf
