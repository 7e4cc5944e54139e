// Changing one colour of a COLORTAB theme file: an undoable step that sets the modified flag.
#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "base/SsfError.h"
#include "editor/ColorTableEdit.h"
#include "editor/MainFormHandlers.h"
#include "editor/ThemeUndo.h"
#include "theme/ColorTable.h"

namespace ssf {
namespace {

const char kColoursMap[] =
    "<THEMESIGN Main=\"SAMSUNG THEME\" Mobile=\"TAB-2\">\n"
    "<THEMESETTINGS FilesTable=\"0xFD0\" FilesStart=\"0x1000\" \"2\" \"YES\">\n"
    "<COLORTHEMESSETTINGS \"NO\">\n"
    "<FILE \"a\" \"1\" \"RAW\" \"4\" \"3\">\n"
    "<FILE \"Цвета\" \"2\" \"COLORTAB\" \"8\">\n";

TEST(ColorTableEdit, AnEntryEditIsOneUndoableStepAndKeepsTheOtherBytes) {
  test::EditorFixture fx;
  fx.AddMap("tab.rxt", kColoursMap);
  fx.Create("TAB-2");
  Editor& ed = *fx.ed;
  EXPECT_THROW(SetColorTableEntry(ed, 1, 0, 0xF800), SsfError) << "absent";
  const Bytes stored = {1, 2, 3, 4, 5, 6, 7, 8};
  ed.state.Theme->NewFiles[1].f_file = stored;
  ed.state.Theme->NewFiles[0].f_file.assign(24, 9);
  ed.state.ThemeModified = false;
  SelectTreeNode(ed, ed.state.Map.Tree.FileNode(1));
  ASSERT_NE(SelectedColorTable(ed), nullptr);
  EXPECT_EQ(*SelectedColorTable(ed), stored);

  SetColorTableEntry(ed, 1, 2, 0xF800);
  EXPECT_EQ(ed.state.Theme->NewFiles[1].f_file, (Bytes{1, 2, 3, 4, 0x00, 0xF8, 7, 8}));
  EXPECT_TRUE(ed.state.ThemeModified);
  EXPECT_EQ(ed.view.status[1], "Тема изменена.");

  ASSERT_TRUE(UndoThemeChange(ed));
  EXPECT_EQ(ed.state.Theme->NewFiles[1].f_file, stored);
  EXPECT_FALSE(ed.state.ThemeModified);
  ASSERT_TRUE(RedoThemeChange(ed));
  EXPECT_EQ(ColorTableEntry(ed.state.Theme->NewFiles[1].f_file, 2), 0xF800);

  EXPECT_THROW(SetColorTableEntry(ed, 1, 4, 0), SsfError);
  EXPECT_THROW(SetColorTableEntry(ed, 0, 0, 0), SsfError) << "a picture is no colour table";
  SelectTreeNode(ed, ed.state.Map.Tree.FileNode(0));
  EXPECT_EQ(SelectedColorTable(ed), nullptr);
}

}  // namespace
}  // namespace ssf
