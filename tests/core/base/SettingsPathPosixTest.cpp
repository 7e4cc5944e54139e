// The user's configuration folder on POSIX systems (XDG).
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "ScopedEnv.h"
#include "platform/ProgramFolder.h"

namespace ssf {
namespace {

using std::filesystem::path;

TEST(SettingsPathTest, UserConfigFolderFollowsXdg) {
  struct Case {
    std::optional<std::string> xdg, home;
    path expected;
  };
  const Case cases[] = {
      {"/x/config", "/home/u", "/x/config"},
      {"relative/ignored", "/home/u", "/home/u/.config"},  // XDG: a relative path is invalid
      {std::nullopt, "/home/u", "/home/u/.config"},
      {std::nullopt, std::nullopt, ""},
  };
  for (const Case& c : cases) {
    test::ScopedEnv xdg("XDG_CONFIG_HOME", c.xdg);
    test::ScopedEnv home("HOME", c.home);
    EXPECT_EQ(UserConfigFolder(), c.expected) << c.xdg.value_or("(unset)");
  }
}

}  // namespace
}  // namespace ssf
