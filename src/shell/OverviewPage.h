#pragma once
// The page "Обзор": every theme file of the open theme as a tile in map order, with its
// thumbnail, caption and size from the map. Absent files are empty dashed frames, files
// the theme check finds fault with carry a mark and the problems as tooltip. A click
// selects a tile; Enter or a double click asks to show the file on the page "Файлы"; a
// picture dropped on a tile asks to import it.
#include <QImage>
#include <QListWidget>
#include <QWidget>
#include <vector>

#include "theme/Theme.h"
#include "theme/ThemeCheck.h"
#include "shell/ThumbnailMaker.h"

class QLabel;
class QStatusBar;

namespace ssf {

// The tile list: accepts one local file dropped on a tile.
class OverviewList : public QListWidget {
  Q_OBJECT
 public:
  using QListWidget::QListWidget;

 signals:
  void fileDropped(int index, const QString& file);

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Theme file index of the tile under `pos` when the drag carries one local file; -1 otherwise.
  int DropTarget(const QDropEvent* event, QString* file) const;
};

class OverviewPage : public QWidget {
  Q_OBJECT
 public:
  explicit OverviewPage(QWidget* parent = nullptr);

  // Shows the progress of the thumbnails in this status bar while they are made.
  void AttachProgress(QStatusBar* bar);
  // Shows the theme; thumbnails are made anew only for files whose bytes or entry changed.
  // An empty NewFiles (no theme) empties the page.
  void Render(const ThemeMap& map, const Theme* theme, const ThemeCheckReport& report);

  OverviewList* list() const { return list_; }
  ThumbnailMaker& maker() { return maker_; }

 signals:
  void fileClicked(int index);
  void fileDropped(int index, const QString& file);

 private:
  struct Tile {
    size_t key = 0;
    bool requested = false;
    bool present = false;
    bool picture_kind = false;  // a kind with a thumbnail
    bool thumbnail_made = false;
    QImage thumbnail;
    QString kind;
    int marks = 0;  // 0 none, 1 warning, 2 error (beyond absence)
    QString tooltip;
  };
  void Thumbnail(int index, size_t key, const QImage& thumbnail);
  void Paint(int index);
  void ShowProgress();

  OverviewList* list_;
  ThumbnailMaker maker_;
  QLabel* progress_ = nullptr;
  std::vector<Tile> tiles_;
  std::vector<std::string> captions_;  // what the list's items were built from
  int batch_total_ = 0;
  int batch_done_ = 0;
};

}  // namespace ssf
