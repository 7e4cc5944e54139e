#include "shell/OverviewPage.h"

#include "editor/OverviewTiles.h"
#include "theme/FileKind.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QStatusBar>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <string_view>

namespace ssf {

namespace {

constexpr int kTileSide = kThumbnailSide + 8;

// Tells stored bytes and their map entry apart from any other; a tile is remade when it changes.
size_t TileKey(const Bytes& bytes, const TTHemeFiles& e, int zoom) {
  size_t h = std::hash<std::string_view>{}(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  for (size_t part : {std::hash<std::string>{}(e.f_type), size_t(uint32_t(e.f_width)), size_t(uint32_t(e.f_height)),
                      size_t(uint32_t(e.f_size)), bytes.size(), size_t(uint32_t(zoom))}) {
    h ^= part + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
  }
  return h;
}

QString SizeText(const TTHemeFiles& e) {
  if (KindOf(e.f_type) == FileKind::kColorTab) return QStringLiteral("%1 б").arg(e.f_size);
  return QStringLiteral("%1x%2").arg(e.f_width).arg(e.f_height);
}

}  // namespace

int OverviewList::DropTarget(const QDropEvent* event, QString* file) const {
  const QMimeData* mime = event->mimeData();
  if (mime == nullptr || !mime->hasUrls() || mime->urls().size() != 1 || !mime->urls().front().isLocalFile()) return -1;
  QListWidgetItem* tile = itemAt(event->position().toPoint());
  if (tile == nullptr) return -1;
  if (file != nullptr) *file = mime->urls().front().toLocalFile();
  return tile->data(Qt::UserRole).toInt();
}

void OverviewList::dragEnterEvent(QDragEnterEvent* event) {
  // Accepted anywhere over the list, so the pointer may travel between tiles.
  const QMimeData* mime = event->mimeData();
  if (mime != nullptr && mime->hasUrls() && mime->urls().size() == 1 && mime->urls().front().isLocalFile()) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void OverviewList::dragMoveEvent(QDragMoveEvent* event) {
  if (DropTarget(event, nullptr) >= 0) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void OverviewList::dropEvent(QDropEvent* event) {
  QString file;
  const int k = DropTarget(event, &file);
  if (k < 0) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
  emit fileDropped(k, file);
}

OverviewPage::OverviewPage(QWidget* parent) : QWidget(parent), list_(new OverviewList(this)) {
  setObjectName("TShit_3Overview");
  list_->setObjectName("LV_Overview");
  list_->setViewMode(QListView::IconMode);
  list_->setMovement(QListView::Static);
  list_->setResizeMode(QListView::Adjust);
  list_->setWrapping(true);
  list_->setWordWrap(true);
  list_->setUniformItemSizes(true);
  list_->setIconSize(QSize(kTileSide, kTileSide));
  list_->setGridSize(QSize(kTileSide + 36, kTileSide + 54));  // room for three caption lines
  list_->setSpacing(4);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setDragDropMode(QAbstractItemView::DropOnly);
  list_->setAcceptDrops(true);
  list_->viewport()->setAcceptDrops(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(list_);

  // A click only selects, so tiles can be browsed; Enter or a double click opens one.
  connect(list_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { emit fileClicked(item->data(Qt::UserRole).toInt()); });
  connect(list_, &OverviewList::fileDropped, this, &OverviewPage::fileDropped);
  connect(&maker_, &ThumbnailMaker::done, this, &OverviewPage::Thumbnail);
}

void OverviewPage::AttachProgress(QStatusBar* bar) {
  progress_ = new QLabel(bar);
  progress_->setObjectName("SBar_Thumbnails");
  progress_->hide();
  bar->addPermanentWidget(progress_);
}

void OverviewPage::Render(const ThemeMap& map, const Theme* theme, const ThemeCheckReport& report) {
  const size_t count = theme ? theme->NewFiles.size() : 0;
  std::vector<std::string> captions = OverviewCaptions(map.Tree);
  captions.resize(count);
  const int zoom = SharedThumbnailZoom(map, kThumbnailSide);
  if (captions != captions_ || tiles_.size() != count) {
    captions_ = captions;
    tiles_.assign(count, Tile{});
    list_->clear();
    for (size_t k = 0; k < count; ++k) {
      auto* item = new QListWidgetItem(list_);
      item->setData(Qt::UserRole, static_cast<int>(k));
      item->setTextAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }
  }
  for (size_t k = 0; k < count; ++k) {
    static const TTHemeFiles kNone;
    const TTHemeFiles* found = map.Entry(static_cast<int>(k));
    const TTHemeFiles& entry = found ? *found : kNone;
    const Bytes& bytes = theme->NewFiles[k].f_file;
    Tile& t = tiles_[k];
    QListWidgetItem* item = list_->item(static_cast<int>(k));
    item->setText(QString::fromStdString(captions[k]) + "\n" + SizeText(entry));

    int marks = 0;
    QStringList texts;
    for (const CheckProblem* p : report.ForFile(static_cast<int>(k))) {
      texts << QString::fromStdString(p->text);
      if (p->kind != CheckKind::kAbsent) marks = std::max(marks, p->severity == CheckSeverity::kError ? 2 : 1);
    }
    const QString tooltip = texts.join("\n");
    const size_t key = TileKey(bytes, entry, zoom);
    const bool changed = !t.requested || t.key != key;
    if (changed) {
      t.requested = true;
      t.key = key;
      t.present = !bytes.empty();
      t.kind = QString::fromStdString(entry.f_type);
      t.picture_kind = IsPictureKind(KindOf(entry.f_type)) || KindOf(entry.f_type) == FileKind::kColorTab;
      t.thumbnail = QImage();
      t.thumbnail_made = !(t.present && t.picture_kind);
      if (!t.thumbnail_made) {
        maker_.Request(static_cast<int>(k), key, bytes, entry, zoom);
        ++batch_total_;
      }
    }
    if (changed || marks != t.marks || tooltip != t.tooltip) {
      t.marks = marks;
      t.tooltip = tooltip;
      item->setToolTip(tooltip);
      Paint(static_cast<int>(k));
    }
  }
  ShowProgress();
}

void OverviewPage::Thumbnail(int index, size_t key, const QImage& thumbnail) {
  ++batch_done_;
  if (index >= 0 && static_cast<size_t>(index) < tiles_.size() && tiles_[static_cast<size_t>(index)].key == key) {
    Tile& t = tiles_[static_cast<size_t>(index)];
    t.thumbnail = thumbnail;
    t.thumbnail_made = true;
    Paint(index);
  }
  ShowProgress();
}

void OverviewPage::ShowProgress() {
  if (progress_ == nullptr) return;
  if (maker_.Pending() == 0) {
    batch_total_ = batch_done_ = 0;
    progress_->hide();
    return;
  }
  progress_->setText(QStringLiteral("Миниатюры: %1 из %2").arg(batch_done_).arg(batch_total_));
  progress_->show();
}

void OverviewPage::Paint(int index) {
  const Tile& t = tiles_[static_cast<size_t>(index)];
  QPixmap pixmap(kTileSide, kTileSide);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  const QRect frame(0, 0, kTileSide - 1, kTileSide - 1);
  if (!t.present) {
    // An absent file: the empty frame is its mark.
    painter.setPen(QPen(QColor(150, 150, 150), 1, Qt::DashLine));
    painter.drawRect(frame);
  } else {
    painter.fillRect(frame, QColor(250, 250, 250));
    painter.setPen(QPen(QColor(110, 110, 110), 1));
    painter.drawRect(frame);
    if (!t.thumbnail.isNull()) {
      painter.drawImage((kTileSide - t.thumbnail.width()) / 2, (kTileSide - t.thumbnail.height()) / 2, t.thumbnail);
    } else {
      // No picture: a colour table, a kind without one, a file that does not decode, or
      // a thumbnail still being made.
      painter.setPen(QColor(90, 90, 90));
      painter.drawText(frame, Qt::AlignCenter, t.thumbnail_made ? t.kind : QStringLiteral("…"));
    }
  }
  if (t.marks > 0) {
    const QRect badge(kTileSide - 22, 2, 20, 20);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(t.marks == 2 ? QColor(210, 40, 40) : QColor(235, 160, 0));
    painter.drawEllipse(badge);
    painter.setPen(Qt::white);
    QFont bold = painter.font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.drawText(badge, Qt::AlignCenter, QStringLiteral("!"));
  }
  painter.end();
  QListWidgetItem* item = list_->item(index);
  item->setIcon(QIcon(pixmap));
  item->setForeground(t.present ? palette().color(QPalette::Text) : QColor(130, 130, 130));
}

}  // namespace ssf
