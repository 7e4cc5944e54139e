// u8"Сохранить" back to the theme's own file and "Сохранить как…" starting beside it.
#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "TestSupport.h"
#include "editor/MainFormHandlers.h"
#include "editor/ThemeFileImport.h"
#include "theme/ThemeCheck.h"
#include "theme/ThemeContainer.h"
#include "editor/ThemeDraft.h"
#include "editor/ThemeUndo.h"
#include "editor/WindowTitle.h"

namespace ssf::test {
namespace {

namespace fs = std::filesystem;

struct ThemeSaveTest : ::testing::Test {
  EditorFixture f;
  ThemeSaveTest() { f.AddMap("a.rxt", kExampleMap); }
  Editor& ed() { return *f.ed; }
  // The size of the first theme file in the container at `path`.
  static uint32_t FirstSize(const fs::path& path) { return ReadU32LE(ReadFile(path), 0xFD0); }
};

TEST_F(ThemeSaveTest, SaveWritesBackToTheThemesFileAndAsksOnlyForANewTheme) {
  f.Create("EXAMPLE-100");
  f.Fill({10, 32, 5});
  f.ui.AnswerSave(f.dir / "mine");
  MM_Child_SaveClick(ed());
  ASSERT_EQ(f.ui.save_requests.size(), 1u);
  EXPECT_EQ(f.ui.save_requests[0].file_name, "");  // a new theme has no name yet
  EXPECT_EQ(ed().state.ThemePath, f.dir / "mine.ssf");
  EXPECT_FALSE(ed().state.ThemeModified);

  f.Fill({7, 32, 5});
  MM_Child_SaveClick(ed());
  EXPECT_EQ(f.ui.save_requests.size(), 1u);  // no second dialog
  EXPECT_EQ(FirstSize(f.dir / "mine.ssf"), 7u);
  EXPECT_FALSE(ed().state.ThemeModified);
  EXPECT_EQ(ed().view.status[1], "Тема сохранена.");

  // An opened theme: its own file, without a dialog; the unsaved-changes rule stays.
  fs::create_directory(f.dir / "other");
  fs::copy_file(f.dir / "mine.ssf", f.dir / "other" / "x.ssf");
  OpenThemeFile(ed(), f.dir / "other" / "x.ssf");
  f.Fill({3, 32, 5});
  MM_Child_SaveClick(ed());
  EXPECT_EQ(f.ui.save_requests.size(), 1u);
  EXPECT_EQ(FirstSize(f.dir / "other" / "x.ssf"), 3u);
  EXPECT_EQ(FirstSize(f.dir / "mine.ssf"), 7u);

  // Missing files: refused as before, with no dialog even though the theme has a file.
  ed().state.Theme->NewFiles[1].f_file.clear();
  ed().state.Theme->RecountStoredFiles();
  MM_Child_SaveClick(ed());
  EXPECT_EQ(f.ui.OnlyMessage().kind, kMsgError);
  EXPECT_EQ(f.ui.save_requests.size(), 1u);
  EXPECT_EQ(FirstSize(f.dir / "other" / "x.ssf"), 3u);

  // A new theme forgets the old file: it asks again.
  ed().state.ThemeModified = false;
  f.Create("EXAMPLE-100");
  EXPECT_TRUE(ed().state.ThemePath.empty());
  f.Fill({1, 1, 1});
  f.ui.CancelSave();
  MM_Child_SaveClick(ed());
  EXPECT_EQ(f.ui.save_requests.size(), 2u);
  EXPECT_TRUE(ed().state.ThemeModified);
}

TEST_F(ThemeSaveTest, SaveAsStartsInTheThemesFolderWithItsNameAndTheCopyBecomesTheThemesFile) {
  f.Create("EXAMPLE-100");
  f.Fill({10, 32, 5});
  fs::create_directory(f.dir / "themes");
  const fs::path first = f.Save("themes/full");
  f.settings.WriteString("ThemePaths", "SaveTheme", "/somewhere/else");

  OpenThemeFile(ed(), first);
  f.ui.AnswerSave(f.dir / "copy.ssf");
  MM_Child_SaveThemeClick(ed());
  const FileDialogRequest& asked = f.ui.save_requests.back();
  EXPECT_EQ(asked.initial_dir, f.dir / "themes");
  EXPECT_EQ(asked.file_name, "full.ssf");
  EXPECT_TRUE(asked.ask_overwrite);
  EXPECT_EQ(ed().state.ThemePath, f.dir / "copy.ssf");

  f.Fill({4, 32, 5});
  MM_Child_SaveClick(ed());
  EXPECT_EQ(FirstSize(f.dir / "copy.ssf"), 4u);
  EXPECT_EQ(FirstSize(first), 10u);

  // Cancelled: nothing written, the theme keeps its file.
  f.Fill({5, 32, 5});
  f.ui.CancelSave();
  MM_Child_SaveThemeClick(ed());
  EXPECT_EQ(f.ui.save_requests.back().file_name, "copy.ssf");
  EXPECT_EQ(ed().state.ThemePath, f.dir / "copy.ssf");
  EXPECT_TRUE(ed().state.ThemeModified);

  // A failed open (no map for its model) leaves no theme and no file to write back to.
  WriteFile(f.dir / "bad.ssf", Bytes(200, 0));
  ed().state.ThemeModified = false;
  OpenThemeFile(ed(), f.dir / "bad.ssf");
  EXPECT_FALSE(ed().state.Theme);
  EXPECT_TRUE(ed().state.ThemePath.empty());
}

TEST_F(ThemeSaveTest, ExitYesSavesToTheThemesOwnFile) {
  f.Create("EXAMPLE-100");
  f.Fill({10, 32, 5});
  const fs::path path = f.Save("t");
  f.Fill({6, 32, 5});
  f.ui.three_way_answers = {YesNoCancel::kYes};
  EXPECT_TRUE(FormClose(ed()));
  EXPECT_EQ(f.ui.save_requests.size(), 1u);
  EXPECT_EQ(FirstSize(path), 6u);
}

// A theme with absent files is kept as a draft: its header declares the files it holds, so
// it opens with the absent ones marked and "Сохранить" refused until it is complete; once
// complete it is saved as any theme and opens as complete.
TEST_F(ThemeSaveTest, ADraftKeepsAnIncompleteThemeUntilItIsFinished) {
  f.Create("EXAMPLE-100");
  f.Fill({10, 0, 5});
  ed().state.Theme->RecountStoredFiles();  // 2/3
  const std::string warning =
      "Не прикреплено файлов: 1 из 3.\r\nТелефон не примет черновик, пока тема не будет завершена.\r\nСохранить черновик?";

  // No to the warning: nothing asked further, nothing written.
  f.ui.yes_no_answers = {false};
  MM_Child_SaveDraftClick(ed());
  EXPECT_EQ(f.ui.questions, (std::vector<std::string>{warning}));
  EXPECT_TRUE(f.ui.save_requests.empty());

  f.ui.yes_no_answers = {true};
  f.ui.AnswerSave(f.dir / "draft");
  MM_Child_SaveDraftClick(ed());
  const fs::path draft = f.dir / "draft.ssf";
  const Bytes written = ReadFile(draft);
  EXPECT_EQ(ReadI32LE(written, kFileCountOffset), 2);
  EXPECT_EQ(ReadU32LE(written, 0xFD4), 0u);  // the absent file stays absent
  EXPECT_FALSE(ed().state.ThemeModified);
  EXPECT_EQ(ed().state.ThemePath, draft);
  EXPECT_EQ(ed().view.status[1], kDraftSavedStatus);
  EXPECT_EQ(ed().view.status[2], "2/3");

  f.Reset();
  OpenThemeFile(ed(), draft);
  EXPECT_EQ(ed().view.status[2], "2/3");
  const ThemeCheckReport report = CheckTheme(*ed().state.Theme, ed().state.Map);
  // The filler bytes are no real pictures; what matters is one absent file and no count problem.
  int absent = 0;
  for (const CheckProblem& p : report.problems) {
    EXPECT_NE(p.kind, CheckKind::kFileCount) << p.text;
    if (p.kind == CheckKind::kAbsent) {
      ++absent;
      EXPECT_EQ(p.index, 1);
    }
  }
  EXPECT_EQ(absent, 1);
  f.ui.messages.clear();
  MM_Child_SaveClick(ed());
  EXPECT_EQ(f.ui.OnlyMessage().kind, kMsgError);  // u8"Сохранить" refuses as before
  EXPECT_EQ(Bytes(ReadFile(draft)), written);

  // Finished: the import of the last file raises the count, "Сохранить" writes the draft's
  // file as a complete theme.
  SelectTreeNode(ed(), ed().state.Map.Tree.FileNode(1));
  StoreSelectedFile(ed(), 1, Bytes(32, 2), std::nullopt);
  EXPECT_EQ(ed().view.status[2], "3/3");
  MM_Child_SaveClick(ed());
  EXPECT_EQ(ReadI32LE(ReadFile(draft), kFileCountOffset), 3);
  f.Reset();
  OpenThemeFile(ed(), draft);
  EXPECT_EQ(ed().view.status[2], "3/3");
  for (const CheckProblem& p : CheckTheme(*ed().state.Theme, ed().state.Map).problems) {
    EXPECT_TRUE(p.kind != CheckKind::kAbsent && p.kind != CheckKind::kFileCount) << p.text;
  }

  // A complete theme needs no draft: it is saved without the warning.
  const size_t asked = f.ui.questions.size();
  f.ui.AnswerSave(f.dir / "whole");
  MM_Child_SaveDraftClick(ed());
  EXPECT_EQ(f.ui.questions.size(), asked);
  EXPECT_EQ(ReadI32LE(ReadFile(f.dir / "whole.ssf"), kFileCountOffset), 3);
}

// `ssftool check` reports the absent files of a draft and fails it.
TEST_F(ThemeSaveTest, CheckReportsTheAbsentFilesOfADraft) {
  f.Create("EXAMPLE-100");
  f.Fill({10, 0, 5});
  ed().state.Theme->RecountStoredFiles();
  f.ui.yes_no_answers = {true};
  f.ui.AnswerSave(f.dir / "draft.ssf");
  MM_Child_SaveDraftClick(ed());
  CliResult r = RunCli({"--maps", (f.dir / "ThemeMaps").string(), "check", (f.dir / "draft.ssf").string()});
  EXPECT_EQ(r.code, 1) << r.err;
  EXPECT_NE(r.out.find("1\tРабочий стол/Фон меню\tФайл отсутствует\n"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("смещение 148"), std::string::npos) << r.out;
}

TEST_F(ThemeSaveTest, TheTitleNamesTheThemesFileAndMarksUnsavedChanges) {
  const std::string caption = "Quillbay SSF Manager v2.0 Build 362";
  auto title = [&] { return WindowTitle(ed().state, caption); };
  EXPECT_EQ(title(), caption);
  f.Create("EXAMPLE-100");
  EXPECT_EQ(title(), "NewTheme.ssf — " + caption);
  f.Fill({10, 32, 5});
  EXPECT_EQ(title(), "NewTheme.ssf* — " + caption);
  f.Save("full");
  EXPECT_EQ(title(), "full.ssf — " + caption);
  ED_ThemeAuthorKeyPress(ed(), kAuthorField, "Я");
  EXPECT_EQ(title(), "full.ssf* — " + caption);
  UndoThemeChange(ed());
  EXPECT_EQ(title(), "full.ssf — " + caption);

  // A theme that cannot be opened leaves the caption alone.
  WriteFile(f.dir / "bad.ssf", Bytes(200, 0));
  OpenThemeFile(ed(), f.dir / "bad.ssf");
  EXPECT_EQ(title(), caption);
}

}  // namespace
}  // namespace ssf::test
