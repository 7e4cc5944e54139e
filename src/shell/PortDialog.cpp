#include "shell/PortDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <exception>

namespace ssf {

namespace {

constexpr FitMode kModes[] = {FitMode::kCrop, FitMode::kPad, FitMode::kStretch};
const char* const kModeTexts[] = {"Обрезать по краям", "Вписать с полями", "Растянуть"};

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

PortDialog::PortDialog(Editor& editor, const std::vector<std::string>& models, QWidget* parent)
    : QDialog(parent), editor_(editor) {
  setObjectName("PortDialog");
  setWindowTitle(QStringLiteral("Перенести на другую модель"));
  auto* layout = new QVBoxLayout(this);

  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(QStringLiteral("Модель:"), this));
  model_ = new QComboBox(this);
  model_->setObjectName("CB_PortModel");
  for (const std::string& m : models) model_->addItem(Q(m));
  top->addWidget(model_, 1);
  layout->addLayout(top);

  table_ = new QTableWidget(0, 3, this);
  table_->setObjectName("TBL_PortFiles");
  table_->setHorizontalHeaderLabels({QStringLiteral("Файл темы новой модели"), QStringLiteral("Источник"),
                                     QStringLiteral("Что будет сделано")});
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->setVisible(false);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table_->horizontalHeader()->setStretchLastSection(true);
  layout->addWidget(table_, 1);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(new QLabel(QStringLiteral("Подгонка изображений:"), this));
  fit_ = new QComboBox(this);
  fit_->setObjectName("CB_PortFit");
  for (const char* text : kModeTexts) fit_->addItem(QString::fromUtf8(text));
  bottom->addWidget(fit_);
  dither_ = new QCheckBox(QStringLiteral("Сглаживать переходы цветов (дизеринг)"), this);
  dither_->setObjectName("CB_PortDither");
  bottom->addWidget(dither_);
  bottom->addStretch(1);
  layout->addLayout(bottom);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->setObjectName("PortButtons");
  ok_ = buttons->button(QDialogButtonBox::Ok);
  ok_->setText(QStringLiteral("ОК"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);

  connect(model_, &QComboBox::currentIndexChanged, this, &PortDialog::ModelChosen);
  connect(fit_, &QComboBox::currentIndexChanged, this, &PortDialog::FitChanged);
  connect(dither_, &QCheckBox::toggled, this, &PortDialog::FitChanged);
  resize(860, 520);
  ModelChosen(model_->currentIndex());
}

void PortDialog::ModelChosen(int item) {
  proposal_.reset();
  try {
    proposal_ = ProposePort(editor_, item);
  } catch (const std::exception& e) {
    editor_.ui.ShowMsg(e.what(), kMsgError);
  }
  if (proposal_) FitChanged();
  FillTable();
}

void PortDialog::FillTable() {
  table_->setRowCount(0);
  ok_->setEnabled(proposal_.has_value());
  if (!proposal_) return;
  const int rows = static_cast<int>(proposal_->map.ThemeFiles.size());
  const int sources = PortSourceCount(editor_);
  table_->setRowCount(rows);
  for (int k = 0; k < rows; ++k) {
    table_->setItem(k, 0, new QTableWidgetItem(QStringLiteral("%1 ").arg(k) + Q(PortTargetText(*proposal_, k))));
    auto* source = new QComboBox(table_);
    source->setObjectName(QStringLiteral("CB_PortSource_%1").arg(k));
    source->addItem(QStringLiteral("(нет)"));
    for (int s = 0; s < sources; ++s) source->addItem(Q(PortSourceText(editor_, s)));
    const std::optional<int>& paired = proposal_->sources[static_cast<size_t>(k)];
    source->setCurrentIndex(paired ? *paired + 1 : 0);
    connect(source, &QComboBox::currentIndexChanged, this, [this, k](int index) { SourceChosen(k, index); });
    table_->setCellWidget(k, 1, source);
    table_->setItem(k, 2, new QTableWidgetItem);
  }
  UpdatePlans();
}

void PortDialog::SourceChosen(int k, int combo_index) {
  if (!proposal_) return;
  auto& source = proposal_->sources.at(static_cast<size_t>(k));
  if (combo_index <= 0) source.reset();
  else source = combo_index - 1;
  UpdatePlans();
}

void PortDialog::FitChanged() {
  if (!proposal_) return;
  const int mode = fit_->currentIndex();
  proposal_->fit.mode = kModes[mode >= 0 && mode < 3 ? mode : 0];
  proposal_->fit.dither = dither_->isChecked();
  UpdatePlans();
}

void PortDialog::UpdatePlans() {
  if (!proposal_) return;
  for (int k = 0; k < table_->rowCount(); ++k) {
    if (QTableWidgetItem* what = table_->item(k, 2)) what->setText(Q(PortPlanText(editor_, *proposal_, k)));
  }
}

}  // namespace ssf
