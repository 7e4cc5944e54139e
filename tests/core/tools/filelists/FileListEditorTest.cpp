#include <gtest/gtest.h>

#include "ScriptedUi.h"
#include "TestSupport.h"
#include "tools/filelists/FileListEditor.h"

namespace ssf {
namespace {

using test::ReadFile;
using test::ReadText;
using test::ScriptedUi;
using test::TempDir;
using test::WriteText;

struct EditorFixture : ::testing::Test {
  TempDir dir;
  ScriptedUi ui;
  IniDocument settings;
  FileListEditor editor{ui, settings};

  std::string Setting(const char* key) const { return settings.ReadString("FileList Editor", key); }
};

TEST_F(EditorFixture, FlcToFlmThroughTheHandlers) {
  settings.WriteString("FileList Editor", "FLC Open", "/start/here");
  WriteText(dir / "list.flc", "Path: \\a\r\nName: b\r\nPath: \\c\r\nName: d\r\n");
  ui.AnswerOpen(dir / "list.flc");
  editor.btn_FLC_OpenFLCClick();
  ASSERT_EQ(ui.open_requests.size(), 1u);
  EXPECT_EQ(ui.open_requests[0].filter, "Файл-лист компьютера (*.flc)|*.flc");
  EXPECT_EQ(ui.open_requests[0].initial_dir, "/start/here");
  EXPECT_EQ(Setting("FLC Open"), dir.path().string());
  EXPECT_EQ(editor.View().lbl_FLC_Counter, "Файл-лист загружен.\r\nКол-во файлов: 2");
  EXPECT_TRUE(editor.View().btn_FLC_SaveFLM_enabled);

  int hooks = 0;
  ui.AnswerSave(dir / "out.txt");  // the extension is forced to .flm
  editor.btn_FLC_SaveFLMClick([&] { ++hooks; });
  EXPECT_EQ(ui.save_requests[0].filter, "Файл-лист телефона (*.flm)|*.flm");
  EXPECT_TRUE(ui.save_requests[0].ask_overwrite);
  EXPECT_EQ(Setting("FLM Save"), dir.path().string());
  EXPECT_EQ(ReadFile(dir / "out.flm").size(), 16u + 2 * 96u);
  EXPECT_EQ(hooks, 3);
  EXPECT_EQ(editor.View().PBar_FLC_max, 2);
  EXPECT_EQ(editor.View().PBar_FLC_position, 2);

  // A refused file disables saving but keeps the tables of the good one.
  WriteText(dir / "bad.flc", "Path: x\r\n");
  ui.AnswerOpen(dir / "bad.flc");
  editor.btn_FLC_OpenFLCClick();
  EXPECT_EQ(editor.View().lbl_FLC_Counter, "Некорректный FLC-файл!");
  EXPECT_FALSE(editor.View().btn_FLC_SaveFLM_enabled);
  EXPECT_EQ(editor.Tables().FileListCount(), 2);
}

TEST_F(EditorFixture, FlmToFlcThroughTheHandlers) {
  const std::string good = std::string("$FLM\0\0\0\0\1\0\0\0\0\0\0\0", 16) + "p" + std::string(47, '\0') + "n" +
                           std::string(47, '\0');
  WriteText(dir / "phone.flm", good);
  WriteText(dir / "short.flm", "$FLM");
  ui.AnswerOpen(dir / "phone.flm");
  editor.btn_FLM_OpenFLMClick();
  EXPECT_EQ(ui.open_requests[0].filter, "Файл-лист телефона (*.flm)|*.flm");
  EXPECT_EQ(Setting("FLM Open"), dir.path().string());
  EXPECT_EQ(editor.View().lbl_FLM_Counter, "Файл загружен.\r\nКол-во файлов: 1");
  EXPECT_TRUE(editor.View().btn_FLM_SaveFLC_enabled);

  // The forced name is another, existing file: declining the question writes nothing.
  WriteText(dir / "keep.flc", "keep");
  ui.AnswerSave(dir / "keep");
  ui.yes_no_answers.push_back(false);
  editor.btn_FLM_SaveFLCClick();
  ASSERT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(ui.questions[0], "Файл " + (dir / "keep.flc").string() + " уже существует.\r\nЗаменить его?");
  EXPECT_EQ(ui.question_defaults[0], YesNoDefault::kNo);
  EXPECT_EQ(ReadText(dir / "keep.flc"), "keep");

  ui.AnswerSave(dir / "keep.flc");  // the dialog asked about this very name already
  editor.btn_FLM_SaveFLCClick();
  EXPECT_EQ(ui.save_requests[1].filter, "Файл-лист компьютера (*.flc)|*.flc");
  EXPECT_EQ(Setting("FLC Save"), dir.path().string());
  EXPECT_NE(ReadText(dir / "keep.flc").find("Path: p\r\nName: n\r\n"), std::string::npos);
  EXPECT_EQ(editor.View().PBar_FLM_position, 1);

  ui.AnswerOpen(dir / "short.flm");
  editor.btn_FLM_OpenFLMClick();
  EXPECT_EQ(editor.View().lbl_FLM_Counter, "Некорректный FLM-файл!\r\nНекорректный размер файла.");
  EXPECT_FALSE(editor.View().btn_FLM_SaveFLC_enabled);
}

TEST_F(EditorFixture, CancelChangesNothingAndActivationResets) {
  WriteText(dir / "list.flc", "Path: a\r\nName: b\r\n");
  ui.AnswerOpen(dir / "list.flc");
  editor.btn_FLC_OpenFLCClick();
  const FileListEditorView before = editor.View();

  ui.CancelOpen();
  editor.btn_FLC_OpenFLCClick();
  ui.CancelSave();
  editor.btn_FLC_SaveFLMClick();
  ui.CancelOpen();
  editor.btn_FLM_OpenFLMClick();
  EXPECT_EQ(editor.View().lbl_FLC_Counter, before.lbl_FLC_Counter);
  EXPECT_TRUE(editor.View().btn_FLC_SaveFLM_enabled);
  EXPECT_EQ(Setting("FLM Save"), "");
  EXPECT_EQ(Setting("FLM Open"), "");

  editor.FormActivate();
  EXPECT_EQ(editor.View().PCtrl_page, 0);
  EXPECT_EQ(editor.View().lbl_FLC_Counter, "");
  EXPECT_FALSE(editor.View().btn_FLC_SaveFLM_enabled);
  EXPECT_EQ(editor.View().PBar_FLC_position, 0);
}

}  // namespace
}  // namespace ssf
