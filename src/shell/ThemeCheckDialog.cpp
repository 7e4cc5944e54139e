#include "shell/ThemeCheckDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

namespace ssf {

ThemeCheckDialog::ThemeCheckDialog(const ThemeCheckReport& report, QWidget* parent)
    : QDialog(parent), table_(new QTableWidget(this)), summary_(new QLabel(this)) {
  setObjectName("Form_ThemeCheck");
  setWindowTitle(QStringLiteral("Проверка темы"));
  resize(640, 420);

  const int errors = report.Errors();
  const int warnings = report.Warnings();
  summary_->setObjectName("lbl_CheckSummary");
  summary_->setText(report.problems.empty()
                        ? QStringLiteral("Проблем не найдено.")
                        : QStringLiteral("Ошибок: %1, предупреждений: %2. Двойной щелчок по строке показывает файл.")
                              .arg(errors)
                              .arg(warnings));
  summary_->setWordWrap(true);

  table_->setObjectName("TBL_CheckProblems");
  table_->setColumnCount(2);
  table_->setHorizontalHeaderLabels({QStringLiteral("Файл"), QStringLiteral("Проблема")});
  table_->setRowCount(static_cast<int>(report.problems.size()));
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setStretchLastSection(true);
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
  table_->setColumnWidth(0, 240);
  connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
    const int k = table_->item(row, 0)->data(Qt::UserRole).toInt();
    if (k >= 0) emit fileChosen(k);
  });

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(summary_);
  layout->addWidget(table_);
  layout->addWidget(buttons);
}

}  // namespace ssf
