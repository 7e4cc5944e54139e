#pragma once
// The page "Экран телефона": the screens of the model's layout drawn from the open theme,
// side by side at 1:1 or 2:1. Hovering a layer outlines it and shows its path; a click asks
// to show that theme file on the page "Файлы". Screens are drawn only while the page is
// seen, so edits elsewhere cost nothing.
#include <QWidget>
#include <filesystem>
#include <vector>

#include "theme/ScreenRender.h"

class QComboBox;
class QHBoxLayout;
class QLabel;

namespace ssf {

// One drawn screen.
class ScreenView : public QWidget {
  Q_OBJECT
 public:
  explicit ScreenView(QWidget* parent = nullptr);
  void Show(RenderedScreen screen, int zoom);
  const RenderedScreen& screen() const { return screen_; }
  // Index into screen().placed of the outlined layer, or -1.
  int hovered() const { return hovered_; }
  QSize sizeHint() const override;

 signals:
  void fileClicked(int file);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  const PlacedLayer* LayerUnder(const QPoint& pos) const;

  RenderedScreen screen_;
  QImage picture_;
  int zoom_ = 1;
  int hovered_ = -1;
};

class ScreenPage : public QWidget {
  Q_OBJECT
 public:
  explicit ScreenPage(QWidget* parent = nullptr);

  // The theme to show; nullptr (no theme) empties the page. The map and theme must stay
  // alive until the next call: the page draws from them when it is shown.
  void Render(const ThemeMap& map, const std::filesystem::path& map_path, const Theme* theme);

  QComboBox* zoom() const { return zoom_; }
  const std::vector<ScreenView*>& views() const { return views_; }
  QLabel* note() const { return note_; }

 signals:
  void fileClicked(int file);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Draw();

  QComboBox* zoom_;
  QLabel* note_;
  QWidget* row_;
  QHBoxLayout* row_layout_;
  std::vector<ScreenView*> views_;
  const ThemeMap* map_ = nullptr;
  std::filesystem::path map_path_;
  const Theme* theme_ = nullptr;
  bool dirty_ = true;
};

}  // namespace ssf
