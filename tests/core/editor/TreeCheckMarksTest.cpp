// The theme check as marks of the group tree: a group carries the heaviest mark inside it.
#include <gtest/gtest.h>

#include "editor/TreeCheckMarks.h"

namespace ssf {
namespace {

CheckProblem Problem(int k, CheckKind kind, CheckSeverity severity, const char* text) {
  return {k, "", kind, severity, text};
}

TEST(TreeCheckMarks, GroupsTakeTheHeaviestMarkInsideAndCountIt) {
  // 0 "Стол" { 1 "Обои" (file 0), 2 "Значки" { 3 "A" (file 1), 4 "B" (file 2) } },
  // 5 "Пусто" { 6 "C" (file 3) }, 7 "Цвета" (file 4)
  GroupTree tree;
  const int desk = tree.Add("Стол", -1, true);
  tree.Add("Обои", desk);
  const int icons = tree.Add("Значки", desk, true);
  tree.Add("A", icons);
  tree.Add("B", icons);
  const int empty = tree.Add("Пусто", -1, true);
  tree.Add("C", empty);
  tree.Add("Цвета", -1);

  const struct {
    const char* name;
    std::vector<CheckProblem> problems;
    TreeMark desk, icons, empty, wallpaper;
    const char* desk_tip;
  } cases[] = {
      {"sound", {}, TreeMark::kSound, TreeMark::kSound, TreeMark::kSound, TreeMark::kSound, ""},
      {"absent only",
       {Problem(1, CheckKind::kAbsent, CheckSeverity::kError, "Файл отсутствует"),
        Problem(2, CheckKind::kAbsent, CheckSeverity::kError, "Файл отсутствует")},
       TreeMark::kAbsent, TreeMark::kAbsent, TreeMark::kSound, TreeMark::kSound, "Отсутствуют 2 файла"},
      {"error outweighs absent and warning",
       {Problem(0, CheckKind::kWrongSize, CheckSeverity::kWarning, "w"),
        Problem(1, CheckKind::kUndecodable, CheckSeverity::kError, "e"),
        Problem(2, CheckKind::kAbsent, CheckSeverity::kError, "Файл отсутствует"),
        Problem(3, CheckKind::kAbsent, CheckSeverity::kError, "Файл отсутствует"),
        Problem(-1, CheckKind::kEmptyIcon, CheckSeverity::kWarning, "theme")},
       TreeMark::kError, TreeMark::kError, TreeMark::kAbsent, TreeMark::kWarning,
       "Ошибок в группе: 1\nПредупреждений в группе: 1\nОтсутствует 1 файл"},
  };
  for (const auto& c : cases) {
    ThemeCheckReport report;
    report.problems = c.problems;
    const std::vector<TreeNodeMark> marks = TreeCheckMarks(tree, report);
    ASSERT_EQ(marks.size(), 8u) << c.name;
    EXPECT_EQ(marks[0].mark, c.desk) << c.name;
    EXPECT_EQ(marks[2].mark, c.icons) << c.name;
    EXPECT_EQ(marks[5].mark, c.empty) << c.name;
    EXPECT_EQ(marks[1].mark, c.wallpaper) << c.name;
    EXPECT_EQ(marks[0].tip, c.desk_tip) << c.name;
    EXPECT_EQ(marks[7].mark, TreeMark::kSound) << c.name << ": the theme's own problems mark no file";
  }
}

TEST(TreeCheckMarks, AFileTipListsItsProblemsAndAnAbsentOneSaysSo) {
  GroupTree tree;
  tree.Add("Обои", -1);
  tree.Add("Фон", -1);
  ThemeCheckReport report;
  report.problems = {Problem(0, CheckKind::kAbsent, CheckSeverity::kError, "Файл отсутствует"),
                     Problem(1, CheckKind::kUndecodable, CheckSeverity::kError, "Не является JPEG-изображением JFIF"),
                     Problem(1, CheckKind::kWrongSize, CheckSeverity::kWarning, "Размер 1x1 вместо 240x320")};
  const std::vector<TreeNodeMark> marks = TreeCheckMarks(tree, report);
  EXPECT_EQ(marks[0].mark, TreeMark::kAbsent);
  EXPECT_EQ(marks[0].tip, "Файл отсутствует");
  EXPECT_EQ(marks[1].mark, TreeMark::kError);
  EXPECT_EQ(marks[1].errors, 1);
  EXPECT_EQ(marks[1].warnings, 1);
  EXPECT_EQ(marks[1].tip, "Не является JPEG-изображением JFIF\nРазмер 1x1 вместо 240x320");
}

}  // namespace
}  // namespace ssf
