#pragma once
// "Проверить тему": the report of the theme check as a table (file, problem). A double
// click on a row of a theme file asks the window to show that file.
#include <QDialog>

#include "theme/ThemeCheck.h"

class QTableWidget;
class QLabel;

namespace ssf {

class ThemeCheckDialog : public QDialog {
  Q_OBJECT
 public:
  ThemeCheckDialog(const ThemeCheckReport& report, QWidget* parent = nullptr);
  QTableWidget* table() const { return table_; }

 signals:
  void fileChosen(int index);

 private:
  QTableWidget* table_;
  QLabel* summary_;
};

}  // namespace ssf
