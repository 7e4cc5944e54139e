#include "shell/TreeMarks.h"

#include <QApplication>
#include <QStyle>
#include <QTreeWidgetItem>

namespace ssf {

void MarkTreeItems(const std::vector<QTreeWidgetItem*>& items, const GroupTree& tree, const ThemeCheckReport& report) {
  static const QIcon kWarning = QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
  for (int i = 0; i < tree.Size() && static_cast<size_t>(i) < items.size(); ++i) {
    if (!tree.IsFileNode(i)) continue;
    QTreeWidgetItem* item = items[static_cast<size_t>(i)];
    bool absent = false;
    bool other = false;
    QStringList texts;
    for (const CheckProblem* p : report.ForFile(tree.FileIndexOf(i))) {
      (p->kind == CheckKind::kAbsent ? absent : other) = true;
      texts << QString::fromStdString(p->text);
    }
    QFont font = item->font(0);
    if (font.italic() != absent) {
      font.setItalic(absent);
      item->setFont(0, font);
    }
    item->setForeground(0, absent ? QBrush(QColor(128, 128, 128)) : QBrush());
    item->setIcon(0, other ? kWarning : QIcon());
    item->setToolTip(0, texts.join("\n"));
    item->setData(0, kTreeMarkRole, absent ? 1 : other ? 2 : 0);
  }
}

}  // namespace ssf
