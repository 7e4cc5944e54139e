#pragma once
// The empty window's welcome: what the editor is for, "Создать тему", "Открыть тему" and
// the themes opened last, one click each.
#include <QFrame>
#include <filesystem>
#include <vector>

class QLabel;
class QPushButton;
class QVBoxLayout;

namespace ssf {

class WelcomePanel : public QFrame {
  Q_OBJECT
 public:
  explicit WelcomePanel(QWidget* parent = nullptr);
  // Lists these themes, newest first; buttons are remade only when the list changes.
  void SetRecent(const std::vector<std::filesystem::path>& recent);

 signals:
  void createClicked();
  void openClicked();
  void recentClicked(const QString& path);

 private:
  QVBoxLayout* recent_layout_;
  QLabel* recent_title_;
  std::vector<std::filesystem::path> recent_;
  std::vector<QPushButton*> recent_buttons_;
};

}  // namespace ssf
