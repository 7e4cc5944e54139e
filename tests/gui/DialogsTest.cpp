// The map chooser, the About dialog, the real Ui's message boxes and its filter strings.
#include <QAbstractButton>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTextEdit>
#include <QTest>
#include <QTimer>
#include <functional>

#include "GuiTestSupport.h"
#include "shell/AboutDialog.h"
#include "shell/Application.h"
#include "shell/FileFilter.h"
#include "shell/MapChooserDialog.h"
#include "shell/QtUi.h"

namespace ssf::test {
namespace {

// Runs `action` on the next modal dialog once it is up.
void OnNextDialog(std::function<void(QWidget*)> action) {
  QTimer::singleShot(0, [action] {
    QWidget* w = QApplication::activeModalWidget();
    ASSERT_NE(w, nullptr);
    action(w);
  });
}

TEST(MapChooser, StartsOnTheFirstModelAndAnyCloseAnswersTheSelectedOne) {
  App();
  TForm_ChooseRXT chooser;
  EXPECT_EQ(chooser.windowTitle(), "Карты тем");
  EXPECT_FALSE(chooser.windowFlags() & Qt::WindowCloseButtonHint);
  auto* label = chooser.findChild<QLabel*>("lbl_1");
  ASSERT_NE(label, nullptr);
  EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width());  // "...темы:" not cut
  EXPECT_LE(label->geometry().right(), chooser.width());
  OnNextDialog([&](QWidget*) {
    EXPECT_EQ(chooser.MapsList()->currentIndex(), 0);
    chooser.MapsList()->setCurrentIndex(1);
    chooser.findChild<QPushButton*>("btn_OK")->click();
  });
  EXPECT_EQ(chooser.Choose({"QB-C176", "QB-X240"}), 1);

  OnNextDialog([&](QWidget* w) {
    chooser.MapsList()->setCurrentIndex(2);
    w->close();  // the window system's close command
  });
  EXPECT_EQ(chooser.Choose({"A", "B", "C"}), 2);

  OnNextDialog([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
  EXPECT_EQ(chooser.Choose({"A", "B"}), 0);
}

TEST(AboutDialog, ShowsItsReadOnlyTextAndClosesWithItsButton) {
  App();
  TForm_AboutProgramm about;
  EXPECT_EQ(about.windowTitle(), "О программе");
  auto* memo = about.findChild<QTextEdit*>("Memo_AboutProgrammText");
  ASSERT_NE(memo, nullptr);
  EXPECT_TRUE(memo->isReadOnly());
  EXPECT_EQ(memo->focusPolicy(), Qt::NoFocus);
  EXPECT_TRUE(memo->toPlainText().startsWith("О Программе\n============\nQuillbay SSF Manager\nВерсия: 2.0 от 01.09.2012"));
  EXPECT_TRUE(memo->toPlainText().contains("Благодарности:"));
  EXPECT_TRUE(memo->toPlainText().contains("Разработано:"));
  OnNextDialog([&](QWidget* w) {
    // Every line fits: no horizontal scrolling, the memo inside the box.
    EXPECT_EQ(memo->horizontalScrollBar()->maximum(), 0);
    EXPECT_LE(memo->geometry().right(), about.width());
    w->findChild<QPushButton*>("Btn_CloseChildForm")->click();
  });
  EXPECT_EQ(about.exec(), QDialog::Accepted);
}

TEST(QtUiDialogs, MessageBoxesHaveTheirCaptionsAndRussianButtons) {
  App();
  ASSERT_TRUE(Application::LoadRussianTranslation(App()));
  QtUi ui;
  struct Case {
    int kind;
    const char* caption;
    QMessageBox::Icon icon;
  } cases[] = {{kMsgError, "Ошибка", QMessageBox::Critical},
               {kMsgWarning, "Внимание", QMessageBox::Warning},
               {kMsgInformation, "Информация", QMessageBox::Information}};
  for (const Case& c : cases) {
    OnNextDialog([&](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->windowTitle(), QString::fromUtf8(c.caption));
      EXPECT_EQ(box->icon(), c.icon);
      EXPECT_EQ(box->text(), "строка 1\nстрока 2");
      box->button(QMessageBox::Ok)->click();
    });
    ui.ShowMsg("строка 1\r\nстрока 2", c.kind);
  }
  ui.ShowMsg("nothing", 0);  // shows no box: would block otherwise

  QString yes_text;
  OnNextDialog([&](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    yes_text = box->button(QMessageBox::Yes)->text();
    EXPECT_EQ(box->button(QMessageBox::No)->text().remove('&'), "Нет");
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Yes));
    box->button(QMessageBox::No)->click();
  });
  EXPECT_FALSE(ui.AskYesNo("Сохранить тему перед выходом?", YesNoDefault::kYes));
  EXPECT_EQ(yes_text.remove('&'), "Да");

  // A question whose Yes loses work starts on No: Enter keeps the work.
  OnNextDialog([&](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
    QTest::keyClick(box, Qt::Key_Return);
  });
  EXPECT_FALSE(ui.AskYesNo("Тема была изменена.\r\nВы хотите продолжить, потеряв изменения?", YesNoDefault::kNo));
}

TEST(QtUiDialogs, TheThreeWayQuestionIsCalledOffByEscAndByClosingTheBox) {
  App();
  ASSERT_TRUE(Application::LoadRussianTranslation(App()));
  QtUi ui;
  const std::function<void(QMessageBox*)> answers[] = {
      [](QMessageBox* box) {
        EXPECT_EQ(box->button(QMessageBox::Cancel)->text().remove('&'), "Отмена");
        EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Yes));
        QTest::keyClick(box, Qt::Key_Escape);
      },
      [](QMessageBox* box) { box->close(); },  // the title bar's close button
      [](QMessageBox* box) { box->button(QMessageBox::No)->click(); },
      [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); },
  };
  const YesNoCancel expected[] = {YesNoCancel::kCancel, YesNoCancel::kCancel, YesNoCancel::kNo, YesNoCancel::kYes};
  for (size_t i = 0; i < std::size(answers); ++i) {
    OnNextDialog([&](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      ASSERT_NE(box, nullptr);
      answers[i](box);
    });
    EXPECT_EQ(ui.AskYesNoCancel("Сохранить тему перед выходом?", YesNoDefault::kYes), expected[i]) << i;
  }
}

TEST(QtUiDialogs, TheWindowIsRenderedBeforeEveryModalCall) {
  App();
  QtUi ui;
  int renders = 0;
  ui.SetBeforeModal([&renders] { ++renders; });
  int seen = -1;
  OnNextDialog([&](QWidget* w) {
    seen = renders;
    w->close();
  });
  ui.ShowMsg("Ошибка", kMsgError);
  EXPECT_EQ(seen, 1);  // the status panels change under the box, not after it closes
  OnNextDialog([&](QWidget* w) {
    seen = renders;
    qobject_cast<QMessageBox*>(w)->button(QMessageBox::No)->click();
  });
  ui.AskYesNo("?", YesNoDefault::kNo);
  EXPECT_EQ(seen, 2);
  OnNextDialog([&](QWidget* w) {
    seen = renders;
    w->close();
  });
  ui.OpenDialog(FileDialogRequest{});
  EXPECT_EQ(seen, 3);
}

// The handlers ask for the overwrite question through ask_overwrite; only the real dialog
// can ask it before the user's choice is taken.
TEST(QtUiDialogs, SaveDialogAsksBeforeOverwritingOnlyWhenAskedTo) {
  App();
  QtUi ui;
  struct Case {
    bool save, ask_overwrite, confirms;
  } cases[] = {{true, true, true}, {true, false, false}, {false, true, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.save) + " " + std::to_string(c.ask_overwrite));
    bool seen = false;
    OnNextDialog([&](QWidget* w) {
      auto* dialog = qobject_cast<QFileDialog*>(w);
      ASSERT_NE(dialog, nullptr);
      seen = true;
      EXPECT_EQ(dialog->objectName(), c.save ? "SD" : "OD");
      EXPECT_EQ(dialog->acceptMode(), c.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
      EXPECT_EQ(!dialog->testOption(QFileDialog::DontConfirmOverwrite), c.confirms);
      dialog->reject();
    });
    FileDialogRequest request;
    request.filter = "Файл темы (*.ssf)|*.ssf";
    request.ask_overwrite = c.ask_overwrite;
    EXPECT_FALSE(c.save ? ui.SaveDialog(request) : ui.OpenDialog(request));
    EXPECT_TRUE(seen);
  }
}

TEST(FileFilterConversion, EachPairBecomesOneQtFilterWithItsPatternsLast) {
  EXPECT_EQ(QtNameFilters("Файл темы (*.ssf)|*.ssf"), (std::vector<std::string>{"Файл темы (*.ssf)"}));
  EXPECT_EQ(QtNameFilters("Изображения (*.bmp, *.jpg)|*.bmp;*.jpg|Все файлы|*.*"),
            (std::vector<std::string>{"Изображения (*.bmp, *.jpg) (*.bmp *.jpg)", "Все файлы (*.*)"}));
  EXPECT_EQ(QtNameFilters("RAW|*.raw"), (std::vector<std::string>{"RAW (*.raw)"}));
  EXPECT_TRUE(QtNameFilters("").empty());
  std::vector<std::string> filters = QtNameFilters("A|*.a|B|*.b");
  EXPECT_EQ(FilterIndex(filters, "B (*.b)"), 2);
  EXPECT_EQ(FilterIndex(filters, "other"), 1);
}

}  // namespace
}  // namespace ssf::test
