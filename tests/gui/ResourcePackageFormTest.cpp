// Resource export and import through the window's menu "Дополнительно".
#include <QAction>
#include <QFrame>

#include "../core/ShapedThemeFiles.h"
#include "GuiTestSupport.h"

namespace ssf::test {
namespace {

TEST_F(MainFormTest, ResourceMenuItemsExportAndImportAndCollapseTheTree) {
  AddMap("QB-X240.rxt");
  Form().show();
  EXPECT_FALSE(MenuItem("MM_Child_ExportRes")->isEnabled());
  Click("MM_Child_CreateTheme");
  ASSERT_TRUE(MenuItem("MM_Child_ExportRes")->isEnabled());
  std::vector<TThemeNewFiles>& theme_files = editor->state.Theme->NewFiles;
  for (size_t k = 0; k < theme_files.size(); ++k) theme_files[k].f_file = DistinctFor(editor->state.Map.ThemeFiles[k], k);

  const std::filesystem::path res = Home() / "pkg.res";
  ui.AnswerSave(res);
  Click("MM_Child_ExportRes");
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_TRUE(std::filesystem::exists(Home() / "Resources" / "Рабочий стол" / "Обои.jpg"));

  for (auto& f : editor->state.Theme->NewFiles) f.f_file.clear();
  auto* tv = Control<QTreeWidget>("TV");
  QTreeWidgetItem* group = tv->topLevelItem(0);
  tv->setCurrentItem(group->child(0));
  ASSERT_TRUE(Control<QFrame>("Pnl_ItemInfo")->isVisibleTo(form.get()));
  tv->expandAll();

  ui.AnswerOpen(res);
  Click("MM_Child_ImportRes");
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(Status(2), "40/40");
  EXPECT_FALSE(Control<QFrame>("Pnl_ItemInfo")->isVisibleTo(form.get()));
  for (int i = 0; i < tv->topLevelItemCount(); ++i) EXPECT_FALSE(tv->topLevelItem(i)->isExpanded()) << i;
  EXPECT_EQ(tv->currentItem(), group);
  EXPECT_EQ(editor->state.Theme->NewFiles[0].f_file, DistinctFor(editor->state.Map.ThemeFiles[0], 0));
}

}  // namespace
}  // namespace ssf::test
