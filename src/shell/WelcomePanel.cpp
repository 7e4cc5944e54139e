#include "shell/WelcomePanel.h"
#include "shell/QtPathText.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace ssf {

WelcomePanel::WelcomePanel(QWidget* parent) : QFrame(parent) {
  setObjectName("Pnl_Welcome");
  setFrameShape(QFrame::StyledPanel);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 20, 24, 20);
  layout->setSpacing(10);

  auto* title = new QLabel(QStringLiteral("Добро пожаловать"), this);
  title->setObjectName("lbl_WelcomeTitle");
  QFont big = title->font();
  big.setPointSizeF(big.pointSizeF() * 1.4);
  big.setBold(true);
  title->setFont(big);
  auto* text = new QLabel(QStringLiteral("Тема телефона — один файл .ssf с картинками и цветами. Создайте новую тему "
                                         "по карте модели телефона или откройте готовую; файл темы можно и "
                                         "перетащить в это окно."),
                          this);
  text->setObjectName("lbl_WelcomeText");
  text->setWordWrap(true);

  auto* create = new QPushButton(QStringLiteral("&Создать тему"), this);
  create->setObjectName("btn_WelcomeCreate");
  auto* open = new QPushButton(QStringLiteral("&Открыть тему"), this);
  open->setObjectName("btn_WelcomeOpen");
  connect(create, &QPushButton::clicked, this, &WelcomePanel::createClicked);
  connect(open, &QPushButton::clicked, this, &WelcomePanel::openClicked);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(create);
  buttons->addWidget(open);
  buttons->addStretch(1);

  recent_title_ = new QLabel(QStringLiteral("Последние темы:"), this);
  recent_title_->setObjectName("lbl_WelcomeRecent");
  recent_layout_ = new QVBoxLayout;
  recent_layout_->setSpacing(2);

  layout->addWidget(title);
  layout->addWidget(text);
  layout->addLayout(buttons);
  layout->addSpacing(8);
  layout->addWidget(recent_title_);
  layout->addLayout(recent_layout_);
  layout->addStretch(1);
  SetRecent({});
}

void WelcomePanel::SetRecent(const std::vector<std::filesystem::path>& recent) {
  recent_title_->setVisible(!recent.empty());
  if (recent == recent_) return;
  recent_ = recent;
  for (QPushButton* b : recent_buttons_) b->deleteLater();
  recent_buttons_.clear();
  for (size_t i = 0; i < recent.size(); ++i) {
    const QString path = QStringFromPath(recent[i]);
    // "&1 name" keeps the access keys of the menu "Последние темы"; the folder is the tooltip.
    auto* b = new QPushButton(QStringLiteral("&%1  %2").arg(i + 1).arg(QStringFromPath(recent[i].filename())),
                              this);
    b->setObjectName(QStringLiteral("btn_WelcomeRecent%1").arg(i + 1));
    b->setFlat(true);
    b->setToolTip(path);
    b->setStyleSheet(QStringLiteral("text-align: left; padding: 2px 6px;"));
    connect(b, &QPushButton::clicked, this, [this, path] { emit recentClicked(path); });
    recent_layout_->addWidget(b);
    recent_buttons_.push_back(b);
  }
}

}  // namespace ssf
