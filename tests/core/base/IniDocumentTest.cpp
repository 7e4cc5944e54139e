#include <gtest/gtest.h>

#include "TestSupport.h"
#include "base/IniDocument.h"
#include "base/Limits.h"
#include "base/SsfError.h"
#include "editor/FitPicturesOption.h"
#include "editor/RecentThemes.h"

namespace ssf {
namespace {

TEST(IniDocument, KeepsOtherContentAndComparesNamesWithoutCase) {
  test::TempDir dir;
  auto path = dir / "settings.ini";
  test::WriteText(path, "; my notes\r\n[MainForm Sizes]\r\nLeft = 10\r\nOther=x\r\n\r\n[Foreign]\r\nk=v\r\n");
  auto ini = IniDocument::Load(path);
  EXPECT_EQ(ini.ReadInteger("mainform sizes", "LEFT", 0), 10);
  EXPECT_EQ(ini.ReadInteger("MainForm Sizes", "Other", 7), 7);  // not a number
  EXPECT_EQ(ini.ReadInteger("MainForm Sizes", "Width", 769), 769);

  ini.WriteInteger("MainForm Sizes", "Left", 20);
  ini.WriteInteger("MainForm Sizes", "Top", 5);
  ini.WriteString("ThemePaths", "OpenTheme", "/home/я/темы/");
  EXPECT_EQ(test::ReadText(path),
            "; my notes\r\n[MainForm Sizes]\r\nLeft=20\r\nOther=x\r\nTop=5\r\n\r\n[Foreign]\r\nk=v\r\n"
            "\r\n[ThemePaths]\r\nOpenTheme=/home/я/темы/\r\n");
  EXPECT_EQ(IniDocument::Load(path).ReadString("themepaths", "opentheme"), "/home/я/темы/");
}

TEST(IniDocument, MissingFileReadsDefaultsAndIsCreatedAtFirstWrite) {
  test::TempDir dir;
  auto path = dir / "settings.ini";
  auto ini = IniDocument::Load(path);
  EXPECT_EQ(ini.ReadString("ThemePaths", "SaveTheme"), "");
  EXPECT_FALSE(std::filesystem::exists(path));
  ini.WriteBool("MainForm Sizes", "Maximized", true);
  EXPECT_EQ(test::ReadText(path), "[MainForm Sizes]\nMaximized=1\n");
}

TEST(IniDocument, ReadsWindows1251File) {
  auto ini = IniDocument::Parse("[Resources]\nExportRes=C:\\\xD2\xE5\xEC\xFB\\\n");
  EXPECT_EQ(ini.ReadString("Resources", "ExportRes"), "C:\\Темы\\");
}

TEST(IniDocument, ByteOrderMarkAndRepeatedKeysReadAsWindowsReadsThem) {
  test::TempDir dir;
  auto path = dir / "settings.ini";
  // Notepad writes the mark; it must not glue itself to the first section's name.
  test::WriteText(path, "\xEF\xBB\xBF[ThemePaths]\r\nOpenTheme=/a/\r\nOpenTheme=/b/\r\n[ExecuteFiles]\r\nopenfile=/c/\r\n");
  auto ini = IniDocument::Load(path);
  EXPECT_TRUE(ini.SectionExists("ThemePaths"));
  EXPECT_EQ(ini.ReadString("ThemePaths", "OpenTheme"), "/a/");  // the first of two equal keys
  EXPECT_EQ(ini.ReadString("ExecuteFiles", "OpenFile"), "/c/");
  // A write changes the key that is read, so the new value is the one read back.
  ini.WriteString("ThemePaths", "OPENTHEME", "/d/");
  EXPECT_EQ(IniDocument::Load(path).ReadString("ThemePaths", "OpenTheme"), "/d/");
}

TEST(IniDocument, ValuesCannotAddLines) {
  // A theme named so that its path ends the line and starts a section of its own.
  // Remembered themes are made absolute: the folders carry the current drive on Windows.
  const std::filesystem::path evil = std::filesystem::absolute("/tmp") / "x\r\n[Options]\r\nFitPictures=1\r\n\x1B[31m%41%0A.ssf";
  const std::filesystem::path cyrillic = std::filesystem::absolute("/home") / u8"я" / u8"100% тема.ssf";
  test::TempDir dir;
  const auto path = dir / "settings.ini";
  {
    auto ini = IniDocument::Load(path);
    RememberRecentTheme(ini, cyrillic);
    RememberRecentTheme(ini, evil);
    ini.WriteString("ThemePaths", "Open\nTheme", "tab\there");
  }
  const std::string text = test::ReadText(path);
  EXPECT_EQ(text.find('\r'), std::string::npos) << text;
  EXPECT_EQ(text.find('\x1B'), std::string::npos) << text;
  EXPECT_NE(text.find("%0D%0A[Options]%0D%0AFitPictures=1%0D%0A%1B[31m%2541%250A.ssf"), std::string::npos) << text;
  // The next start reads the same list and no option of the name's making.
  const auto ini = IniDocument::Load(path);
  EXPECT_EQ(ReadRecentThemes(ini), (std::vector<std::filesystem::path>{evil, cyrillic}));
  EXPECT_FALSE(FitPicturesOn(ini));
  EXPECT_FALSE(ini.SectionExists("Options"));
  EXPECT_EQ(ini.ReadString("ThemePaths", "OpenTheme"), "tab\there");
}

TEST(IniDocument, ReadsOnlyItsOwnEscapes) {
  // Written by another program: "%41" and a lone '%' are text, not escapes.
  auto ini = IniDocument::Parse("[P]\nA=C:\\%41%\nB=%0a%7F%25%2\n");
  EXPECT_EQ(ini.ReadString("P", "A"), "C:\\%41%");
  EXPECT_EQ(ini.ReadString("P", "B"), "\n\x7F%%2");
}

TEST(IniDocument, RefusesAFileOverTheLimit) {
  test::TempDir dir;
  // A settings file of newlines would keep a line record each: refused before it is read.
  test::WriteText(dir / "settings.ini", "[Options]\nFitPictures=1\n" + std::string(kMaxIniFileSize, '\n'));
  EXPECT_THROW(IniDocument::Load(dir / "settings.ini"), SsfError);
  test::WriteText(dir / "ok.ini", "[Options]\nFitPictures=1\n" + std::string(kMaxIniFileSize - 30, '\n'));
  EXPECT_TRUE(FitPicturesOn(IniDocument::Load(dir / "ok.ini")));
}

}  // namespace
}  // namespace ssf
