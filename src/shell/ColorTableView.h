#pragma once
// The entries of a COLORTAB theme file as swatches, 16 to a row: hovering one shows its
// number and value, a double click asks to change it.
#include <QWidget>

#include "base/ByteIO.h"

namespace ssf {

class ColorTableView : public QWidget {
  Q_OBJECT
 public:
  explicit ColorTableView(QWidget* parent = nullptr);

  // Shows these bytes (a copy is kept); an empty table shows nothing.
  void SetTable(const Bytes& table);
  const Bytes& table() const { return table_; }
  // The entry under a point of the widget, or -1.
  int EntryAt(QPoint pos) const;
  // Where entry n is drawn.
  QRect EntryRect(int n) const;
  QSize sizeHint() const override;
  // The height the table takes at this width.
  int HeightFor(int width) const;
  // What hovering over `pos` shows: the entry's number and value, or nothing.
  QString TipAt(QPoint pos) const;

 signals:
  void entryActivated(int n);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  bool event(QEvent* event) override;

 private:
  static int CellFor(int width);
  int Cell() const { return CellFor(width()); }
  Bytes table_;
};

}  // namespace ssf
