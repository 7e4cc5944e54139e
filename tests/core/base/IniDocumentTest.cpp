#include <gtest/gtest.h>

#include "TestSupport.h"
#include "base/IniDocument.h"

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

}  // namespace
}  // namespace ssf
