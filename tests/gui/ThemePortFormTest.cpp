// "Файл" -> "Перенести на другую модель…": the dialog's table and OK, through the window.
#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include "../core/PortTestSupport.h"
#include "GuiTestSupport.h"
#include "editor/MainFormHandlers.h"
#include "shell/PortDialog.h"

namespace ssf::test {
namespace {

// The source box of table row k (the boxes of a table shown before are only deleted later).
QComboBox* SourceBox(QWidget* dialog, int k) {
  auto* box = qobject_cast<QComboBox*>(dialog->findChild<QTableWidget*>("TBL_PortFiles")->cellWidget(k, 1));
  EXPECT_NE(box, nullptr);
  if (box) {
    EXPECT_EQ(box->objectName(), QStringLiteral("CB_PortSource_%1").arg(k));
  }
  return box;
}

TEST_F(MainFormTest, PortCarriesTheOpenThemeToTheChosenModel) {
  for (const char* map : {"EXAMPLE-100.rxt", "QB-C176.rxt", "QB-X240.rxt"}) AddMap(map);
  Form().show();
  QAction* port = MenuItem("MM_Child_PortTheme");
  ASSERT_NE(port, nullptr);
  EXPECT_EQ(port->text().remove('&'), "Перенести на другую модель…");
  EXPECT_FALSE(port->isEnabled());  // no theme open

  ui.map_choices = {2};  // QB-X240
  Click("MM_Child_CreateTheme");
  ASSERT_TRUE(editor->state.Theme);
  EXPECT_TRUE(port->isEnabled());
  editor->state.Theme = SampleTheme("QB-X240").theme;
  editor->state.ThemeModified = true;

  bool shown = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<PortDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    shown = true;
    auto* model = dialog->findChild<QComboBox*>("CB_PortModel");
    auto* table = dialog->findChild<QTableWidget*>("TBL_PortFiles");
    ASSERT_TRUE(model && table);
    EXPECT_EQ(model->currentText(), "EXAMPLE-100");
    EXPECT_EQ(table->rowCount(), 3);
    model->setCurrentIndex(model->findText("QB-C176"));
    ASSERT_EQ(table->rowCount(), 10);
    EXPECT_EQ(table->item(2, 0)->text(), "2 Пиктограммы/Сообщения (IFG 32x32)");
    EXPECT_EQ(SourceBox(dialog, 2)->currentText(), "7 Главное меню/Пиктограммы/Сообщения (ANI2 44x44)");
    EXPECT_EQ(SourceBox(dialog, 2)->count(), 41);  // "(нет)" and every source file
    EXPECT_EQ(table->item(2, 2)->text(), "ANI2 44x44 → IFG 32x32, обрезать по краям");
    EXPECT_EQ(SourceBox(dialog, 8)->currentText(), "(нет)");

    SourceBox(dialog, 0)->setCurrentIndex(0);
    EXPECT_EQ(table->item(0, 2)->text(), "не заполнен: нет файла-источника");
    dialog->findChild<QComboBox*>("CB_PortFit")->setCurrentIndex(1);
    EXPECT_EQ(table->item(2, 2)->text(), "ANI2 44x44 → IFG 32x32, вписать с полями");
    dialog->findChild<QDialogButtonBox*>("PortButtons")->button(QDialogButtonBox::Ok)->click();
  });
  ui.yes_no_answers = {true};
  Click("MM_Child_PortTheme");
  ASSERT_TRUE(shown);
  EXPECT_EQ(ui.questions, std::vector<std::string>{kLoseChangesQuestion});

  EXPECT_EQ(editor->state.Map.SignMobile, "QB-C176");
  EXPECT_TRUE(editor->state.ThemeModified);
  EXPECT_EQ(Status(0), "NewTheme.ssf [QB-C176.rxt]");
  EXPECT_EQ(Status(1), "Тема перенесена на модель QB-C176.");
  EXPECT_EQ(Status(2), "7/10");
  EXPECT_FALSE(editor->state.Theme->NewFiles[0].Present());
  EXPECT_TRUE(editor->state.Theme->NewFiles[1].Present());
  auto* tv = Control<QTreeWidget>("TV");
  ASSERT_EQ(tv->topLevelItemCount(), 5);
  EXPECT_EQ(tv->topLevelItem(1)->text(0), "Пиктограммы");
  EXPECT_EQ(Control<QLineEdit>("ED_ThemeAuthor")->text(), "Автор образца");
  EXPECT_TRUE(MenuItem("MM_Child_SaveTheme")->isEnabled());
}

TEST_F(MainFormTest, PortCancelledLeavesTheThemeAsItWas) {
  AddMap("QB-X240.rxt");
  AddMap("QB-C176.rxt");
  Form().show();
  ui.map_choices = {1};
  Click("MM_Child_CreateTheme");
  ASSERT_EQ(editor->state.Map.SignMobile, "QB-X240");
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<PortDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->reject();
  });
  Click("MM_Child_PortTheme");
  EXPECT_EQ(editor->state.Map.SignMobile, "QB-X240");
  EXPECT_EQ(Status(2), "0/40");
}

}  // namespace
}  // namespace ssf
