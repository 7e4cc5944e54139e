// Where the user stands: the check counted once in the status bar, and a damaged file's
// problem in the panel instead of a message box, so the arrow keys browse the tree.
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QTreeWidgetItemIterator>

#include "GuiTestSupport.h"

namespace ssf::test {
namespace {

TEST_F(MainFormTest, ProblemsAreCountedInTheStatusBarAndShownInThePanelWithoutABox) {
  AddMap("QB-X240.rxt");
  Form().show();
  auto* summary = Control<QLabel>("SBar_Check");
  EXPECT_TRUE(summary->isHidden());  // no theme
  Click("MM_Child_CreateTheme");
  EXPECT_FALSE(summary->isHidden());
  EXPECT_TRUE(summary->text().startsWith("Ошибок: ")) << summary->text().toStdString();
  EXPECT_TRUE(summary->text().contains("Проверить тему"));

  // Every file holds bytes its decoder refuses.
  for (auto& slot : editor->state.Theme->NewFiles) slot.f_file.assign(10, 1);
  editor->state.Theme->RecountStoredFiles();
  form->Render();
  auto* tv = Control<QTreeWidget>("TV");
  tv->expandAll();
  tv->setFocus();
  const int first = editor->state.Map.Tree.FileNode(0);
  for (QTreeWidgetItemIterator it(tv); *it; ++it) {
    if ((*it)->data(0, Qt::UserRole).toInt() == first) tv->setCurrentItem(*it);
  }
  auto* problem = Control<QLabel>("lbl_FileProblem");
  EXPECT_FALSE(problem->isHidden());
  const QString first_problem = problem->text();
  EXPECT_FALSE(first_problem.isEmpty());
  for (int i = 0; i < 5; ++i) QTest::keyClick(tv, Qt::Key_Down);
  EXPECT_NE(tv->currentItem()->data(0, Qt::UserRole).toInt(), first);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_FALSE(problem->isHidden());

  // The link opens the check's report.
  bool shown = false;
  QTimer::singleShot(0, [&] {
    QWidget* w = QApplication::activeModalWidget();
    if (w == nullptr) w = form->findChild<QWidget*>("Form_ThemeCheck");
    shown = w != nullptr && w->isVisible();
    if (w) w->close();
  });
  emit summary->linkActivated("check");
  QTest::qWait(50);
  EXPECT_TRUE(shown);
}

}  // namespace
}  // namespace ssf::test
