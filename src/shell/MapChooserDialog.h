#pragma once
// "Карты тем": picks the phone model a new theme is created for. There is no cancel:
// however the dialog is closed, the selected model is the answer.
#include <QDialog>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;

namespace ssf {

class TForm_ChooseRXT : public QDialog {
  Q_OBJECT
 public:
  explicit TForm_ChooseRXT(QWidget* parent = nullptr);

  // Lists the models with item 0 selected, runs the dialog modally and returns the
  // index of the selected item.
  int Choose(const std::vector<std::string>& models);

  QComboBox* MapsList() const { return CBox_MapsList; }

 public slots:
  // Escape and the window system's close command end the dialog like "ОК".
  void reject() override;

 private:
  QLabel* lbl_1;
  QComboBox* CBox_MapsList;
  QPushButton* btn_OK;
};

}  // namespace ssf
