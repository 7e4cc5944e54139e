#pragma once
// The main window built for a test: a scripted Ui, a private program folder with the
// sample maps (or none), and helpers to reach controls by their names.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <filesystem>
#include <memory>

#include "../core/ScriptedUi.h"
#include "shell/MainForm.h"
#include "editor/Editor.h"
#include "base/IniDocument.h"

namespace ssf::test {

// The QApplication that GuiTestMain.cpp made for the whole test program.
QApplication& App();

class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Builds the window (once the folder and settings are as the test wants them).
  TMainForm& Form();
  // Copies a sample map (and its screen layout) from the source tree's ThemeMaps into the
  // program folder.
  void AddMap(const std::string& file_name);
  std::filesystem::path Home() const { return std::filesystem::path(home_.path().toStdString()); }

  QAction* MenuItem(const char* name);
  // Triggers a menu item as a click on it does.
  void Click(const char* menu_item);
  template <class T>
  T* Control(const char* name) {
    T* w = Form().findChild<T*>(QString::fromUtf8(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QString Status(int panel);

  ScriptedUi ui;
  IniDocument settings;
  std::unique_ptr<Editor> editor;
  std::unique_ptr<TMainForm> form;

 private:
  QTemporaryDir home_;
};

}  // namespace ssf::test
