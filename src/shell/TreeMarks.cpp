#include "shell/TreeMarks.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "editor/TreeCheckMarks.h"

namespace ssf {

namespace {

// Drawn here rather than taken from the style, so an error is red and a warning yellow
// whatever the desktop's theme.
QIcon SignIcon(TreeMark mark) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QColor fill;
  QColor ink = Qt::white;
  if (mark == TreeMark::kError) {
    fill = QColor(214, 40, 40);
    p.setPen(QPen(QColor(150, 20, 20), 1));
    p.setBrush(fill);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
  } else if (mark == TreeMark::kWarning) {
    fill = QColor(245, 200, 30);
    ink = Qt::black;
    QPainterPath triangle;
    triangle.moveTo(8, 1.5);
    triangle.lineTo(14.5, 14);
    triangle.lineTo(1.5, 14);
    triangle.closeSubpath();
    p.setPen(QPen(QColor(150, 110, 0), 1));
    p.setBrush(fill);
    p.drawPath(triangle);
  } else {  // absent files inside a group: a hollow grey ring
    p.setPen(QPen(QColor(128, 128, 128), 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(3, 3, 10, 10));
    return QIcon(pixmap);
  }
  p.setPen(QPen(ink, 2));
  p.drawLine(QPointF(8, 5), QPointF(8, 9.5));
  p.drawPoint(QPointF(8, 12));
  return QIcon(pixmap);
}

const QIcon& MarkIcon(TreeMark mark) {
  static const QIcon error = SignIcon(TreeMark::kError);
  static const QIcon warning = SignIcon(TreeMark::kWarning);
  static const QIcon absent = SignIcon(TreeMark::kAbsent);
  static const QIcon none;
  switch (mark) {
    case TreeMark::kError: return error;
    case TreeMark::kWarning: return warning;
    case TreeMark::kAbsent: return absent;
    case TreeMark::kSound: break;
  }
  return none;
}

}  // namespace

void MarkTreeItems(const std::vector<QTreeWidgetItem*>& items, const GroupTree& tree, const ThemeCheckReport& report) {
  const std::vector<TreeNodeMark> marks = TreeCheckMarks(tree, report);
  for (int i = 0; i < tree.Size() && static_cast<size_t>(i) < items.size(); ++i) {
    QTreeWidgetItem* item = items[static_cast<size_t>(i)];
    const TreeNodeMark& m = marks[static_cast<size_t>(i)];
    item->setData(0, kTreeMarkRole, static_cast<int>(m.mark));
    item->setToolTip(0, QString::fromStdString(m.tip));
    if (tree.HasChildren(i)) {
      ShowGroupMark(item);
      continue;
    }
    const bool absent = m.mark == TreeMark::kAbsent;
    QFont font = item->font(0);
    if (font.italic() != absent) {
      font.setItalic(absent);
      item->setFont(0, font);
    }
    item->setForeground(0, absent ? QBrush(QColor(128, 128, 128)) : QBrush());
    // An absent file is told by its grey italics; the sign is for files that hold bytes.
    item->setIcon(0, absent ? QIcon() : MarkIcon(m.mark));
  }
}

void ShowGroupMark(QTreeWidgetItem* group) {
  if (group == nullptr || group->childCount() == 0) return;
  const auto mark = static_cast<TreeMark>(group->data(0, kTreeMarkRole).toInt());
  group->setIcon(0, group->isExpanded() ? QIcon() : MarkIcon(mark));
}

}  // namespace ssf
