#include "shell/MapChooserDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

namespace ssf {

TForm_ChooseRXT::TForm_ChooseRXT(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName("TForm_ChooseRXT");
  setWindowTitle(QStringLiteral("Карты тем"));

  lbl_1 = new QLabel(QStringLiteral("Выберите модель телефона для создании темы:"), this);
  lbl_1->setObjectName("lbl_1");
  QFont bold = lbl_1->font();
  bold.setBold(true);
  bold.setUnderline(true);
  lbl_1->setFont(bold);
  // The window is as wide as its label needs in this font, never narrower than 315.
  const int label_width = std::max(299, lbl_1->sizeHint().width());
  const int width = label_width + 16;
  setFixedSize(width, 98);
  lbl_1->setGeometry(8, 8, label_width, std::max(18, lbl_1->sizeHint().height()));

  CBox_MapsList = new QComboBox(this);
  CBox_MapsList->setObjectName("CBox_MapsList");
  CBox_MapsList->setEditable(false);
  CBox_MapsList->setGeometry(8, 32, width - 18, 24);

  btn_OK = new QPushButton(QStringLiteral("ОК"), this);
  btn_OK->setObjectName("btn_OK");
  btn_OK->setGeometry((width - 75) / 2, 64, 75, 26);
  btn_OK->setDefault(true);
  connect(btn_OK, &QPushButton::clicked, this, &QDialog::accept);
}

int TForm_ChooseRXT::Choose(const std::vector<std::string>& models) {
  CBox_MapsList->clear();
  for (const std::string& m : models) CBox_MapsList->addItem(QString::fromStdString(m));
  CBox_MapsList->setCurrentIndex(models.empty() ? -1 : 0);
  exec();
  return CBox_MapsList->currentIndex();
}

void TForm_ChooseRXT::reject() { accept(); }

}  // namespace ssf
