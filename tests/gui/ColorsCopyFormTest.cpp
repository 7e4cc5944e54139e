// The colour copy window through its real widgets, with a scripted Ui for the dialogs.
#include <gtest/gtest.h>

#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include "../core/SchemeWorkbooks.h"
#include "../core/ScriptedUi.h"
#include "base/FileIO.h"
#include "tools/forms/ColorsCopyForm.h"

namespace ssf::test {
namespace {

class ColorsCopyFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tmp.isValid());
    SheetSpec sheet;
    sheet.rows = {{"", "GT-A", "GT-B"}, {"Фон", "entry 0", "entry 1"}, {"Текст", "entry 1", "entry 0"}};
    WriteWorkbook(scheme, sheet, BookFormat::kXls);
    WriteFileAtomic(first, Bytes{1, 2, 3, 4});
    WriteFileAtomic(second, Bytes{5, 6, 7, 8});
  }
  template <typename T>
  T* Find(const char* name) {
    T* w = form.findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QString Text(const char* label) { return Find<QLabel>(label)->text(); }
  void Click(const char* button) {
    QPushButton* b = Find<QPushButton>(button);
    ASSERT_TRUE(b->isEnabled()) << button;
    b->click();
  }
  QStringList Log() {
    QStringList lines;
    auto* list = Find<QListWidget>("LBox_Log");
    for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
    return lines;
  }

  QTemporaryDir tmp;
  std::filesystem::path dir{tmp.path().toStdString()};
  std::filesystem::path scheme = dir / "scheme.xls";
  std::filesystem::path first = dir / "first.tab";
  std::filesystem::path second = dir / "second.tab";
  ScriptedUi ui;
  IniDocument settings = IniDocument::Load(dir / "settings.ini");
  TForm_ColorsCopy form{nullptr, ui, settings};
};

TEST_F(ColorsCopyFormTest, ChooseFilesAndSchemeThenCopyBothWays) {
  form.show();
  EXPECT_EQ(form.windowTitle(), "Копирование цветов");
  EXPECT_EQ(Text("lbl_1"), "Схема идентификации цветов:");
  EXPECT_EQ(Text("lbl_2"), "Первый файл цветов:");
  EXPECT_EQ(Text("lbl_3"), "Второй файл цветов:");
  for (const char* panel : {"pnl_ColorScheme", "pnl_FirstFile", "pnl_SecondFile"}) Find<QFrame>(panel);
  for (const char* b : {"btn_OpenColorScheme", "btn_OpenFirstFile", "btn_OpenSecondFile"}) {
    EXPECT_EQ(Find<QPushButton>(b)->text(), "Обзор");
  }
  EXPECT_EQ(Find<QPushButton>("btn_exit")->text(), "Закрыть");
  auto* to_second = Find<QPushButton>("btn_CopyFromFirstToSecond");
  auto* to_first = Find<QPushButton>("btn_CopyFromSecondToFirst");
  EXPECT_FALSE(to_second->isEnabled());
  EXPECT_FALSE(to_first->isEnabled());

  ui.AnswerSave(first);
  Click("btn_OpenFirstFile");
  ui.AnswerSave(second);
  Click("btn_OpenSecondFile");
  EXPECT_EQ(Text("lbl_FirstFileFName"), "first.tab");
  EXPECT_EQ(Find<QLabel>("lbl_SecondFileFName")->toolTip().toStdString(), second.string());
  EXPECT_FALSE(to_second->isEnabled());

  ui.AnswerOpen(scheme);
  Click("btn_OpenColorScheme");
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(Text("lbl_ColorSchemeFName"), "scheme.xls");
  EXPECT_EQ(Find<QLabel>("lbl_ColorSchemeFName")->toolTip().toStdString(), scheme.string());
  EXPECT_EQ(to_second->text(), "GT-A->GT-B");
  EXPECT_EQ(to_first->text(), "GT-B->GT-A");
  EXPECT_TRUE(to_second->isEnabled());
  EXPECT_TRUE(to_first->isEnabled());
  ASSERT_EQ(ui.open_requests.size(), 1u);
  EXPECT_EQ(ui.open_requests[0].filter.rfind("Файл схемы цветов (*.xls)|*.xls|", 0), 0u);
  EXPECT_FALSE(ui.save_requests.at(0).ask_overwrite);

  Click("btn_CopyFromFirstToSecond");
  EXPECT_EQ(Log(), (QStringList{"`Фон` успешно скопирован.", "`Текст` успешно скопирован.", "",
                                "Копирование `GT-A->GT-B` завершено.", "Успешно: 2", "Ошибок: 0"}));
  EXPECT_EQ(ReadWholeFile(second), (Bytes{3, 4, 1, 2}));
  EXPECT_EQ(ReadWholeFile(first), (Bytes{1, 2, 3, 4}));

  WriteFileAtomic(second, Bytes{9, 8, 7, 6});  // changes between copies are seen
  Click("btn_CopyFromSecondToFirst");
  EXPECT_EQ(Log().at(3), "Копирование `GT-B->GT-A` завершено.");
  EXPECT_EQ(ReadWholeFile(first), (Bytes{7, 6, 9, 8}));
  EXPECT_EQ(settings.ReadString("CopyColors", "ColorSchemePath"), dir.string());
  EXPECT_TRUE(ui.messages.empty());

  // "Закрыть" drops the scheme; showing again starts with empty labels and disabled buttons.
  Click("btn_exit");
  EXPECT_FALSE(form.isVisible());
  EXPECT_FALSE(form.Tool().HasScheme());
  form.show();
  EXPECT_EQ(Text("lbl_ColorSchemeFName"), "");
  EXPECT_EQ(Text("lbl_FirstFileFName"), "");
  EXPECT_EQ(to_second->text(), "");
  EXPECT_FALSE(to_second->isEnabled());
  EXPECT_TRUE(Log().isEmpty());
  EXPECT_EQ(Find<QLabel>("lbl_FirstFileFName")->toolTip().toStdString(), first.string());
  form.close();
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ColorsCopyFormTest, SchemeErrorsGoToTheLogOrTheErrorReport) {
  form.show();
  SheetSpec wrong;
  wrong.name = "Лист1";
  wrong.rows = {{"", "GT-A", "GT-B"}};
  WriteWorkbook(dir / "wrong.xls", wrong, BookFormat::kXls);
  ui.AnswerOpen(dir / "wrong.xls");
  Click("btn_OpenColorScheme");
  EXPECT_EQ(Log(), QStringList{"Ошибка! Некорректная схема цветов! Некорректное название листа."});
  EXPECT_EQ(Text("lbl_ColorSchemeFName"), "");
  EXPECT_TRUE(ui.messages.empty());

  WriteFileAtomic(dir / "damaged.xls", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1 cut short", 19));
  ui.AnswerOpen(dir / "damaged.xls");
  Click("btn_OpenColorScheme");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].kind, kMsgError);
  EXPECT_NE(ui.messages[0].text.find("damaged.xls"), std::string::npos) << ui.messages[0].text;
  EXPECT_TRUE(Log().isEmpty()) << "the log is cleared before the workbook is read";
  form.close();
}

}  // namespace
}  // namespace ssf::test
