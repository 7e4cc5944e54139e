#pragma once
// The colour copy window "Копирование цветов": widgets and wiring only; what the buttons
// do lives in ssf::ColorsCopyTool. Shown modally from the main window.
#include <QDialog>

#include "tools/colours/ColorsCopyTool.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace ssf {

class TForm_ColorsCopy : public QDialog {
  Q_OBJECT

 public:
  TForm_ColorsCopy(QWidget* parent, Ui& ui, IniDocument& settings);

  const ColorsCopyTool& Tool() const { return tool_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void Render();

  ColorsCopyTool tool_;
  QLabel* lbl_ColorSchemeFName_ = nullptr;
  QLabel* lbl_FirstFileFName_ = nullptr;
  QLabel* lbl_SecondFileFName_ = nullptr;
  QPushButton* btn_CopyFromFirstToSecond_ = nullptr;
  QPushButton* btn_CopyFromSecondToFirst_ = nullptr;
  QListWidget* LBox_Log_ = nullptr;
};

}  // namespace ssf
