#include "tools/forms/ColorsCopyForm.h"

#include "platform/PathText.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace ssf {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// A button caption shows '&' literally instead of making a shortcut of it.
QString Caption(const std::string& s) { return Q(s).replace(QLatin1Char('&'), QLatin1String("&&")); }

}  // namespace

TForm_ColorsCopy::TForm_ColorsCopy(QWidget* parent, Ui& ui, IniDocument& settings)
    : QDialog(parent), tool_(ui, settings) {
  setObjectName("Form_ColorsCopy");
  setWindowTitle(QStringLiteral("Копирование цветов"));
  setModal(true);
  setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  auto* grid = new QGridLayout;
  struct Row {
    const char* label_name;
    const char* label_text;
    const char* panel_name;
    const char* name_label;
    const char* button_name;
    QLabel** name_out;
  };
  const Row rows[] = {
      {"lbl_1", "Схема идентификации цветов:", "pnl_ColorScheme", "lbl_ColorSchemeFName", "btn_OpenColorScheme",
       &lbl_ColorSchemeFName_},
      {"lbl_2", "Первый файл цветов:", "pnl_FirstFile", "lbl_FirstFileFName", "btn_OpenFirstFile",
       &lbl_FirstFileFName_},
      {"lbl_3", "Второй файл цветов:", "pnl_SecondFile", "lbl_SecondFileFName", "btn_OpenSecondFile",
       &lbl_SecondFileFName_},
  };
  int r = 0;
  for (const Row& row : rows) {
    auto* label = new QLabel(QString::fromUtf8(row.label_text), this);
    label->setObjectName(row.label_name);
    auto* panel = new QFrame(this);
    panel->setObjectName(row.panel_name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setMinimumWidth(260);
    auto* name = new QLabel(panel);
    name->setObjectName(row.name_label);
    auto* panel_layout = new QHBoxLayout(panel);
    panel_layout->setContentsMargins(4, 2, 4, 2);
    panel_layout->addWidget(name);
    auto* browse = new QPushButton(QStringLiteral("Обзор"), this);
    browse->setObjectName(row.button_name);
    connect(browse, &QPushButton::clicked, this, [this, browse] {
      tool_.btn_OpenColorSchemeClick(browse->objectName().toStdString());
      Render();
    });
    grid->addWidget(label, r, 0);
    grid->addWidget(panel, r, 1);
    grid->addWidget(browse, r, 2);
    *row.name_out = name;
    ++r;
  }

  btn_CopyFromFirstToSecond_ = new QPushButton(this);
  btn_CopyFromFirstToSecond_->setObjectName("btn_CopyFromFirstToSecond");
  btn_CopyFromSecondToFirst_ = new QPushButton(this);
  btn_CopyFromSecondToFirst_->setObjectName("btn_CopyFromSecondToFirst");
  for (QPushButton* b : {btn_CopyFromFirstToSecond_, btn_CopyFromSecondToFirst_}) {
    b->setMinimumWidth(160);
    connect(b, &QPushButton::clicked, this, [this, b] {
      tool_.btn_CopyFromFirstToSecondClick(b->objectName().toStdString());
      Render();
    });
  }
  auto* copy_row = new QHBoxLayout;
  copy_row->addWidget(btn_CopyFromFirstToSecond_);
  copy_row->addWidget(btn_CopyFromSecondToFirst_);
  copy_row->addStretch();

  LBox_Log_ = new QListWidget(this);
  LBox_Log_->setObjectName("LBox_Log");
  LBox_Log_->setMinimumSize(520, 240);
  LBox_Log_->setSelectionMode(QAbstractItemView::SingleSelection);

  auto* btn_exit = new QPushButton(QStringLiteral("Закрыть"), this);
  btn_exit->setObjectName("btn_exit");
  connect(btn_exit, &QPushButton::clicked, this, &QDialog::close);
  auto* exit_row = new QHBoxLayout;
  exit_row->addStretch();
  exit_row->addWidget(btn_exit);

  auto* main = new QVBoxLayout(this);
  main->addLayout(grid);
  main->addLayout(copy_row);
  main->addWidget(LBox_Log_);
  main->addLayout(exit_row);
  main->setSizeConstraint(QLayout::SetFixedSize);  // a fixed border, as a tool window has

  Render();
}

void TForm_ColorsCopy::showEvent(QShowEvent* event) {
  // Each showing starts afresh; restoring a minimised window is no new showing.
  if (!event->spontaneous()) {
    tool_.FormActivate();
    Render();
  }
  QDialog::showEvent(event);
}

void TForm_ColorsCopy::hideEvent(QHideEvent* event) {
  // Every way of closing (the button, Esc, the title bar) ends here.
  if (!event->spontaneous()) tool_.FormClose();
  QDialog::hideEvent(event);
}

void TForm_ColorsCopy::Render() {
  const ColorsCopyView& v = tool_.View();
  auto show = [](QLabel* label, const std::string& name, const std::filesystem::path& path) {
    label->setText(Q(name));
    // The full path stays as the tooltip even after the name is cleared.
    label->setToolTip(Q(Utf8FromPath(path)));
  };
  show(lbl_ColorSchemeFName_, v.scheme_name, v.scheme_path);
  show(lbl_FirstFileFName_, v.first_name, v.first_path);
  show(lbl_SecondFileFName_, v.second_name, v.second_path);
  btn_CopyFromFirstToSecond_->setText(Caption(v.first_to_second_caption));
  btn_CopyFromSecondToFirst_->setText(Caption(v.second_to_first_caption));
  btn_CopyFromFirstToSecond_->setEnabled(v.copy_enabled);
  btn_CopyFromSecondToFirst_->setEnabled(v.copy_enabled);
  LBox_Log_->clear();
  for (const std::string& line : v.log) LBox_Log_->addItem(Q(line));
  if (LBox_Log_->count() > 0) LBox_Log_->scrollToBottom();
}

}  // namespace ssf
