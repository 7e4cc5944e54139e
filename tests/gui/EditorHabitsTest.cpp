// The desktop habits of the main window: shortcuts, "Правка" with undo and redo, recent
// themes, a theme dropped on the window, the fit dialog, the window's icon and class.
#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QTreeWidgetItemIterator>
#include <QUrl>
#include <fstream>

#include "GuiTestSupport.h"
#include "base/FileIO.h"
#include "editor/MainFormHandlers.h"
#include "editor/FitPicturesOption.h"
#include "theme/PictureFit.h"
#include "theme/ThemeContainer.h"
#include "editor/RecentThemes.h"
#include "editor/ThemeFileImport.h"
#include "pictures/Bmp.h"
#include "pictures/RawImage.h"
#include "shell/Application.h"
#include "shell/EditorHabits.h"
#include "shell/FitDialog.h"

namespace ssf::test {
namespace {

namespace fs = std::filesystem;

void OnNextDialog(std::function<void(QWidget*)> action) {
  QTimer::singleShot(0, [action] {
    QWidget* w = QApplication::activeModalWidget();
    ASSERT_NE(w, nullptr);
    action(w);
  });
}

// With SSF_SHOT_DIR set (a run under Xvfb), saves what the screen shows.
void Screenshot(const char* name) {
  const QByteArray dir = qgetenv("SSF_SHOT_DIR");
  if (dir.isEmpty() || QGuiApplication::primaryScreen() == nullptr) return;
  QTest::qWait(200);
  QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromUtf8(dir) + "/" + name + ".png");
}

struct EditorHabitsTest : MainFormTest {
  void CreateTheme() {
    AddMap("QB-X240.rxt");
    Form().show();
    Click("MM_Child_CreateTheme");
  }
  void SelectFile(int k) {
    auto* tv = Control<QTreeWidget>("TV");
    const int flat = editor->state.Map.Tree.FileNode(k);
    for (QTreeWidgetItemIterator it(tv); *it; ++it) {
      if ((*it)->data(0, Qt::UserRole).toInt() == flat) tv->setCurrentItem(*it);
    }
  }
  static QMimeData* Urls(const fs::path& file) {
    auto* mime = new QMimeData;
    mime->setUrls({QUrl::fromLocalFile(QString::fromStdString(file.string()))});
    return mime;
  }
  // Drags the file over `target` and drops it on the window that took the drag.
  bool DropOn(QWidget* target, const fs::path& file) {
    std::unique_ptr<QMimeData> mime(Urls(file));
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return true;
  }
  // A complete theme file of the sample map, its theme files filled with made-up bytes.
  fs::path SavedTheme(const std::string& name) {
    ScriptedUi quiet;
    IniDocument none;
    Editor ed{quiet, none, Home() / "ThemeMaps", {}, {}};
    ListThemeMaps(ed);
    lk_CreateNewTheme(ed, 0);
    for (auto& slot : ed.state.Theme->NewFiles) slot.f_file.assign(4, 1);
    ed.state.Theme->CountCorrection = ed.state.Map.FilesCount - ed.state.Theme->HeldFiles();
    EXPECT_TRUE(SaveThemeAs(ed, Home() / name));
    return Home() / name;
  }
};

TEST_F(EditorHabitsTest, MenusShowTheShortcutsAndTheEditMenu) {
  TMainForm& f = Form();
  const struct {
    const char* action;
    QKeySequence keys;
  } shortcuts[] = {
      {"MM_Child_CreateTheme", QKeySequence("Ctrl+N")}, {"MM_Child_OpenTheme", QKeySequence("Ctrl+O")},
      {"MM_Child_Save", QKeySequence("Ctrl+S")},        {"MM_Child_SaveTheme", QKeySequence("Ctrl+Shift+S")},
      {"MM_Child_Exit", QKeySequence("Ctrl+Q")},
      {"MM_Child_AboutProgramm", QKeySequence("F1")},   {"MM_Child_Undo", QKeySequence("Ctrl+Z")},
  };
  for (const auto& s : shortcuts) EXPECT_EQ(MenuItem(s.action)->shortcut(), s.keys) << s.action;
  EXPECT_EQ(MenuItem("MM_Child_Redo")->shortcuts(),
            (QList<QKeySequence>{QKeySequence("Ctrl+Shift+Z"), QKeySequence("Ctrl+Y")}));
  QStringList menus;
  for (QAction* a : f.menuBar()->actions()) menus << a->text().remove('&');
  EXPECT_EQ(menus, (QStringList{"Файл", "Правка", "Дополнительно", "Помощь"}));
  EXPECT_EQ(MenuItem("MM_Child_Undo")->text().remove('&'), "Отменить");
  EXPECT_EQ(MenuItem("MM_Child_Redo")->text().remove('&'), "Повторить");
  EXPECT_FALSE(MenuItem("MM_Child_Undo")->isEnabled());
  EXPECT_FALSE(f.windowIcon().isNull());
}

TEST_F(EditorHabitsTest, KeysCreateUndoAndRedo) {
  AddMap("QB-X240.rxt");
  TMainForm& f = Form();
  f.show();
  f.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
  QTest::keyClick(&f, Qt::Key_N, Qt::ControlModifier);
  ASSERT_TRUE(editor->state.MapValid);
  EXPECT_EQ(Status(2), "0/40");

  SelectFile(6);  // RAW 240x320
  WriteFileAtomic(Home() / "p.bmp", EncodeBmp(Image(240, 320)));
  ASSERT_TRUE(DropOn(Control<QWidget>("Pnl_ItemInfo"), Home() / "p.bmp"));
  EXPECT_EQ(Status(2), "1/40");
  EXPECT_TRUE(MenuItem("MM_Child_Undo")->isEnabled());

  QTest::keyClick(&f, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Status(2), "0/40");
  EXPECT_TRUE(editor->state.Theme->NewFiles[6].f_file.empty());
  EXPECT_FALSE(editor->state.ThemeModified);
  EXPECT_FALSE(MenuItem("MM_Child_Undo")->isEnabled());
  EXPECT_TRUE(MenuItem("MM_Child_Redo")->isEnabled());
  QTest::keyClick(&f, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(Status(2), "1/40");
  EXPECT_TRUE(editor->state.ThemeModified);
}

TEST_F(EditorHabitsTest, CtrlSWritesTheOpenThemeBackAndCtrlShiftSAsksBesideIt) {
  AddMap("QB-X240.rxt");
  const fs::path theme = SavedTheme("full.ssf");
  TMainForm& f = Form();
  f.show();
  f.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
  f.RunHandler([&] { OpenThemePath(*editor, theme); });
  f.RunHandler([&] { ED_ThemeAuthorKeyPress(*editor, kNameField, "Осень"); });
  EXPECT_EQ(f.windowTitle(), "full.ssf* — " + MainFormCaption());
  QTest::keyClick(&f, Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(f.windowTitle(), "full.ssf — " + MainFormCaption());
  EXPECT_TRUE(ui.save_requests.empty());
  EXPECT_FALSE(editor->state.ThemeModified);
  EXPECT_EQ(ReadTextField(ReadWholeFile(theme), 85, 52), "Осень");

  ui.CancelSave();
  QTest::keyClick(&f, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_EQ(ui.save_requests.size(), 1u);
  EXPECT_EQ(ui.save_requests[0].initial_dir, Home());
  EXPECT_EQ(ui.save_requests[0].file_name, "full.ssf");
}

TEST_F(EditorHabitsTest, RecentThemesOpenAndDropThemesThatAreGone) {
  AddMap("QB-X240.rxt");
  const fs::path kept = SavedTheme("kept.ssf");
  const fs::path gone = Home() / "gone.ssf";
  RememberRecentTheme(settings, gone);
  RememberRecentTheme(settings, kept);
  Form().show();
  auto* habits = Form().findChild<EditorHabits*>("EditorHabits");
  ASSERT_NE(habits, nullptr);
  habits->FillRecentMenu();
  EXPECT_EQ(MenuItem("MM_Child_Recent1")->text(), "&1 " + QString::fromStdString(kept.string()));

  Click("MM_Child_Recent2");
  EXPECT_EQ(ui.OnlyMessage().text, kThemeGoneMessage + gone.string());
  EXPECT_EQ(ReadRecentThemes(settings), (std::vector<fs::path>{kept}));

  Click("MM_Child_Recent1");
  EXPECT_TRUE(editor->view.MM_Child_SaveTheme_enabled);
  EXPECT_EQ(Status(1), "Тема загружена.");

  // At most eight, newest first, each once.
  for (int i = 0; i < 10; ++i) RememberRecentTheme(settings, Home() / ("t" + std::to_string(i) + ".ssf"));
  RememberRecentTheme(settings, Home() / "t5.ssf");
  const std::vector<fs::path> list = ReadRecentThemes(settings);
  ASSERT_EQ(list.size(), 8u);
  EXPECT_EQ(list[0], Home() / "t5.ssf");
  EXPECT_EQ(list[1], Home() / "t9.ssf");
  EXPECT_EQ(std::count(list.begin(), list.end(), Home() / "t5.ssf"), 1);
}

TEST_F(EditorHabitsTest, AThemeDroppedAnywhereOpensAfterTheQuestion) {
  CreateTheme();
  const fs::path theme = SavedTheme("d.ssf");
  editor->state.ThemeModified = true;
  ui.yes_no_answers = {false};
  // Dragged over the panel, which takes pictures only: the window takes it.
  ASSERT_TRUE(DropOn(Control<QWidget>("Pnl_ItemInfo"), theme));
  EXPECT_EQ(ui.questions, (std::vector<std::string>{kLoseChangesQuestion}));
  EXPECT_NE(Status(1), "Тема загружена.");

  ui.yes_no_answers = {true};
  ASSERT_TRUE(DropOn(Control<QWidget>("TV"), theme));
  EXPECT_EQ(Status(1), "Тема загружена.");
  EXPECT_FALSE(editor->state.ThemeModified);

  // Anything else dropped on the window is not taken.
  WriteFileAtomic(Home() / "p.txt", Bytes{1});
  EXPECT_FALSE(DropOn(&Form(), Home() / "p.txt"));
}

TEST_F(EditorHabitsTest, FitItemAsksWithTheDialogAndCancelImportsNothing) {
  CreateTheme();
  QAction* fit = MenuItem("MM_Child_FitPictures");
  EXPECT_EQ(fit->text().remove('&'), "Подгонять размер изображений");
  EXPECT_FALSE(fit->isChecked());
  SelectFile(6);  // RAW 240x320
  Image wide(480, 200);
  for (uint32_t x = 0; x < 480; ++x) {
    for (uint32_t y = 0; y < 200; ++y) {
      uint8_t* p = wide.Pixel(x, y);
      p[0] = static_cast<uint8_t>(x / 2);
      p[1] = static_cast<uint8_t>(y);
      p[2] = static_cast<uint8_t>(255 - x / 2);
    }
  }
  WriteFileAtomic(Home() / "wide.bmp", EncodeBmp(wide));

  // Off: refused as always.
  DropOn(Control<QWidget>("Pnl_ItemInfo"), Home() / "wide.bmp");
  EXPECT_EQ(ui.OnlyMessage().text, PictureSizeMessage(480, 200, 240, 320));
  ui.messages.clear();

  fit->trigger();
  EXPECT_TRUE(FitPicturesOn(IniDocument::Load(Home() / "settings.ini")));

  OnNextDialog([](QWidget* w) {
    auto* dialog = qobject_cast<FitDialog*>(w);
    ASSERT_NE(dialog, nullptr);
    dialog->findChild<QDialogButtonBox*>("FitButtons")->button(QDialogButtonBox::Cancel)->click();
  });
  DropOn(Control<QWidget>("Pnl_ItemInfo"), Home() / "wide.bmp");
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_TRUE(editor->state.Theme->NewFiles[6].f_file.empty());

  OnNextDialog([](QWidget* w) {
    auto* dialog = qobject_cast<FitDialog*>(w);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->dither->isEnabled());  // RAW is 16-bit
    EXPECT_FALSE(dialog->previews[1]->pixmap().isNull());
    EXPECT_TRUE(dialog->findChild<QLabel*>("lbl_FitText")->text().contains("«wide.bmp»"));
    // A click on a picture picks its way.
    QTest::mouseClick(dialog->previews[2], Qt::LeftButton);
    EXPECT_TRUE(dialog->findChild<QRadioButton*>("Fit_stretch")->isChecked());
    QTest::mouseClick(dialog->previews[1], Qt::LeftButton);
    EXPECT_TRUE(dialog->findChild<QRadioButton*>("Fit_pad")->isChecked());
    dialog->dither->setChecked(true);
    Screenshot("fit-dialog");
    dialog->findChild<QDialogButtonBox*>("FitButtons")->button(QDialogButtonBox::Ok)->click();
  });
  DropOn(Control<QWidget>("Pnl_ItemInfo"), Home() / "wide.bmp");
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(editor->state.Theme->NewFiles[6].f_file,
            ImageToRaw(FitForThemeFile(wide, 240, 320, "RAW", FitChoice{FitMode::kPad, true})));
  Screenshot("fitted-window");
}

TEST_F(EditorHabitsTest, TheDesktopEntryNamesTheWindowClass) {
  std::ifstream entry(fs::path(SSF_SOURCE_DIR) / "data/desktop/quillbay-ssf-manager.desktop");
  std::string line, wm_class;
  while (std::getline(entry, line)) {
    if (line.rfind("StartupWMClass=", 0) == 0) wm_class = line.substr(15);
  }
  // Qt names the X11 window class after the application.
  EXPECT_EQ(wm_class, kApplicationName);
}

}  // namespace
}  // namespace ssf::test

namespace ssf::test {
namespace {

TEST_F(EditorHabitsTest, TheEmptyWindowWelcomesAndAnOpenedThemeShowsItsFirstFile) {
  AddMap("QB-X240.rxt");
  const fs::path theme = SavedTheme("kept.ssf");
  RememberRecentTheme(settings, theme);
  TMainForm& f = Form();
  f.show();
  auto* welcome = Control<QWidget>("Pnl_Welcome");
  ASSERT_TRUE(welcome->isVisible());
  EXPECT_EQ(Control<QPushButton>("btn_WelcomeCreate")->text().remove('&'), "Создать тему");
  EXPECT_EQ(Control<QPushButton>("btn_WelcomeOpen")->text().remove('&'), "Открыть тему");
  auto* recent = Control<QPushButton>("btn_WelcomeRecent1");
  EXPECT_TRUE(recent->text().endsWith("kept.ssf"));
  EXPECT_EQ(recent->toolTip().toStdString(), theme.string());

  // "Открыть тему" asks for a file as the menu item does.
  ui.CancelOpen();
  QTest::mouseClick(Control<QPushButton>("btn_WelcomeOpen"), Qt::LeftButton);
  EXPECT_EQ(ui.open_requests.size(), 1u);

  // A recent theme opens with one click: the welcome gives way to the tree, its top level
  // expanded, and the first file selected with its panel.
  QTest::mouseClick(recent, Qt::LeftButton);
  ASSERT_TRUE(editor->state.Theme.has_value());
  EXPECT_FALSE(welcome->isVisible());
  auto* tv = Control<QTreeWidget>("TV");
  for (int i = 0; i < tv->topLevelItemCount(); ++i) {
    QTreeWidgetItem* top = tv->topLevelItem(i);
    if (top->childCount() == 0) continue;
    EXPECT_TRUE(top->isExpanded()) << i;
    for (int c = 0; c < top->childCount(); ++c) EXPECT_FALSE(top->child(c)->isExpanded()) << i << "/" << c;
  }
  const int first = editor->state.Map.Tree.FileNode(0);
  ASSERT_NE(tv->currentItem(), nullptr);
  EXPECT_EQ(tv->currentItem()->data(0, Qt::UserRole).toInt(), first);
  EXPECT_TRUE(Control<QWidget>("Pnl_ItemInfo")->isVisible());
}

}  // namespace
}  // namespace ssf::test
