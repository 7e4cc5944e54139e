#include "shell/ThemeCheckDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace ssf {

ThemeCheckDialog::ThemeCheckDialog(const ThemeCheckReport& report, QWidget* parent)
    : QDialog(parent), table_(new QTableWidget(this)), summary_(new QLabel(this)) {
  setObjectName("Form_ThemeCheck");
  setWindowTitle(QStringLiteral("Проверка темы"));
  setModal(false);
  resize(640, 420);

  summary_->setObjectName("lbl_CheckSummary");
  summary_->setWordWrap(true);

  table_->setObjectName("TBL_CheckProblems");
  table_->setColumnCount(2);
  table_->setHorizontalHeaderLabels({QStringLiteral("Файл"), QStringLiteral("Проблема")});
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->setColumnWidth(0, 240);
  // Enter and a double click both activate a row.
  connect(table_, &QTableWidget::activated, this, [this](const QModelIndex& index) {
    const QTableWidgetItem* file = table_->item(index.row(), 0);
    const int k = file ? file->data(Qt::UserRole).toInt() : -1;
    if (k >= 0) emit fileChosen(k);
  });

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  // Enter belongs to the table: the report stays open while the user walks through it.
  for (QAbstractButton* b : buttons->buttons()) {
    if (auto* push = qobject_cast<QPushButton*>(b)) {
      push->setAutoDefault(false);
      push->setDefault(false);
    }
  }
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(summary_);
  layout->addWidget(table_, 1);
  layout->addWidget(buttons);
  SetReport(report);
}

void ThemeCheckDialog::SetReport(const ThemeCheckReport& report) {
  const int errors = report.Errors();
  const int warnings = report.Warnings();
  summary_->setText(report.problems.empty()
                        ? QStringLiteral("Проблем не найдено.")
                        : QStringLiteral("Ошибок: %1, предупреждений: %2. Enter или двойной щелчок по строке показывает файл.")
                              .arg(errors)
                              .arg(warnings));
  table_->setVisible(!report.problems.empty());

  const int current = table_->currentRow();
  table_->setRowCount(static_cast<int>(report.problems.size()));
  const QIcon error_icon = style()->standardIcon(QStyle::SP_MessageBoxCritical);
  const QIcon warning_icon = style()->standardIcon(QStyle::SP_MessageBoxWarning);
  for (int row = 0; row < table_->rowCount(); ++row) {
    const CheckProblem& p = report.problems[static_cast<size_t>(row)];
    auto* file = new QTableWidgetItem(p.index < 0 ? QStringLiteral("Тема")
                                                  : QStringLiteral("%1: %2").arg(p.index).arg(QString::fromStdString(p.path)));
    file->setData(Qt::UserRole, p.index);
    file->setIcon(p.severity == CheckSeverity::kError ? error_icon : warning_icon);
    auto* problem = new QTableWidgetItem(QString::fromStdString(p.text));
    problem->setToolTip(problem->text());
    table_->setItem(row, 0, file);
    table_->setItem(row, 1, problem);
  }
  if (current >= 0 && table_->rowCount() > 0) table_->setCurrentCell(std::min(current, table_->rowCount() - 1), 0);
}

}  // namespace ssf
