#pragma once
// "Проверить тему": the report of the theme check as a table (file, problem), kept open
// beside the main window and refreshed as the theme changes. Enter or a double click on
// a row of a theme file asks the window to show that file; a sound theme is said to be so
// instead of an empty table.
#include <QDialog>

#include "theme/ThemeCheck.h"

class QTableWidget;
class QLabel;

namespace ssf {

class ThemeCheckDialog : public QDialog {
  Q_OBJECT
 public:
  explicit ThemeCheckDialog(const ThemeCheckReport& report, QWidget* parent = nullptr);
  QTableWidget* table() const { return table_; }
  // Shows the report anew, keeping the selected row where it can.
  void SetReport(const ThemeCheckReport& report);

 signals:
  void fileChosen(int index);

 private:
  QTableWidget* table_;
  QLabel* summary_;
};

}  // namespace ssf
