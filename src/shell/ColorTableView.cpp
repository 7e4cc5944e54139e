#include "shell/ColorTableView.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

#include "theme/ColorTable.h"

namespace ssf {

namespace {

constexpr int kColumns = static_cast<int>(kColorTableColumns);
constexpr int kMaxCell = 14;
constexpr int kMinCell = 4;

}  // namespace

ColorTableView::ColorTableView(QWidget* parent) : QWidget(parent) {
  setObjectName("GRID_ColorTab");
  setMouseTracking(true);
}

void ColorTableView::SetTable(const Bytes& table) {
  if (table == table_) return;
  table_ = table;
  updateGeometry();
  update();
}

int ColorTableView::CellFor(int width) { return std::clamp((width - 1) / kColumns - 1, kMinCell, kMaxCell); }

int ColorTableView::HeightFor(int width) const {
  const long long rows = static_cast<long long>((ColorTableEntryCount(table_) + kColumns - 1) / kColumns);
  return static_cast<int>(std::min<long long>(rows * (CellFor(width) + 1) + 1, 1 << 20));
}

QString ColorTableView::TipAt(QPoint pos) const {
  const int n = EntryAt(pos);
  if (n < 0) return {};
  return QString::fromStdString(ColorTableEntryText(table_, static_cast<size_t>(n))) +
         QStringLiteral("\nДвойной щелчок — изменить цвет");
}

QRect ColorTableView::EntryRect(int n) const {
  const int step = Cell() + 1;
  return QRect((n % kColumns) * step + 1, (n / kColumns) * step + 1, Cell(), Cell());
}

int ColorTableView::EntryAt(QPoint pos) const {
  const int step = Cell() + 1;
  if (pos.x() < 0 || pos.y() < 0) return -1;
  const int column = pos.x() / step;
  const int row = pos.y() / step;
  if (column >= kColumns) return -1;
  const long long n = static_cast<long long>(row) * kColumns + column;
  return n < static_cast<long long>(ColorTableEntryCount(table_)) ? static_cast<int>(n) : -1;
}

QSize ColorTableView::sizeHint() const {
  const int width = kColumns * (kMaxCell + 1) + 1;
  return {width, HeightFor(width)};
}

void ColorTableView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRect dirty = event->rect();
  const int count = static_cast<int>(std::min<size_t>(ColorTableEntryCount(table_), 1u << 20));
  for (int n = 0; n < count; ++n) {
    const QRect r = EntryRect(n);
    if (r.top() > dirty.bottom()) break;
    if (!r.adjusted(-1, -1, 1, 1).intersects(dirty)) continue;
    const Rgb c = Rgb565ToRgb(ColorTableEntry(table_, static_cast<size_t>(n)));
    painter.fillRect(r.adjusted(-1, -1, 1, 1), QColor(160, 160, 160));
    painter.fillRect(r, QColor(c.r, c.g, c.b));
  }
}

void ColorTableView::mouseDoubleClickEvent(QMouseEvent* event) {
  const int n = EntryAt(event->position().toPoint());
  if (event->button() == Qt::LeftButton && n >= 0) emit entryActivated(n);
}

bool ColorTableView::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    const QString tip = TipAt(help->pos());
    if (tip.isEmpty()) {
      QToolTip::hideText();
    } else {
      QToolTip::showText(help->globalPos(), tip, this, EntryRect(EntryAt(help->pos())));
    }
    return true;
  }
  return QWidget::event(event);
}

}  // namespace ssf
