#pragma once
// "О программе": the program's name, version and a fixed text.
#include <QDialog>

class QLabel;
class QPushButton;
class QTextEdit;

namespace ssf {

class TForm_AboutProgramm : public QDialog {
  Q_OBJECT
 public:
  explicit TForm_AboutProgramm(QWidget* parent = nullptr);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* lbl_1;
  QTextEdit* Memo_AboutProgrammText;
  QPushButton* Btn_CloseChildForm;
};

}  // namespace ssf
