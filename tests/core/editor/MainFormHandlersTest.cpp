// The main window's commands on the editor: create, open, close, header and type edits,
// page switch.
#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "editor/MainFormHandlers.h"
#include "base/SsfError.h"
#include "platform/PathText.h"

#include <algorithm>

namespace ssf::test {
namespace {

std::string Other(const std::string& model) { return ExampleMapWith("EXAMPLE-100", model); }

TEST(CreateThemeCommand, NoMapShowsTheErrorOneMapCreatesAtOnceSeveralAskTheChooser) {
  EditorFixture f;
  MM_Child_CreateThemeClick(*f.ed);
  EXPECT_EQ(f.ed->view.status, (std::array<std::string, 3>{"Ошибка #1#", "Невозможно создать тему!", ""}));
  EXPECT_EQ(f.ui.OnlyMessage().text,
            "Невозможно создать тему!\r\nНеобходимо наличие в папке ThemeMaps хотя бы одной карты темы!");
  EXPECT_EQ(f.ui.OnlyMessage().kind, kMsgError);

  f.AddMap("a.rxt", kExampleMap);
  MM_Child_CreateThemeClick(*f.ed);
  EXPECT_TRUE(f.ui.map_lists.empty());
  EXPECT_EQ(f.ed->view.status[0], "NewTheme.ssf [a.rxt]");

  f.AddMap("b.rxt", Other("OTHER-200"));
  f.ui.map_choices.push_back(1);
  MM_Child_CreateThemeClick(*f.ed);
  ASSERT_EQ(f.ui.map_lists.size(), 1u);
  EXPECT_EQ(f.ui.map_lists[0], (std::vector<std::string>{"EXAMPLE-100", "OTHER-200"}));
  EXPECT_EQ(f.ed->view.status[0], "NewTheme.ssf [b.rxt]");
}

TEST(CreateThemeCommand, AModifiedThemeIsKeptWhenTheUserSaysNo) {
  EditorFixture f;
  f.AddMap("a.rxt", kExampleMap);
  f.Create("EXAMPLE-100");
  f.ed->state.ThemeModified = true;
  f.ed->view.status[1] = "marker";
  f.ui.yes_no_answers = {false, true};
  MM_Child_CreateThemeClick(*f.ed);
  EXPECT_EQ(f.ui.questions, (std::vector<std::string>{kLoseChangesQuestion}));
  EXPECT_EQ(f.ui.question_defaults, (std::vector<YesNoDefault>{YesNoDefault::kNo}));  // Yes loses work
  EXPECT_TRUE(f.ed->state.ThemeModified);
  EXPECT_EQ(f.ed->view.status[1], "marker");

  MM_Child_CreateThemeClick(*f.ed);
  EXPECT_FALSE(f.ed->state.ThemeModified);
  EXPECT_EQ(f.ed->view.status[1], "Создание новой темы.");
}

TEST(OpenThemeCommand, AsksRemembersTheFolderAndRefusesShortFiles) {
  EditorFixture f;
  f.AddMap("a.rxt", kExampleMap);
  f.Create("EXAMPLE-100");
  f.Fill({10, 32, 5});
  std::filesystem::path saved = f.Save("t");
  f.ed->state.ThemeModified = true;

  // No: nothing is asked further.
  f.ui.yes_no_answers = {false};
  MM_Child_OpenThemeClick(*f.ed);
  EXPECT_TRUE(f.ui.open_requests.empty());

  // A file of 147 bytes is refused before it is read.
  Bytes short_file(147, 0);
  WriteFile(f.dir / "short.ssf", short_file);
  f.ui.yes_no_answers = {true};
  f.ui.AnswerOpen(f.dir / "short.ssf");
  MM_Child_OpenThemeClick(*f.ed);
  EXPECT_EQ(f.ui.OnlyMessage().text, "Некорректный файл темы!\r\nЗагрузка невозможна.");
  ASSERT_EQ(f.ui.open_requests.size(), 1u);
  EXPECT_EQ(f.ui.open_requests[0].filter, "Файл темы (*.ssf)|*.ssf");
  EXPECT_EQ(f.settings.ReadString("ThemePaths", "OpenTheme"), f.dir.path().string());

  // 148 bytes passes the size check and is read: the open itself then finds it too short.
  f.ui.messages.clear();
  WriteFile(f.dir / "short.ssf", Bytes(148, 0));
  f.ui.yes_no_answers = {true};
  f.ui.AnswerOpen(f.dir / "short.ssf");
  try {
    MM_Child_OpenThemeClick(*f.ed);
    ADD_FAILURE() << "opened";
  } catch (const SsfError& e) {
    EXPECT_NE(std::string(e.what()).find("в файле 148"), std::string::npos) << e.what();
  }
  EXPECT_TRUE(f.ui.messages.empty());
  f.ed->state.ThemeModified = true;

  // The next dialog starts there; a cancel changes nothing.
  f.ui.yes_no_answers = {true};
  f.ui.CancelOpen();
  MM_Child_OpenThemeClick(*f.ed);
  EXPECT_EQ(f.ui.open_requests[2].initial_dir, f.dir.path());
  EXPECT_TRUE(f.ed->state.ThemeModified);

  f.ui.yes_no_answers = {true};
  f.ui.AnswerOpen(saved);
  MM_Child_OpenThemeClick(*f.ed);
  EXPECT_EQ(f.ed->view.status[1], "Тема загружена.");
  EXPECT_EQ(f.ed->view.status[2], "3/3");
  EXPECT_FALSE(f.ed->state.ThemeModified);
}

TEST(StartupFile, JoinsTheParametersAndOpensOnlyThemeFiles) {
  EditorFixture f;
  f.AddMap("a.rxt", kExampleMap);
  f.Create("EXAMPLE-100");
  f.Fill({10, 32, 5});
  std::filesystem::create_directory(f.dir / "My Themes");
  f.ui.AnswerSave(f.dir / "My Themes" / "a");
  MM_Child_SaveThemeClick(*f.ed);

  f.Reset();
  OpenStartupFile(*f.ed, {Utf8FromPath(f.dir / "My"), "Themes/a.ssf"});
  EXPECT_EQ(PathFromUtf8(f.ed->state.StartupFile), f.dir / "My Themes" / "a.ssf");
  EXPECT_EQ(f.ed->view.status[0], "a.ssf [a.rxt]");

  f.Reset();
  OpenStartupFile(*f.ed, {"a.txt"});
  EXPECT_EQ(f.ed->state.StartupFile, "a.txt");
  EXPECT_FALSE(f.ed->view.PCtrl_enabled);
  EXPECT_TRUE(f.ui.messages.empty());
}

TEST(HeaderEdits, WriteTheirFieldsTypeWritesOffset165AndBothMarkTheTheme) {
  EditorFixture f;
  f.AddMap("a.rxt", kExampleMap);
  f.Create("EXAMPLE-100");
  const Bytes& b = f.ed->state.Theme->Header;

  EXPECT_EQ(ED_ThemeAuthorKeyPress(*f.ed, kAuthorField, "Автор"), "Автор");
  EXPECT_EQ(std::string(b.begin() + 32, b.begin() + 42), "Автор");
  EXPECT_TRUE(std::all_of(b.begin() + 42, b.begin() + 84, [](uint8_t c) { return c == 0; }));
  EXPECT_TRUE(f.ed->state.ThemeModified);
  EXPECT_EQ(f.ed->view.ED_ThemeAuthor, "Автор");
  EXPECT_EQ(f.ed->view.status[1], kHeaderChangedStatus);

  // Unchanged text (a refused key) does not mark the theme or speak of a change.
  f.ed->state.ThemeModified = false;
  f.ed->view.status[1] = "Тема сохранена.";
  EXPECT_EQ(ED_ThemeAuthorKeyPress(*f.ed, kVersionField, "1.0"), "1.0");
  EXPECT_FALSE(f.ed->state.ThemeModified);
  EXPECT_EQ(f.ed->view.status[1], "Тема сохранена.");
  EXPECT_EQ(ED_ThemeAuthorKeyPress(*f.ed, kVersionField, "1.0.12"), "1.0.");
  EXPECT_EQ(std::string(b.begin() + 140, b.begin() + 145), std::string("1.0.\0", 5));

  f.ed->state.ThemeModified = false;
  f.ed->view.status[1] = "Тема сохранена.";
  CBox_ThemeTypeChange(*f.ed, 0);
  EXPECT_FALSE(f.ed->state.ThemeModified);
  EXPECT_EQ(f.ed->view.status[1], "Тема сохранена.");
  CBox_ThemeTypeChange(*f.ed, 1);
  EXPECT_EQ(b[165], 1);
  EXPECT_EQ(f.ed->view.CBox_ThemeType_index, 1);
  EXPECT_TRUE(f.ed->state.ThemeModified);
  EXPECT_EQ(f.ed->view.status[1], kHeaderChangedStatus);
}

// Each text field ends where the next reserved byte begins: author 32..83, name 85..136,
// version 140..144, each with room for a closing zero.
TEST(HeaderEdits, LongTextsFillTheirFieldsAndTouchNoOtherByte) {
  EditorFixture f;
  f.AddMap("a.rxt", kExampleMap);
  f.Create("EXAMPLE-100");
  Bytes expected = f.ed->state.Theme->Header;
  auto put = [&](size_t at, size_t width, const std::string& text) {
    std::fill(expected.begin() + at, expected.begin() + at + width, 0);
    std::copy(text.begin(), text.end(), expected.begin() + at);
  };
  ED_ThemeAuthorKeyPress(*f.ed, kAuthorField, std::string(60, 'a'));
  ED_ThemeAuthorKeyPress(*f.ed, kNameField, std::string(60, 'n'));
  ED_ThemeAuthorKeyPress(*f.ed, kVersionField, "123456");
  put(32, 52, std::string(51, 'a'));
  put(85, 52, std::string(51, 'n'));
  put(140, 5, "1234");
  EXPECT_EQ(f.ed->state.Theme->Header, expected);

  // Two-byte letters are cut whole; a shorter text clears the rest of its field.
  ED_ThemeAuthorKeyPress(*f.ed, kAuthorField, "Ж");
  ED_ThemeAuthorKeyPress(*f.ed, kNameField, std::string(30, 'x') + "ЖЖЖЖЖЖЖЖЖЖЖЖ");
  put(32, 52, "Ж");
  put(85, 52, std::string(30, 'x') + "ЖЖЖЖЖЖЖЖЖЖ");  // 50 bytes: an eleventh Ж would not fit
  EXPECT_EQ(f.ed->state.Theme->Header, expected);
}

TEST(PageSwitch, InformationPanelOnlyOnTheFilesPageWithAThemeFileSelected) {
  EditorFixture f;
  f.AddMap("a.rxt", kExampleMap);
  f.Create("EXAMPLE-100");
  // Tree: 0 "Рабочий стол" (1 "Обои", 2 "Фон меню"), 3 "Цвета".
  SelectTreeNode(*f.ed, 0);
  EXPECT_FALSE(f.ed->view.Pnl_ItemInfo_visible);
  SelectTreeNode(*f.ed, 2);
  EXPECT_TRUE(f.ed->view.Pnl_ItemInfo_visible);
  PCtrlChange(*f.ed, 1);
  EXPECT_FALSE(f.ed->view.Pnl_ItemInfo_visible);
  PCtrlChange(*f.ed, 0);
  EXPECT_TRUE(f.ed->view.Pnl_ItemInfo_visible);
  SelectTreeNode(*f.ed, 0);
  PCtrlChange(*f.ed, 1);
  PCtrlChange(*f.ed, 0);
  EXPECT_FALSE(f.ed->view.Pnl_ItemInfo_visible);
}

TEST(FormCloseQuestion, ClosesOnNoOrAfterASaveAndStaysOpenWhenTheSaveDoesNotHappen) {
  EditorFixture f;
  f.AddMap("a.rxt", kExampleMap);
  f.Create("EXAMPLE-100");
  EXPECT_TRUE(FormClose(*f.ed));  // unchanged: no question
  EXPECT_TRUE(f.ui.questions.empty());

  f.ed->state.ThemeModified = true;
  f.ui.yes_no_answers = {false};
  EXPECT_TRUE(FormClose(*f.ed));
  EXPECT_EQ(f.ui.questions.back(), kSaveBeforeExitQuestion);
  EXPECT_EQ(f.ui.question_defaults.back(), YesNoDefault::kYes);  // Yes keeps the work

  // Cancel (Esc, the box's close button): nothing is saved, the window stays open.
  f.ui.three_way_answers = {YesNoCancel::kCancel};
  EXPECT_FALSE(FormClose(*f.ed));
  EXPECT_EQ(f.ui.questions.back(), kSaveBeforeExitQuestion);
  EXPECT_TRUE(f.ed->state.ThemeModified);
  EXPECT_TRUE(f.ui.save_requests.empty());

  // Yes, but the save is refused (files missing): stays open.
  f.ui.yes_no_answers = {true};
  EXPECT_FALSE(FormClose(*f.ed));
  EXPECT_EQ(f.ui.OnlyMessage().text.rfind("Сохранение темы невозможно, пока не прикреплены все файлы!\r\n", 0), 0u);

  // Yes, and the save dialog is cancelled: stays open.
  f.Fill({10, 32, 5});
  f.ui.yes_no_answers = {true};
  f.ui.CancelSave();
  EXPECT_FALSE(FormClose(*f.ed));

  // Yes, and the target cannot be written: the error goes up, the theme stays modified.
  f.ui.yes_no_answers = {true};
  f.ui.AnswerSave(f.dir / "no such folder" / "t.ssf");
  EXPECT_THROW(FormClose(*f.ed), SsfError);
  EXPECT_TRUE(f.ed->state.ThemeModified);

  f.ui.yes_no_answers = {true};
  f.ui.AnswerSave(f.dir / "t.ssf");
  EXPECT_TRUE(FormClose(*f.ed));
  EXPECT_TRUE(std::filesystem::exists(f.dir / "t.ssf"));
}

}  // namespace
}  // namespace ssf::test
