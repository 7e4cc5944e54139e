#include "shell/AccessKeys.h"

#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <string>
#include <vector>

#include "editor/Mnemonics.h"

namespace ssf {

namespace {

void Assign(const QList<QAction*>& actions) {
  std::vector<QAction*> named;
  std::vector<std::string> captions;
  for (QAction* a : actions) {
    if (a->isSeparator() || a->text().isEmpty()) continue;
    named.push_back(a);
    captions.push_back(a->text().toStdString());
  }
  const std::vector<std::string> keyed = AssignMnemonics(captions);
  for (size_t i = 0; i < named.size(); ++i) named[i]->setText(QString::fromStdString(keyed[i]));
}

}  // namespace

void SetAccessKeys(QMenuBar* bar) {
  Assign(bar->actions());
  for (QAction* a : bar->actions()) {
    if (a->menu()) SetAccessKeys(a->menu());
  }
}

void SetAccessKeys(QMenu* menu) {
  Assign(menu->actions());
  for (QAction* a : menu->actions()) {
    if (a->menu()) SetAccessKeys(a->menu());
  }
}

void SetAccessKeys(const QList<QAbstractButton*>& buttons) {
  std::vector<std::string> captions;
  for (QAbstractButton* b : buttons) captions.push_back(b->text().toStdString());
  const std::vector<std::string> keyed = AssignMnemonics(captions);
  for (qsizetype i = 0; i < buttons.size(); ++i) buttons[i]->setText(QString::fromStdString(keyed[static_cast<size_t>(i)]));
}

}  // namespace ssf
