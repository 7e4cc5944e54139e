#pragma once
// What any desktop editor has, added to the main window from outside its own menu code:
// "Правка" with undo and redo, the usual shortcuts, the recent themes and "Сохранить
// черновик…" in "Файл", the check item "Подгонять размер изображений", opening a theme dropped anywhere on the window, and
// the program's icon.
#include <QObject>
#include <filesystem>

class QAction;
class QMenu;
class QMimeData;

namespace ssf {

class TMainForm;

class EditorHabits : public QObject {
  Q_OBJECT
 public:
  explicit EditorHabits(TMainForm& form);

  // Undo and redo enabled as the history allows.
  void Refresh();
  // Lists the recent themes in their submenu (done as it opens).
  void FillRecentMenu();

  QAction* MM_Child_Undo;
  QAction* MM_Child_Redo;
  QAction* MM_Child_FitPictures;
  QAction* MM_Child_SaveDraft;  // "Сохранить черновик…", after "Сохранить как…"
  QMenu* MM_Child_RecentThemes;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildEditMenu();
  void SetShortcuts();
  void BuildRecentMenu();
  void BuildFitItem();
  void BuildDraftItem();
  void SetIcon();
  // Makes imports ask how to fit a picture of another size while the item is checked.
  void ApplyFitSetting();

  TMainForm& form_;
};

// The theme a drag carries: one local file named *.ssf, or an empty path.
std::filesystem::path DraggedTheme(const QMimeData* mime);

}  // namespace ssf
