#include "shell/ScreenPage.h"
#include "shell/QtPathText.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>

#include "base/SsfError.h"
#include "shell/ImageConvert.h"

namespace ssf {

ScreenView::ScreenView(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setCursor(Qt::PointingHandCursor);
}

void ScreenView::Show(RenderedScreen screen, int zoom) {
  screen_ = std::move(screen);
  picture_ = ToQImage(screen_.image);
  zoom_ = zoom;
  hovered_ = -1;
  setToolTip(QString());
  setFixedSize(sizeHint());
  update();
}

QSize ScreenView::sizeHint() const {
  return QSize(static_cast<int>(screen_.image.width) * zoom_, static_cast<int>(screen_.image.height) * zoom_);
}

const PlacedLayer* ScreenView::LayerUnder(const QPoint& pos) const {
  if (pos.x() < 0 || pos.y() < 0) return nullptr;
  return LayerAt(screen_, pos.x() / zoom_, pos.y() / zoom_);
}

void ScreenView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);  // pixels stay sharp at 2:1
  p.drawImage(QRect(QPoint(0, 0), sizeHint()), picture_);
  if (hovered_ < 0) return;
  const PlacedLayer& l = screen_.placed[static_cast<size_t>(hovered_)];
  const QRect r(l.x * zoom_, l.y * zoom_, static_cast<int>(l.width) * zoom_, static_cast<int>(l.height) * zoom_);
  p.setPen(QPen(Qt::black, 3));
  p.drawRect(r.adjusted(0, 0, -1, -1));
  p.setPen(QPen(QColor(255, 220, 0), 1));
  p.drawRect(r.adjusted(0, 0, -1, -1));
}

void ScreenView::mouseMoveEvent(QMouseEvent* event) {
  const PlacedLayer* l = LayerUnder(event->position().toPoint());
  const int index = l ? static_cast<int>(l - screen_.placed.data()) : -1;
  if (index == hovered_) return;
  hovered_ = index;
  setToolTip(l ? QString::fromStdString(l->path) : QString());
  update();
}

void ScreenView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  if (const PlacedLayer* l = LayerUnder(event->position().toPoint())) emit fileClicked(l->file);
}

void ScreenView::leaveEvent(QEvent*) {
  if (hovered_ < 0) return;
  hovered_ = -1;
  update();
}

ScreenPage::ScreenPage(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  auto* bar = new QHBoxLayout;
  auto* zoom_label = new QLabel(QStringLiteral("&Масштаб:"));
  zoom_ = new QComboBox;
  zoom_->setObjectName("ScreenZoom");
  zoom_->addItems({QStringLiteral("1:1"), QStringLiteral("2:1")});
  zoom_label->setBuddy(zoom_);
  bar->addWidget(zoom_label);
  bar->addWidget(zoom_);
  bar->addStretch();
  layout->addLayout(bar);

  note_ = new QLabel;
  note_->setObjectName("ScreenNote");
  note_->setWordWrap(true);
  note_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(note_);

  auto* area = new QScrollArea;
  row_ = new QWidget;
  row_layout_ = new QHBoxLayout(row_);
  row_layout_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  area->setWidget(row_);
  area->setWidgetResizable(true);
  layout->addWidget(area, 1);

  connect(zoom_, &QComboBox::currentIndexChanged, this, [this] {
    dirty_ = true;
    if (isVisible()) Draw();
  });
}

void ScreenPage::Render(const ThemeMap& map, const std::filesystem::path& map_path, const Theme* theme) {
  map_ = &map;
  map_path_ = map_path;
  theme_ = theme;
  dirty_ = true;
  if (isVisible()) Draw();
}

void ScreenPage::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (dirty_) Draw();
}

void ScreenPage::Draw() {
  dirty_ = false;
  for (ScreenView* v : views_) v->parentWidget()->deleteLater();
  views_.clear();
  while (QLayoutItem* item = row_layout_->takeAt(0)) delete item;
  if (!theme_ || !map_) {
    note_->setText(QStringLiteral("Откройте или создайте тему."));
    return;
  }

  ScreenLayouts layouts;
  const std::filesystem::path file = ScreenLayoutPath(map_path_);
  try {
    layouts = ReadScreenLayouts(map_path_, *map_);
  } catch (const SsfError& e) {
    note_->setText(QString::fromStdString(e.what()));
    return;
  }
  QString note;
  if (layouts.screens.empty() && layouts.errors.empty()) {
    note = QStringLiteral(
               "У этой модели нет раскладки экранов. Чтобы увидеть тему так, как её рисует телефон, "
               "положите рядом с картой файл %1: строка [Имя экрана], строка size = ШxВ и по строке "
               "«группа/файл = x,y» на каждый файл темы (формат описан в README и в man ssftool).")
               .arg(QStringFromPath(file));
  } else if (!layouts.errors.empty()) {
    note = QString::fromStdString(ScreenLayoutReport(Utf8FromPath(file.filename()), layouts));
  }

  const int zoom = zoom_->currentIndex() + 1;
  for (const ScreenLayout& screen : layouts.screens) {
    auto* column = new QWidget(row_);
    auto* column_layout = new QVBoxLayout(column);
    column_layout->setAlignment(Qt::AlignTop);
    auto* view = new ScreenView(column);
    RenderedScreen r = RenderScreen(screen, *theme_, *map_);
    QString tip;
    for (const std::string& why : r.left_out) tip += QString::fromStdString(why) + "\n";
    view->Show(std::move(r), zoom);
    auto* name = new QLabel(QString::fromStdString(screen.name), column);
    name->setAlignment(Qt::AlignHCenter);
    if (!tip.isEmpty()) {
      name->setText(name->text() + QStringLiteral(" (не нарисовано: %1)").arg(tip.count('\n')));
      name->setToolTip(tip.trimmed());
    }
    column_layout->addWidget(view);
    column_layout->addWidget(name);
    row_layout_->addWidget(column);
    connect(view, &ScreenView::fileClicked, this, &ScreenPage::fileClicked);
    views_.push_back(view);
  }
  note_->setText(note);
  note_->setVisible(!note.isEmpty());
}

}  // namespace ssf
