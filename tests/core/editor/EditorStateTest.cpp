#include <gtest/gtest.h>

#include "TestSupport.h"
#include "editor/EditorState.h"
#include "theme/FileNames.h"
#include "base/FileIO.h"
#include "base/SsfError.h"

namespace ssf {
namespace {

TEST(EditorState, IsYesTakesOnlyYesInAnyCase) {
  for (const char* t : {"YES", "yes", "Yes", "yEs"}) EXPECT_TRUE(IsYes(t)) << t;
  for (const char* t : {"Y", "TRUE", "", " YES", "YES ", "NO"}) EXPECT_FALSE(IsYes(t)) << t;
}

TEST(EditorState, StripFileNameCharsDropsOnlyTheNineForbidden) {
  EXPECT_EQ(StripFileNameChars("Фон: главный/1?"), "Фон главный1");
  EXPECT_EQ(StripFileNameChars("a\"b*c/d:e<f>g?h\\i|j"), "abcdefghij");
  EXPECT_EQ(StripFileNameChars("Обои. рабочего\tстола\x01"), "Обои. рабочего\tстола\x01");
}

TEST(EditorState, SelectedFileIndexSkipsGroupNodesEvenEmptyOnes) {
  // Группа (Файл 1, Файл 2), Файл 3, Пустая группа (a GROUP line with nothing inside), Файл 4
  GroupTree t;
  int group = t.Add("Группа", -1, true);
  t.Add("Файл 1", group);
  t.Add("Файл 2", group);
  t.Add("Файл 3", -1);
  const int empty_group = t.Add("Пустая группа", -1, true);
  t.Add("Файл 4", -1);
  EXPECT_EQ(t.FileIndexOf(1), 0);
  EXPECT_EQ(t.FileIndexOf(3), 2);
  // A group without children is still a group: not a theme file, and Файл 4 keeps map index 3.
  EXPECT_FALSE(t.IsFileNode(empty_group));
  EXPECT_EQ(t.FileIndexOf(5), 3);
  EXPECT_EQ(t.FileNode(0), 1);
  EXPECT_EQ(t.FileNode(2), 3);
  EXPECT_EQ(t.FileNode(3), 5);
  EXPECT_EQ(t.FileNode(4), -1);
  EXPECT_EQ(t.FileNodeCount(), 4);
  EXPECT_EQ(t.PathOf(2), "Группа/Файл 2");
  EXPECT_THROW(t.Add("x", 9), SsfError);
}

TEST(EditorState, GetFileSizeOfMissingEmptyAndFolder) {
  test::TempDir dir;
  test::WriteText(dir / "empty", "");
  test::WriteText(dir / "five", "12345");
  EXPECT_EQ(GetFileSize(dir / "missing"), -1);
  EXPECT_EQ(GetFileSize(dir / "empty"), 0);
  EXPECT_EQ(GetFileSize(dir / "five"), 5);
  EXPECT_EQ(GetFileSize(dir.path()), 0);
}

}  // namespace
}  // namespace ssf
