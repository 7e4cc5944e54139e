// The layout of the main menu as the user sees it: which item sits where, between which
// separators, and which items carry a check mark.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include "GuiTestSupport.h"

namespace ssf::test {
namespace {

// A menu's items in order, by object name: "-" a separator, "*" after a checkable item,
// a submenu's items in parentheses.
QString Layout(const QMenu* menu) {
  QStringList items;
  for (QAction* a : menu->actions()) {
    if (a->isSeparator()) {
      items << "-";
    } else if (a->menu() != nullptr) {
      items << a->menu()->objectName() + "(" + Layout(a->menu()) + ")";
    } else {
      items << a->objectName() + (a->isCheckable() ? "*" : "");
    }
  }
  return items.join(' ');
}

TEST_F(MainFormTest, MenusListTheirItemsInOrder) {
  QStringList menus;
  for (QAction* m : Form().menuBar()->actions()) menus << m->menu()->objectName() + ": " + Layout(m->menu());
  EXPECT_EQ(menus, (QStringList{
                       "MM_Main_File: MM_Child_CreateTheme MM_Child_OpenTheme MM_Child_Save MM_Child_SaveTheme MM_Child_SaveDraft MM_Child_PortTheme - "
                       "MM_Child_RecentThemes() - MM_Child_RegEditSSF* - MM_Child_Exit",
                       "MM_Main_Edit: MM_Child_Undo MM_Child_Redo",
                       "MM_Main_Extra: MM_Child_ImportRes MM_Child_ExportRes MM_Child_CheckTheme - "
                       "MM_Child_FileListEditor MM_Child_ColorsCopy - "
                       "MM_Child_IfgLossy(MM_Child_IfgLossy0* MM_Child_IfgLossy1* MM_Child_IfgLossy2*) - "
                       "MM_Child_FitPictures*",
                       "MM_Main_Help: MM_Child_AboutProgramm*",
                   }));
}

}  // namespace
}  // namespace ssf::test

namespace ssf::test {
namespace {

// The access key of a caption: the letter after its "&", lower case; empty for none.
QString AccessKey(const QString& text) {
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;
      continue;
    }
    return text.mid(i + 1, 1).toLower();
  }
  return {};
}

void ExpectDistinctKeys(const QList<QAction*>& actions, const QString& where) {
  QStringList keys;
  for (QAction* a : actions) {
    if (a->isSeparator() || a->text().isEmpty()) continue;
    const QString key = AccessKey(a->text());
    EXPECT_FALSE(key.isEmpty()) << where.toStdString() << ": " << a->text().toStdString();
    EXPECT_FALSE(keys.contains(key)) << where.toStdString() << ": " << a->text().toStdString();
    keys << key;
    if (a->menu()) ExpectDistinctKeys(a->menu()->actions(), a->text());
  }
}

TEST_F(MainFormTest, MenusAndButtonsHaveAccessKeysAndLossyCompressionNamesIfg) {
  TMainForm& f = Form();
  ExpectDistinctKeys(f.menuBar()->actions(), "MM");
  EXPECT_EQ(AccessKey(Control<QPushButton>("btn_LoadFile")->text()), "з");
  EXPECT_EQ(AccessKey(Control<QPushButton>("btn_SaveFile")->text()), "с");
  QMenu* lossy = Control<QMenu>("MM_Child_IfgLossy");
  EXPECT_EQ(lossy->title().remove('&'), "Сжатие с потерями (файлы IFG)");
  EXPECT_TRUE(lossy->menuAction()->statusTip().contains("IFG"));
  // The dialog-opening items of our own say so.
  for (const char* name : {"MM_Child_SaveTheme", "MM_Child_SaveDraft", "MM_Child_PortTheme"}) {
    EXPECT_TRUE(MenuItem(name)->text().endsWith("…")) << name;
  }
}

}  // namespace
}  // namespace ssf::test
