// ssftool speaks Russian: its help and its usage errors hold no English words. Option and
// command names, argument names (THEME.ssf, INDEX), file names and the words a command
// takes (get, crop|pad|stretch) stay as they are typed.
#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "TestSupport.h"
#include "Version.h"
#include "cli/Cli.h"

namespace ssf {
namespace {

using test::RunCli;

// The Latin words of `text` that are none of the above (a number such as 240x320 is none).
std::vector<std::string> EnglishWords(const std::string& text) {
  static const std::set<std::string> kTyped = {
      "ssftool", "Quillbay", "SSF", "Manager", "ThemeMaps", "SSF_MANAGER_HOME", "WxH", "maps", "check-map",
      "flm2flc", "flc2flm", "info", "check", "convert", "copy-colors", "ifeg", "export-res", "import-res", "new",
      "replace", "icon", "extract", "screens", "render", "port", "decode", "encode", "get", "set", "clear",
      "crop", "pad", "stretch", "FilesTable", "FilesStart"};
  std::vector<std::string> found;
  static const std::regex kChunk("[A-Za-z0-9_.|=/-]+");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), kChunk); it != std::sregex_iterator(); ++it) {
    const std::string w = it->str();
    const bool lower = w.find_first_of("abcdefghijklmnopqrstuvwxyz") != std::string::npos;
    const bool typed = w[0] == '-' || (w[0] >= '0' && w[0] <= '9') || w.find_first_of("./|=") != std::string::npos ||
                       kTyped.count(w);
    if (lower && !typed) found.push_back(w);
  }
  return found;
}

TEST(CliLanguage, HelpIsRussianAndListsTheCommandsUnderItsHeading) {
  const auto r = RunCli({"--help"});
  ASSERT_EQ(r.code, 0);
  EXPECT_EQ(r.out.rfind("Использование: ssftool", 0), 0u) << r.out;
  EXPECT_NE(r.out.find(std::string("\n") + cli::kCommandsHeading + "\n  maps\n"), std::string::npos) << r.out;
  EXPECT_EQ(EnglishWords(r.out), std::vector<std::string>{});
}

TEST(CliLanguage, VersionPrintsTheProgramAndItsVersion) {
  const auto r = RunCli({"--version"});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, std::string("ssftool ") + kVersion + "\n");
  EXPECT_EQ(RunCli({"--maps", "x", "--version"}).out, r.out);
}

TEST(CliLanguage, UsageErrorsAreRussianWithTheUsageLine) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"ZZZ"},
      {"--maps"},
      {"maps", "ZZZ"},
      {"check-map"},
      {"check-map", "a.rxt", "b.rxt"},
      {"flm2flc", "a.flm"},
      {"info"},
      {"info", "a.ssf", "--xml"},
      {"check", "a.ssf", "b.ssf"},
      {"convert", "a.png"},
      {"convert", "a.png", "b.gif"},
      {"convert", "a.gif", "b.png"},
      {"convert", "a.raw", "b.png"},
      {"convert", "a.raw", "b.png", "--size", "ZZZ"},
      {"convert", "a.raw", "b.png", "--size"},
      {"convert", "a.png", "b.png", "--max-error", "1"},
      {"convert", "a.png", "b.ifg", "--max-error", "9"},
      {"convert", "a.png", "b.ifg", "--xml"},
      {"copy-colors", "s.xls", "a.tab"},
      {"copy-colors", "s.xls", "a.tab", "b.tab", "--xml"},
      {"ifeg"},
      {"ifeg", "ZZZ"},
      {"ifeg", "decode", "a.ifg"},
      {"ifeg", "decode", "a.ifg", "b.gif"},
      {"ifeg", "encode", "a.gif", "b.ifg"},
      {"ifeg", "encode", "a.png", "b.ifg", "--mode", "4"},
      {"ifeg", "encode", "a.png", "b.ifg", "--mode"},
      {"ifeg", "info"},
      {"export-res", "a.ssf"},
      {"import-res", "a.ssf", "p.res", "-o"},
      {"import-res", "a.ssf", "p.res", "--xml"},
      {"new", "-o", "a.ssf"},
      {"new", "--model", "M"},
      {"new", "--model", "M", "-o", "a.ssf", "--type", "2"},
      {"new", "--model", "M", "-o", "a.ssf", "--from", "p.res", "a.png"},
      {"new", "--model", "M", "-o", "a.ssf", "--fit", "ZZZ"},
      {"new", "--model", "M", "-o", "a.ssf", "--fit"},
      {"new", "--model", "M", "-o", "a.ssf", "--dither"},
      {"new", "--model"},
      {"replace", "a.ssf", "1"},
      {"icon", "a.ssf"},
      {"icon", "a.ssf", "ZZZ"},
      {"icon", "a.ssf", "get", "a.png", "-o", "b.ssf"},
      {"icon", "a.ssf", "get", "a.gif"},
      {"icon", "a.ssf", "set", "a.gif"},
      {"extract", "a.ssf", "1"},
      {"extract", "a.ssf", "ZZZ", "a.png"},
      {"screens"},
      {"render", "a.ssf"},
      {"port", "a.ssf", "-o", "b.ssf"},
  };
  for (const auto& args : cases) {
    std::string line;
    for (const std::string& a : args) line += " " + a;
    SCOPED_TRACE("ssftool" + line);
    const auto r = RunCli(args);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(EnglishWords(r.err), std::vector<std::string>{}) << r.err;
    if (!args.empty() && args[0] != "--maps" && args[0] != "ZZZ") {
      EXPECT_NE(r.err.find("\nиспользование: ssftool " + args[0]), std::string::npos) << r.err;
    }
  }
}

}  // namespace
}  // namespace ssf
