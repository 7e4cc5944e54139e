#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ScopedEnv.h"
#include "ScriptedUi.h"
#include "TestSupport.h"
#include "desktop/DesktopAssociation.h"
#include "platform/ExternalTool.h"
#include "desktop/MimeAppsList.h"
#include "base/SsfError.h"

namespace ssf {
namespace {

namespace fs = std::filesystem;
using test::ReadText;
using test::ScopedEnv;
using test::ScriptedUi;
using test::TempDir;
using test::WriteText;

const fs::path kFakeProgram = "/opt/quillbay test/bin/ssf-manager";

// Runs a shell command and returns its standard output without the last line break.
std::string Capture(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buf[256];
  while (size_t n = fread(buf, 1, sizeof buf, pipe)) out.append(buf, n);
  pclose(pipe);
  while (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

// A user's folders under a temporary folder, set in the environment for the test's length.
struct UserFolders {
  TempDir tmp;
  ScopedEnv data{"XDG_DATA_HOME", (tmp / "data").string()};
  ScopedEnv config{"XDG_CONFIG_HOME", (tmp / "config").string()};
};

// The default application for our type as the desktop sees it: xdg-mime when installed,
// else the line in mimeapps.list.
std::string DesktopDefault(const DesktopAssociation& assoc) {
  if (!FindInPath("xdg-mime").empty()) {
    // Without a known desktop session xdg-mime reads the freedesktop.org files itself.
    return Capture(
        "env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID "
        "xdg-mime query default application/x-quillbay-theme 2>/dev/null");
  }
  if (!fs::exists(assoc.MimeAppsFile())) return "";
  return DefaultApplication(ReadText(assoc.MimeAppsFile()), kSsfMimeType).value_or("");
}

TEST(DesktopAssociation, FoldersFromEnvironment) {
  TempDir tmp;
  ScopedEnv home("HOME", tmp.path().string());
  struct Case {
    std::optional<std::string> data, config;
    fs::path want_data, want_config;
  };
  const Case cases[] = {
      {"/x/data", "/x/config", "/x/data", "/x/config"},
      {std::nullopt, std::nullopt, tmp / ".local/share", tmp / ".config"},
      {"", "relative/config", tmp / ".local/share", tmp / ".config"},
  };
  for (const Case& c : cases) {
    ScopedEnv data("XDG_DATA_HOME", c.data);
    ScopedEnv config("XDG_CONFIG_HOME", c.config);
    DesktopFolders f = DesktopFoldersFromEnvironment();
    EXPECT_EQ(f.data_home, c.want_data);
    EXPECT_EQ(f.config_home, c.want_config);
  }
}

TEST(DesktopAssociation, ExecLineQuotesWhatTheDesktopWouldSplit) {
  const std::pair<fs::path, std::string> cases[] = {
      {"/usr/bin/ssf-manager", "/usr/bin/ssf-manager %f"},
      {"/opt/My Apps/ssf-manager", "\"/opt/My Apps/ssf-manager\" %f"},
      // In the file: \$ and \\ inside the quotes, each backslash doubled once more.
      {"/tmp/100%/a$b\\c", "\"/tmp/100%%/a\\\\$b\\\\\\\\c\" %f"},
  };
  for (const auto& [program, want] : cases) EXPECT_EQ(DesktopExecLine(program), want) << program;
}

TEST(DesktopAssociation, RegisterCheckDefaultAndUnregister) {
  UserFolders user;
  const std::string old_list =
      "[Added Associations]\ntext/plain=gedit.desktop;\n\n"
      "[Default Applications]\napplication/x-quillbay-theme=other-editor.desktop;\n";
  fs::create_directories(user.tmp / "config");
  WriteText(user.tmp / "config/mimeapps.list", old_list);

  std::vector<std::vector<std::string>> tools_run;
  DesktopAssociation assoc(DesktopFoldersFromEnvironment(), kFakeProgram,
                           [&](const std::vector<std::string>& argv) {
                             tools_run.push_back(argv);
                             RunToolIfInstalled(argv);
                           });
  EXPECT_EQ(assoc.DesktopEntryFile(), user.tmp / "data/applications/quillbay-ssf-manager.desktop");
  EXPECT_EQ(assoc.MimeTypeFile(), user.tmp / "data/mime/packages/quillbay-ssf-manager.xml");
  EXPECT_EQ(assoc.MimeAppsFile(), user.tmp / "config/mimeapps.list");
  ASSERT_FALSE(RegEditSSFCheckedAtStart(assoc));

  ScriptedUi ui;
  ASSERT_TRUE(MM_Child_RegEditSSFClick(assoc, ui, false));
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_TRUE(RegEditSSFCheckedAtStart(assoc));

  const std::string entry = ReadText(assoc.DesktopEntryFile());
  EXPECT_NE(entry.find("\nExec=\"/opt/quillbay test/bin/ssf-manager\" %f\n"), std::string::npos) << entry;
  EXPECT_NE(entry.find("\nMimeType=application/x-quillbay-theme;\n"), std::string::npos);
  EXPECT_NE(entry.find("\nIcon=quillbay-ssf-manager\n"), std::string::npos);
  EXPECT_TRUE(fs::exists(assoc.IconFile()));
  const std::string mime = ReadText(assoc.MimeTypeFile());
  EXPECT_NE(mime.find("<mime-type type=\"application/x-quillbay-theme\">"), std::string::npos);
  EXPECT_NE(mime.find("<comment>Тема телефона</comment>"), std::string::npos);
  EXPECT_NE(mime.find("<glob pattern=\"*.ssf\"/>"), std::string::npos);

  const fs::path data = user.tmp / "data";
  const std::vector<std::vector<std::string>> want_tools = {
      {"update-mime-database", (data / "mime").string()},
      {"update-desktop-database", (data / "applications").string()},
  };
  EXPECT_EQ(tools_run, want_tools);
  if (!FindInPath("update-mime-database").empty()) {
    // The database accepted our type and knows its pattern.
    EXPECT_TRUE(fs::exists(data / "mime/application/x-quillbay-theme.xml"));
    EXPECT_NE(ReadText(data / "mime/globs2").find("application/x-quillbay-theme:*.ssf"), std::string::npos);
  }
  if (!FindInPath("desktop-file-validate").empty()) {
    EXPECT_EQ(Capture("desktop-file-validate '" + assoc.DesktopEntryFile().string() + "' 2>&1"), "");
  }
  EXPECT_EQ(DesktopDefault(assoc), kDesktopId);

  ASSERT_FALSE(MM_Child_RegEditSSFClick(assoc, ui, true));
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_FALSE(RegEditSSFCheckedAtStart(assoc));
  EXPECT_FALSE(fs::exists(assoc.DesktopEntryFile()));
  EXPECT_FALSE(fs::exists(assoc.MimeTypeFile()));
  EXPECT_FALSE(fs::exists(assoc.IconFile()));
  // The previous default is back, and every other line with it.
  EXPECT_EQ(ReadText(assoc.MimeAppsFile()), old_list);
  if (!FindInPath("update-mime-database").empty()) {
    EXPECT_FALSE(fs::exists(data / "mime/application/x-quillbay-theme.xml"));
  }
}

TEST(DesktopAssociation, UnwritableFolderShowsTheWarningAndWritesNothing) {
  TempDir tmp;
  WriteText(tmp / "not-a-folder", "");
  // A path under a plain file cannot be created, whoever runs the test (root included).
  DesktopAssociation assoc({tmp / "not-a-folder/data", tmp / "config"}, kFakeProgram,
                           [](const std::vector<std::string>&) {});
  ScriptedUi ui;
  EXPECT_FALSE(MM_Child_RegEditSSFClick(assoc, ui, false));
  EXPECT_EQ(ui.OnlyMessage().text,
            "У Вас недостаточно прав для выполнения данной операции!\r\n"
            "Попробуйте запустить программу с правами администратора.");
  EXPECT_EQ(ui.OnlyMessage().kind, kMsgWarning);
  EXPECT_FALSE(fs::exists(tmp / "config"));

  if (geteuid() == 0) return;  // root writes into read-only folders anyway
  DesktopAssociation writable({tmp / "data", tmp / "config"}, kFakeProgram,
                              [](const std::vector<std::string>&) {});
  ASSERT_TRUE(writable.Register());
  fs::permissions(tmp / "data/applications", fs::perms::owner_write, fs::perm_options::remove);
  EXPECT_TRUE(MM_Child_RegEditSSFClick(writable, ui, true));
  EXPECT_EQ(ui.messages.size(), 2u);
  EXPECT_TRUE(writable.IsPresent());
  fs::permissions(tmp / "data/applications", fs::perms::owner_write, fs::perm_options::add);
}

TEST(DesktopAssociation, UnknownProgramPathIsAnErrorBeforeAnyWrite) {
  TempDir tmp;
  DesktopAssociation assoc({tmp / "data", tmp / "config"}, "", [](const std::vector<std::string>&) {});
  EXPECT_THROW(assoc.Register(), SsfError);
  EXPECT_TRUE(fs::is_empty(tmp.path()));
}

TEST(DesktopAssociation, LinkedMimeAppsListStaysALink) {
  TempDir tmp;
  fs::create_directories(tmp / "dotfiles");
  fs::create_directories(tmp / "config");
  WriteText(tmp / "dotfiles/mimeapps.list", "[Default Applications]\ntext/plain=gedit.desktop;\n");
  fs::create_symlink(tmp / "dotfiles/mimeapps.list", tmp / "config/mimeapps.list");
  DesktopAssociation assoc({tmp / "data", tmp / "config"}, kFakeProgram, [](const std::vector<std::string>&) {});

  ASSERT_TRUE(assoc.Register());
  EXPECT_TRUE(fs::is_symlink(tmp / "config/mimeapps.list"));
  EXPECT_EQ(DefaultApplication(ReadText(tmp / "dotfiles/mimeapps.list"), kSsfMimeType), kDesktopId);
  ASSERT_TRUE(assoc.Unregister());
  EXPECT_TRUE(fs::is_symlink(tmp / "config/mimeapps.list"));
  EXPECT_EQ(ReadText(tmp / "dotfiles/mimeapps.list"), "[Default Applications]\ntext/plain=gedit.desktop;\n");
}

}  // namespace
}  // namespace ssf
