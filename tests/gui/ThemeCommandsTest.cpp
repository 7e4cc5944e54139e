// Creating, opening, saving and closing themes through the window's menu.
#include <QAction>
#include <QFrame>
#include <QTest>

#include "GuiTestSupport.h"
#include "base/FileIO.h"
#include "editor/MainFormHandlers.h"

namespace ssf::test {
namespace {

// Fills every theme file slot as imports would, so the theme can be saved.
void FillAll(Editor& ed) {
  std::vector<TThemeNewFiles>& theme_files = ed.state.Theme->NewFiles;
  for (size_t k = 0; k < theme_files.size(); ++k) theme_files[k].f_file.assign(4 + k, uint8_t(k + 1));
  ed.state.Theme->CountCorrection = ed.state.Map.FilesCount - ed.state.Theme->HeldFiles();
  ed.state.ThemeModified = true;
}


TEST_F(MainFormTest, CreateWithOneMapGoesStraightToTheNewTheme) {
  AddMap("QB-X240.rxt");
  Form().show();
  Click("MM_Child_CreateTheme");
  EXPECT_TRUE(ui.map_lists.empty());
  EXPECT_EQ(Status(0), "NewTheme.ssf [QB-X240.rxt]");
  EXPECT_EQ(Status(1), "Создание новой темы.");
  EXPECT_EQ(Status(2), "0/40");
  EXPECT_TRUE(Control<QTabWidget>("PCtrl")->isEnabled());
  EXPECT_TRUE(MenuItem("MM_Child_SaveTheme")->isEnabled());
  EXPECT_TRUE(MenuItem("MM_Child_ImportRes")->isEnabled());
  EXPECT_EQ(Control<QLineEdit>("ED_ThemeAuthor")->text(), "Автор темы");
  EXPECT_EQ(Control<QLineEdit>("ED_ThemeName")->text(), "Название темы");
  EXPECT_EQ(Control<QLineEdit>("ED_ThemeVersion")->text(), "1.0");
  EXPECT_FALSE(Control<QFrame>("Pnl_ThemeIcon")->isHidden());
  auto* tv = Control<QTreeWidget>("TV");
  ASSERT_GT(tv->topLevelItemCount(), 0);
  EXPECT_EQ(tv->topLevelItem(0)->text(0), "Рабочий стол");
  EXPECT_EQ(tv->topLevelItem(0)->child(0)->text(0), "Обои");

  // Selecting a theme file shows the information panel, a group hides it.
  tv->setCurrentItem(tv->topLevelItem(0)->child(0));
  EXPECT_TRUE(Control<QFrame>("Pnl_ItemInfo")->isVisibleTo(form.get()));
  Control<QTabWidget>("PCtrl")->setCurrentIndex(1);
  EXPECT_FALSE(Control<QFrame>("Pnl_ItemInfo")->isVisibleTo(form.get()));
  Control<QTabWidget>("PCtrl")->setCurrentIndex(0);
  EXPECT_TRUE(Control<QFrame>("Pnl_ItemInfo")->isVisibleTo(form.get()));
  tv->setCurrentItem(tv->topLevelItem(0));
  EXPECT_FALSE(Control<QFrame>("Pnl_ItemInfo")->isVisibleTo(form.get()));
}

TEST_F(MainFormTest, CreateWithTwoMapsAsksTheChooserAndAColourThemeHidesTheType) {
  AddMap("QB-X240.rxt");
  AddMap("QB-C176.rxt");
  Form().show();
  ui.map_choices.push_back(0);
  Click("MM_Child_CreateTheme");
  ASSERT_EQ(ui.map_lists.size(), 1u);
  EXPECT_EQ(ui.map_lists[0], (std::vector<std::string>{"QB-C176", "QB-X240"}));
  EXPECT_EQ(Status(0), "NewTheme.ssf [QB-C176.rxt]");
  EXPECT_TRUE(Control<QComboBox>("CBox_ThemeType")->isHidden());
  EXPECT_TRUE(Control<QLabel>("lbl_4")->isHidden());
  EXPECT_TRUE(Control<QFrame>("Pnl_ThemeIcon")->isHidden());

  ui.map_choices.push_back(1);
  Click("MM_Child_CreateTheme");
  EXPECT_EQ(Status(0), "NewTheme.ssf [QB-X240.rxt]");
  EXPECT_FALSE(Control<QComboBox>("CBox_ThemeType")->isHidden());
}

TEST_F(MainFormTest, SaveOpenAndTheModifiedThemeQuestions) {
  AddMap("QB-C176.rxt");
  Form().show();
  Click("MM_Child_CreateTheme");
  // Saving before all files are there is refused.
  Click("MM_Child_SaveTheme");
  EXPECT_EQ(ui.OnlyMessage().text.rfind("Сохранение темы невозможно, пока не прикреплены все файлы!\r\n\r\nНе прикреплены:\r\n0: ", 0), 0u) << ui.OnlyMessage().text;
  ui.messages.clear();

  FillAll(*editor);
  Control<QTabWidget>("PCtrl")->setCurrentIndex(1);
  QTest::keyClicks(Control<QLineEdit>("ED_ThemeAuthor"), "!");
  ui.AnswerSave(Home() / "mine");
  Click("MM_Child_SaveTheme");
  EXPECT_EQ(Status(1), "Тема сохранена.");
  EXPECT_FALSE(editor->state.ThemeModified);
  const std::filesystem::path saved = Home() / "mine.ssf";
  ASSERT_TRUE(std::filesystem::exists(saved));

  // A change, then "Открыть тему": No keeps everything, Yes opens.
  QTest::keyClicks(Control<QLineEdit>("ED_ThemeName"), "?");
  EXPECT_TRUE(editor->state.ThemeModified);
  ui.yes_no_answers = {false};
  Click("MM_Child_OpenTheme");
  EXPECT_EQ(ui.questions.back(), kLoseChangesQuestion);
  EXPECT_TRUE(ui.open_requests.empty());
  EXPECT_EQ(Control<QLineEdit>("ED_ThemeName")->text(), "Название темы?");

  ui.yes_no_answers = {true};
  ui.AnswerOpen(saved);
  Click("MM_Child_OpenTheme");
  EXPECT_EQ(Status(0), "mine.ssf [QB-C176.rxt]");
  EXPECT_EQ(Status(1), "Тема загружена.");
  EXPECT_EQ(Status(2), "10/10");
  EXPECT_EQ(Control<QLineEdit>("ED_ThemeAuthor")->text(), "Автор темы!");
  EXPECT_EQ(Control<QLineEdit>("ED_ThemeName")->text(), "Название темы");
  EXPECT_FALSE(editor->state.ThemeModified);
  EXPECT_EQ(settings.ReadString("ThemePaths", "OpenTheme"), Home().string());
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MainFormTest, CloseAsksToSaveAndStaysOpenWhenTheSaveIsCancelled) {
  AddMap("QB-C176.rxt");
  Form().show();
  Click("MM_Child_CreateTheme");
  FillAll(*editor);
  ui.three_way_answers = {YesNoCancel::kCancel};
  Click("MM_Child_Exit");
  EXPECT_EQ(ui.questions.back(), kSaveBeforeExitQuestion);
  EXPECT_TRUE(form->isVisible());
  EXPECT_TRUE(ui.save_requests.empty());

  ui.yes_no_answers = {true};
  ui.CancelSave();
  Click("MM_Child_Exit");
  EXPECT_EQ(ui.questions.back(), kSaveBeforeExitQuestion);
  EXPECT_TRUE(form->isVisible());

  ui.yes_no_answers = {true};
  ui.AnswerSave(Home() / "exit.ssf");
  EXPECT_TRUE(form->close());
  EXPECT_TRUE(std::filesystem::exists(Home() / "exit.ssf"));
}

TEST_F(MainFormTest, CommandLineOpensAFileGivenAsTwoParameters) {
  AddMap("QB-C176.rxt");
  Form();
  Click("MM_Child_CreateTheme");
  FillAll(*editor);
  std::filesystem::create_directory(Home() / "My Themes");
  ui.AnswerSave(Home() / "My Themes" / "a.ssf");
  Click("MM_Child_SaveTheme");
  form.reset();
  editor.reset();

  Form().OpenStartupFile({(Home() / "My").string(), "Themes/a.ssf"});
  EXPECT_EQ(Status(0), "a.ssf [QB-C176.rxt]");
  EXPECT_EQ(Status(1), "Тема загружена.");
  EXPECT_TRUE(Control<QTabWidget>("PCtrl")->isEnabled());
}

}  // namespace
}  // namespace ssf::test
