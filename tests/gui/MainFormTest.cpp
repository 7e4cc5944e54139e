// The main window itself: its controls and menu, layout, placement, header edits, the
// error report at the event boundary.
#include <QAction>
#include <QActionGroup>
#include <QClipboard>
#include <QDialog>
#include <QFrame>
#include <QMenu>
#include <QStatusBar>
#include <QTest>
#include <QTimer>


#include "GuiTestSupport.h"
#include "editor/MainFormHandlers.h"
#include "base/ByteIO.h"
#include "editor/WindowPlacement.h"

namespace ssf::test {
namespace {

// Types text key by key, as a keyboard with that layout would (QTest::keyClicks knows
// only Latin-1).
void Type(QWidget* w, const QString& text) {
  for (QChar c : text) QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

TEST_F(MainFormTest, StartsWithEveryControlAndMenuItemAsTheTableSays) {
  TMainForm& f = Form();
  EXPECT_EQ(f.windowTitle(), "Quillbay SSF Manager v2.0 Build 362");
  for (const char* name : {"SBar", "PCtrl", "TShit_1Files", "TShit_2Other", "TV", "lbl_1", "lbl_2", "lbl_3", "lbl_4",
                           "ED_ThemeAuthor", "ED_ThemeName", "ED_ThemeVersion", "CBox_ThemeType", "Pnl_ThemeIcon",
                           "IMG_ThemeIcon", "Pnl_ItemInfo", "MM", "PM"}) {
    EXPECT_NE(f.findChild<QObject*>(name), nullptr) << name;
  }
  auto* pctrl = Control<QTabWidget>("PCtrl");
  EXPECT_FALSE(pctrl->isEnabled());
  EXPECT_EQ(pctrl->currentIndex(), 0);
  EXPECT_EQ(pctrl->tabText(0), "Файлы");
  EXPECT_EQ(pctrl->tabText(1), "Другое");
  EXPECT_EQ(Control<QLabel>("lbl_1")->text(), "Автор темы:");
  EXPECT_EQ(Control<QLabel>("lbl_4")->text(), "Тип темы:");
  auto* type = Control<QComboBox>("CBox_ThemeType");
  EXPECT_EQ(type->itemText(0), "Черная тема");
  EXPECT_EQ(type->itemText(1), "Белая тема");
  EXPECT_EQ(type->currentIndex(), 0);
  EXPECT_EQ(Control<QLineEdit>("ED_ThemeVersion")->maxLength(), 5);

  struct Item {
    const char* name;
    const char* text;
    bool enabled;
  } items[] = {
      {"MM_Child_CreateTheme", "Создать тему", true},   {"MM_Child_OpenTheme", "Открыть тему", true},
      {"MM_Child_Save", "Сохранить", false},            {"MM_Child_SaveTheme", "Сохранить как…", false},
      {"MM_Child_RegEditSSF", "Ассоциировать с SSF", true},
      {"MM_Child_Exit", "Выход", true},                 {"MM_Child_ImportRes", "Импорт ресурсов", false},
      {"MM_Child_ExportRes", "Экспорт ресурсов", false}, {"MM_Child_FileListEditor", "Редактор файл-листа", true},
      {"MM_Child_ColorsCopy", "Копирование цветов", true}, {"MM_Child_AboutProgramm", "О программе", true},
      {"MM_Child_IfgLossy0", "Выключено", true},
  };
  for (const Item& item : items) {
    QAction* a = MenuItem(item.name);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->text().remove('&'), QString::fromUtf8(item.text)) << item.name;
    EXPECT_EQ(a->isEnabled(), item.enabled) << item.name;
  }
  EXPECT_TRUE(MenuItem("MM_Child_AboutProgramm")->isChecked());
  EXPECT_TRUE(MenuItem("MM_Child_IfgLossy0")->isChecked());  // lossy IFG imports are off by default
  // Drawn as a radio item: a checked action of an exclusive group.
  ASSERT_NE(MenuItem("MM_Child_AboutProgramm")->actionGroup(), nullptr);
  EXPECT_TRUE(MenuItem("MM_Child_AboutProgramm")->actionGroup()->isExclusive());
  QStringList menus;
  for (QAction* a : f.menuBar()->actions()) menus << a->text().remove('&');
  EXPECT_EQ(menus, (QStringList{"Файл", "Правка", "Дополнительно", "Помощь"}));
  QStringList pm;
  for (QAction* a : Control<QMenu>("PM")->actions()) pm << a->text().remove('&');
  EXPECT_EQ(pm, (QStringList{"Загрузить изображение", "Сохранить изображение", "Удалить иконку"}));
}

TEST_F(MainFormTest, ResizeLaysOutTheControlsAndRefusesSmallSizes) {
  TMainForm& f = Form();
  f.show();
  f.resize(900, 600);
  QApplication::processEvents();
  EXPECT_EQ(Control<QTabWidget>("PCtrl")->width(), 393);
  EXPECT_EQ(Control<QTreeWidget>("TV")->width(), 385);
  auto* info = Control<QFrame>("Pnl_ItemInfo");
  EXPECT_EQ(info->x(), 393);
  EXPECT_EQ(info->width(), 491);
  EXPECT_EQ(Control<QFrame>("Pnl_ThemeIcon")->x(), 336);
  EXPECT_EQ(Control<QLineEdit>("ED_ThemeAuthor")->width(), 311);
  EXPECT_EQ(Control<QLabel>("SBar_Panel0")->width(), 393);
  EXPECT_EQ(Control<QLabel>("SBar_Panel1")->width(), 432);

  f.resize(760, 560);
  QApplication::processEvents();
  EXPECT_EQ(Control<QTabWidget>("PCtrl")->width(), 272);
  EXPECT_EQ(info->x(), 272);

  f.resize(743, 600);
  EXPECT_EQ(f.width(), 744);
  f.resize(800, 531);
  EXPECT_EQ(f.height(), 532);
}

TEST_F(MainFormTest, PlacementIsRestoredOnFirstShowAndWrittenAtClose) {
  settings.WriteInteger("MainForm Sizes", "Left", 30);
  settings.WriteInteger("MainForm Sizes", "Top", 40);
  // A placement that lies on the test screen (800x600), so it comes back as stored.
  settings.WriteInteger("MainForm Sizes", "Width", 760);
  settings.WriteInteger("MainForm Sizes", "Height", 540);
  TMainForm& f = Form();
  f.show();
  QApplication::processEvents();
  EXPECT_EQ(f.pos(), QPoint(30, 40));
  EXPECT_EQ(f.frameGeometry().topLeft(), QPoint(30, 40));
  EXPECT_EQ(f.size(), QSize(760, 540));

  // Showing again does not put the window back.
  f.move(50, 60);
  f.resize(820, 640);
  f.hide();
  f.show();
  QApplication::processEvents();
  EXPECT_EQ(f.size(), QSize(820, 640));

  EXPECT_TRUE(f.close());
  IniDocument reread = IniDocument::Load(Home() / "settings.ini");
  WindowPlacement p = ReadWindowPlacement(reread);
  EXPECT_FALSE(p.maximized);
  EXPECT_EQ(p.left, 50);
  EXPECT_EQ(p.top, 60);
  EXPECT_EQ(p.width, 820);
  EXPECT_EQ(p.height, 640);
}

TEST_F(MainFormTest, FirstStartUsesTheDefaultPlacementAndAMaximizedCloseWritesOnlyMaximized) {
  TMainForm& f = Form();
  f.show();
  QApplication::processEvents();
  EXPECT_EQ(f.pos(), QPoint(0, 0));
  EXPECT_EQ(f.size(), QSize(769, 532));
  f.showMaximized();
  QApplication::processEvents();
  EXPECT_TRUE(f.close());
  IniDocument reread = IniDocument::Load(Home() / "settings.ini");
  EXPECT_EQ(reread.ReadString("MainForm Sizes", "Maximized"), "1");
  EXPECT_FALSE(reread.Find("MainForm Sizes", "Width").has_value());
}

// A theme-sized stream with the window in its "theme open" state, without a map.
class HeaderEditTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    Form();
    editor->state.Theme = Theme{};
    editor->state.Theme->Header.assign(0xFE0, 0);
    editor->view.PCtrl_enabled = true;
    editor->view.PCtrl_page = 1;
    form->Render();
    form->show();
  }
  Bytes Field(size_t offset, size_t size) {
    const Bytes& b = editor->state.Theme->Header;
    return Bytes(b.begin() + static_cast<long>(offset), b.begin() + static_cast<long>(offset + size));
  }
  static Bytes Padded(const std::string& text, size_t size) {
    Bytes b(text.begin(), text.end());
    b.resize(size, 0);
    return b;
  }
};

TEST_F(HeaderEditTest, TypingWritesTheFieldAndMarksTheThemeModified) {
  auto* author = Control<QLineEdit>("ED_ThemeAuthor");
  QTest::keyClicks(author, "abc");
  QTest::keyClick(author, Qt::Key_Backspace);
  EXPECT_EQ(author->text(), "ab");
  EXPECT_EQ(Field(32, 52), Padded("ab", 52));
  EXPECT_TRUE(editor->state.ThemeModified);
  EXPECT_EQ(Status(1), kHeaderChangedStatus);

  auto* name = Control<QLineEdit>("ED_ThemeName");
  Type(name, "Тема");
  EXPECT_EQ(Field(85, 52), Padded("Тема", 52));

  auto* version = Control<QLineEdit>("ED_ThemeVersion");
  QTest::keyClicks(version, "1.0.1");
  EXPECT_EQ(version->text(), "1.0.");
  EXPECT_EQ(Field(140, 5), Padded("1.0.", 5));
  EXPECT_EQ(Field(145, 3), Bytes(3, 0));
}

TEST_F(HeaderEditTest, AuthorIsCappedAt51BytesWithCyrillicTextTypedOrPasted) {
  auto* author = Control<QLineEdit>("ED_ThemeAuthor");
  Type(author, QString(25, QChar(0x0416)));  // 25 × "Ж": 50 bytes
  EXPECT_EQ(author->text().toUtf8().size(), 50);
  Type(author, "Ж");  // 2 more bytes would be 52
  EXPECT_EQ(author->text(), QString(25, QChar(0x0416)));
  QTest::keyClicks(author, "x");  // 51 bytes
  QTest::keyClicks(author, "y");
  EXPECT_EQ(author->text(), QString(25, QChar(0x0416)) + "x");
  EXPECT_EQ(author->cursorPosition(), 26);
  // Typing in the middle at the limit is refused as well, and the cursor does not move.
  author->setCursorPosition(3);
  QTest::keyClicks(author, "z");
  EXPECT_EQ(author->text(), QString(25, QChar(0x0416)) + "x");
  EXPECT_EQ(author->cursorPosition(), 3);
  EXPECT_EQ(Field(32, 52), Padded((QString(25, QChar(0x0416)) + "x").toStdString(), 52));

  // A paste keeps as much of its beginning as fits.
  author->clear();
  QApplication::clipboard()->setText(QString(40, QChar(0x0416)));
  author->paste();
  EXPECT_EQ(author->text(), QString(25, QChar(0x0416)));
  EXPECT_EQ(Field(32, 52), Padded(QString(25, QChar(0x0416)).toStdString(), 52));

  // A paste in the middle keeps what fits and leaves the cursor right after it.
  author->clear();
  Type(author, "abc");
  author->setCursorPosition(1);
  QApplication::clipboard()->setText(QString(60, 'q'));
  author->paste();
  EXPECT_EQ(author->text(), "a" + QString(48, 'q') + "bc");
  EXPECT_EQ(author->cursorPosition(), 49);
}

TEST_F(HeaderEditTest, ThemeTypeWritesOffset165AndMarksTheThemeModified) {
  auto* type = Control<QComboBox>("CBox_ThemeType");
  editor->state.ThemeModified = false;
  type->setCurrentIndex(1);
  emit type->activated(1);
  EXPECT_EQ(editor->state.Theme->Header[165], 1);
  EXPECT_TRUE(editor->state.ThemeModified);
}

TEST_F(MainFormTest, AnErrorOfAHandlerIsShownAndTheProgramGoesOn) {
  Form().OpenStartupFile({(Home() / "missing.ssf").string()});
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].kind, kMsgError);
  EXPECT_FALSE(ui.messages[0].text.empty());
  // The window still works.
  Click("MM_Child_CreateTheme");
  EXPECT_EQ(Status(0), "Ошибка #1#");
}

// "Сжатие с потерями" starts from settings.ini, off when it holds nothing, and a chosen
// level is written there at once.
TEST_F(MainFormTest, IfgLossyLevelIsAMenuChoiceKeptInTheSettings) {
  settings.WriteInteger("Import", "IfgLossy", 2);
  EXPECT_TRUE(MenuItem("MM_Child_IfgLossy2")->isChecked());
  EXPECT_FALSE(MenuItem("MM_Child_IfgLossy0")->isChecked());
  EXPECT_EQ(MenuItem("MM_Child_IfgLossy1")->text().remove('&'), "Уровень 1");
  Click("MM_Child_IfgLossy1");
  EXPECT_TRUE(MenuItem("MM_Child_IfgLossy1")->isChecked());
  EXPECT_FALSE(MenuItem("MM_Child_IfgLossy2")->isChecked());
  EXPECT_EQ(IniDocument::Load(settings.Path()).ReadInteger("Import", "IfgLossy", -1), 1);
  Click("MM_Child_IfgLossy0");
  EXPECT_EQ(IniDocument::Load(settings.Path()).ReadInteger("Import", "IfgLossy", -1), 0);
}

TEST_F(MainFormTest, ToolMenuItemsShowTheirWindowsModally) {
  QDialog file_list(&Form());
  QDialog colors(&Form());
  Form().SetToolWindows(&file_list, &colors);
  for (auto [item, dialog] : {std::pair{"MM_Child_FileListEditor", &file_list}, std::pair{"MM_Child_ColorsCopy", &colors}}) {
    bool shown_modal = false;
    QTimer::singleShot(0, dialog, [&shown_modal, d = dialog] {
      shown_modal = d->isVisible() && d->isModal();
      d->reject();
    });
    Click(item);
    EXPECT_TRUE(shown_modal) << item;
  }
}

}  // namespace
}  // namespace ssf::test

