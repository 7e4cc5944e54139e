#include "GuiTestSupport.h"

#include <QAction>

namespace ssf::test {

QApplication& App() { return *qobject_cast<QApplication*>(QCoreApplication::instance()); }

void MainFormTest::SetUp() {
  App();
  ASSERT_TRUE(home_.isValid());
  std::filesystem::create_directories(Home() / "ThemeMaps");
  settings = IniDocument::Load(Home() / "settings.ini");
}

void MainFormTest::TearDown() {
  if (form) {
    // Let the window go without questions about unsaved changes.
    editor->state.ThemeModified = false;
    form->close();
  }
  form.reset();
  editor.reset();
}

TMainForm& MainFormTest::Form() {
  if (!form) {
    editor = std::make_unique<Editor>(Editor{ui, settings, Home() / "ThemeMaps", {}, {}});
    form = std::make_unique<TMainForm>(*editor);
  }
  return *form;
}

void MainFormTest::AddMap(const std::string& file_name) {
  const std::filesystem::path source = std::filesystem::path(SSF_SOURCE_DIR) / "ThemeMaps" / file_name;
  std::filesystem::copy_file(source, Home() / "ThemeMaps" / file_name);
  // The map's screen layout goes with it, as it is installed with it.
  std::filesystem::path layout = source;
  layout.replace_extension(".screens");
  if (std::filesystem::exists(layout)) std::filesystem::copy_file(layout, Home() / "ThemeMaps" / layout.filename());
}

QAction* MainFormTest::MenuItem(const char* name) {
  QAction* a = Form().findChild<QAction*>(QString::fromUtf8(name));
  EXPECT_NE(a, nullptr) << name;
  return a;
}

void MainFormTest::Click(const char* menu_item) {
  QAction* a = MenuItem(menu_item);
  ASSERT_NE(a, nullptr);
  ASSERT_TRUE(a->isEnabled()) << menu_item << " is disabled";
  a->trigger();
}

QString MainFormTest::Status(int panel) {
  QLabel* l = Control<QLabel>(("SBar_Panel" + std::to_string(panel)).c_str());
  return l ? l->text() : QString();
}

}  // namespace ssf::test

// Under LeakSanitizer: fontconfig keeps its configuration for the life of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
