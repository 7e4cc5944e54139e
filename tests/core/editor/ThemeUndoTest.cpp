// Undo and redo of theme changes: each change one step, the modified flag following the
// saved state, typing folded into one step, memory bounded.
#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "PictureSupport.h"
#include "editor/MainFormHandlers.h"
#include "editor/ThemeFileImport.h"
#include "editor/ThemeIconHandlers.h"
#include "editor/ThemeUndo.h"
#include "pictures/Bmp.h"
#include "pictures/RawImage.h"
#include "theme/ThemeContainer.h"

namespace ssf {
namespace {

namespace fs = std::filesystem;

const char kUndoMap[] =
    "<THEMESIGN Main=\"SAMSUNG THEME\" Mobile=\"UNDO-2\">\n"
    "<THEMESETTINGS FilesTable=\"0xFD0\" FilesStart=\"0x1000\" \"2\" \"YES\">\n"
    "<COLORTHEMESSETTINGS \"NO\">\n"
    "<FILE \"a\" \"1\" \"RAW\" \"4\" \"3\">\n"
    "<FILE \"b\" \"2\" \"RAW\" \"4\" \"3\">\n";

struct Undo : ::testing::Test {
  test::EditorFixture fx;
  Undo() {
    fx.AddMap("undo.rxt", kUndoMap);
    fx.Create("UNDO-2");
  }
  Editor& ed() { return *fx.ed; }
  const Bytes& Slot(int k) { return ed().state.Theme->NewFiles[static_cast<size_t>(k)].f_file; }
  // Shades a multiple of 8 apart stay apart in RGB565.
  Bytes Import(int k, uint8_t shade) {
    Image picture(4, 3);
    std::fill(picture.bgr.begin(), picture.bgr.end(), shade);
    const fs::path file = fx.dir / ("p" + std::to_string(shade) + ".bmp");
    test::WriteFile(file, EncodeBmp(picture));
    EXPECT_TRUE(ImportThemeFile(ed(), k, file));
    return ImageToRaw(picture);
  }
  bool Modified() { return ed().state.ThemeModified; }
};

TEST_F(Undo, ImportsGoBackAndForthWithCountPreviewAndFlag) {
  EXPECT_FALSE(ed().state.Undo.CanUndo());
  EXPECT_FALSE(UndoThemeChange(ed()));
  SelectTreeNode(ed(), ed().state.Map.Tree.FileNode(0));
  const Bytes first = Import(0, 40);
  const Bytes second = Import(0, 200);
  Import(1, 90);
  EXPECT_EQ(ed().state.Theme->StoredFiles(), 2);

  ASSERT_TRUE(UndoThemeChange(ed()));  // file 1 goes
  EXPECT_TRUE(Slot(1).empty());
  EXPECT_EQ(ed().state.Theme->StoredFiles(), 1);
  EXPECT_EQ(ed().view.status[2], "1/2");
  ASSERT_TRUE(UndoThemeChange(ed()));  // file 0 back to the first picture, shown
  EXPECT_EQ(Slot(0), first);
  EXPECT_EQ(ed().view.IMG.image.bgr[0], RawToImage(first, 4, 3).bgr[0]);
  ASSERT_TRUE(UndoThemeChange(ed()));
  EXPECT_TRUE(Slot(0).empty());
  EXPECT_TRUE(ed().view.lbl_5_visible);  // u8"Файл отсутствует!"
  EXPECT_FALSE(Modified());             // back where the theme was created
  EXPECT_FALSE(UndoThemeChange(ed()));

  ASSERT_TRUE(RedoThemeChange(ed()));
  ASSERT_TRUE(RedoThemeChange(ed()));
  EXPECT_EQ(Slot(0), second);
  EXPECT_TRUE(Modified());
  // A new change drops what could still be redone.
  Import(1, 10);
  EXPECT_FALSE(ed().state.Undo.CanRedo());
  EXPECT_FALSE(RedoThemeChange(ed()));
}

TEST_F(Undo, TheFlagFollowsTheSavedState) {
  Import(0, 8);
  Import(1, 16);
  fx.Save("u.ssf");
  ASSERT_FALSE(Modified());
  Import(1, 24);
  EXPECT_TRUE(Modified());
  UndoThemeChange(ed());
  EXPECT_FALSE(Modified());  // as saved
  UndoThemeChange(ed());
  EXPECT_TRUE(Modified());   // before the save
  RedoThemeChange(ed());
  EXPECT_FALSE(Modified());

  // Undo past the save, then change: the saved state can no longer be reached.
  UndoThemeChange(ed());
  Import(1, 32);
  UndoThemeChange(ed());
  EXPECT_TRUE(Modified());
}

// Trimming old steps moves the saved state with the steps that remain: undoing back to it
// shows the theme unchanged, with the saved bytes.
TEST_F(Undo, TheSavedStateSurvivesTrimmingOlderSteps) {
  Import(0, 8);
  const Bytes a1 = Import(1, 16);
  // From here on each step holds one file's 24 bytes; room for three of them.
  ed().state.Undo = UndoStack(3 * 24 + 12);
  Import(0, 24);
  ASSERT_EQ(ed().state.Undo.HeldBytes(), 24u);
  Import(1, 32);
  fx.Save("u.ssf");
  const Bytes saved0 = Slot(0), saved1 = Slot(1);
  Import(0, 40);
  Import(1, 48);  // the oldest step goes: the save is now one step deep, not two
  ASSERT_EQ(ed().state.Undo.UndoCount(), 3u);
  ASSERT_TRUE(UndoThemeChange(ed()));
  EXPECT_TRUE(Modified());
  ASSERT_TRUE(UndoThemeChange(ed()));
  EXPECT_FALSE(Modified());
  EXPECT_EQ(ed().view.status[1], "Тема не изменена.");
  EXPECT_EQ(Slot(0), saved0);
  EXPECT_EQ(Slot(1), saved1);
  ASSERT_TRUE(UndoThemeChange(ed()));
  EXPECT_TRUE(Modified());
  EXPECT_EQ(Slot(0), saved0);
  EXPECT_EQ(Slot(1), a1) << "file 1 as before the save";
  EXPECT_FALSE(UndoThemeChange(ed())) << "the trimmed step is gone";
  ASSERT_TRUE(RedoThemeChange(ed()));
  EXPECT_FALSE(Modified());
}

TEST_F(Undo, HeaderTypingIsOneStepAndTypeAndIconAreStepsOfTheirOwn) {
  const std::string author = ed().view.ED_ThemeAuthor;
  for (const char* typed : {"И", "Ив", "Иван"}) ED_ThemeAuthorKeyPress(ed(), kAuthorField, typed);
  CBox_ThemeTypeChange(ed(), 1);
  Image icon(kIconSide, kIconSide);
  std::fill(icon.bgr.begin(), icon.bgr.end(), 0xF8);
  StoreThemeIcon(ed(), icon);
  const Bytes with_icon = ed().state.Theme->Header;
  PM_DelIMGClick(ed());

  UndoThemeChange(ed());  // the clear
  EXPECT_EQ(ed().state.Theme->Header, with_icon);
  EXPECT_EQ(ed().view.IMG_ThemeIcon.bgr[0], 0xF8);
  UndoThemeChange(ed());  // the icon
  UndoThemeChange(ed());  // the type
  EXPECT_EQ(ed().view.CBox_ThemeType_index, 0);
  EXPECT_EQ(ed().state.Theme->Header[kThemeTypeOffset], 0);
  EXPECT_EQ(ed().view.ED_ThemeAuthor, "Иван");
  UndoThemeChange(ed());  // all the typing at once
  EXPECT_EQ(ed().view.ED_ThemeAuthor, author);
  EXPECT_FALSE(Modified());
  EXPECT_FALSE(ed().state.Undo.CanUndo());
  RedoThemeChange(ed());
  EXPECT_EQ(ed().view.ED_ThemeAuthor, "Иван");
}

TEST_F(Undo, RefusalsRecordNothingAndOpeningOrCreatingForgets) {
  test::WriteFile(fx.dir / "wrong.bmp", EncodeBmp(test::Gradient(5, 5)));
  EXPECT_FALSE(ImportThemeFile(ed(), 0, fx.dir / "wrong.bmp"));
  CBox_ThemeTypeChange(ed(), 0);  // no change
  EXPECT_FALSE(ed().state.Undo.CanUndo());

  Import(0, 8);
  Import(1, 16);
  const fs::path saved = fx.Save("o.ssf");
  Import(1, 24);
  OpenThemeFile(ed(), saved);
  EXPECT_FALSE(ed().state.Undo.CanUndo());
  Import(1, 24);
  fx.Create("UNDO-2");
  EXPECT_FALSE(ed().state.Undo.CanUndo());
  EXPECT_FALSE(ed().state.Undo.CanRedo());
}

TEST(UndoStackBudget, DropsTheOldestStepsButKeepsTheNewest) {
  UndoStack stack(3000);
  auto step = [](size_t bytes) {
    UndoStep s;
    s.files.emplace_back(0, Bytes(bytes, 1));
    return s;
  };
  stack.Push(step(1000));
  stack.Push(step(1000));
  EXPECT_TRUE(!stack.AtSaved());
  stack.Push(step(1000));
  stack.Push(step(1000));
  EXPECT_EQ(stack.UndoCount(), 3u);
  EXPECT_LE(stack.HeldBytes(), 3000u);
  // The saved state (before the first step) is gone with it: undoing all never clears the flag.
  while (stack.Undo()) EXPECT_FALSE(stack.AtSaved());

  UndoStack small(10);
  small.Push(step(100));
  small.Push(step(100));
  EXPECT_EQ(small.UndoCount(), 1u);  // one step alone over the budget still stays
}

TEST(UndoStackMerge, TypingFoldsUnlessSavedInBetween) {
  UndoStack stack;
  UndoStep typed;
  typed.merge_key = "author";
  stack.Push(typed);
  stack.Push(typed);
  EXPECT_EQ(stack.UndoCount(), 1u);
  stack.MarkSaved();
  stack.Push(typed);
  EXPECT_EQ(stack.UndoCount(), 2u);
  stack.Undo();
  stack.Redo();
  stack.Push(typed);  // a redone step starts no run
  EXPECT_EQ(stack.UndoCount(), 3u);
}

}  // namespace
}  // namespace ssf
