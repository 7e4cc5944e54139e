#pragma once
// TMainForm: the editor's main window. It holds widgets and wiring only: every event
// goes to a handler of the core, then the window shows the editor's ViewState again.
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "shell/ItemInfoPanel.h"
#include "shell/MainFormLayout.h"
#include "shell/ThemeCheckDialog.h"
#include "editor/Editor.h"
#include "theme/ThemeCheck.h"
#include "theme/HeaderEdit.h"

class QAction;
class QDialog;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QMimeData;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace ssf {

class OverviewPage;
class WelcomePanel;
class ScreenPage;
class ThemeCheckWorker;
class TForm_AboutProgramm;
class SsfAssociation;

class TMainForm : public QMainWindow {
  Q_OBJECT
 public:
  explicit TMainForm(Editor& editor, QWidget* parent = nullptr);

  // The start-up part of FormCreate: opens the theme the parameters name, if any.
  void OpenStartupFile(const std::vector<std::string>& params);
  void SetAboutDialog(TForm_AboutProgramm* about) { about_ = about; }
  // The two tool windows, shown modally from the menu "Дополнительно".
  void SetToolWindows(QDialog* file_list_editor, QDialog* colors_copy);
  // The .ssf association behind "Ассоциировать с SSF"; sets the item's check mark.
  // `checked` is the association's state, taken at start-up before settings are read.
  void SetAssociation(SsfAssociation* association, bool checked);

  // Shows the editor's ViewState (and its group tree) in the widgets.
  void Render();

  // The event boundary: runs a handler, shows any error it raises in an error box,
  // then shows the state as the handler left it. Returns false when it failed.
  bool RunHandler(const std::function<void()>& handler);

  Editor& editor() { return editor_; }

 signals:
  // Render has shown the state: for the parts of the window built elsewhere.
  void Rendered();

 protected:
  void setVisible(bool visible) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  // Clicks on the icon, and pictures dropped on the information panel.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void BuildOtherPage();
  void BuildMenu();
  void ApplyLayout();
  void RenderTree();
  void RestorePlacement();
  // A double click on colour n of the selected colour table: the colour chooser, then the change.
  void EditColour(int n);
  void HeaderEdited(QLineEdit* edit, const HeaderField& field, const QString& text);
  // The theme check's parts, in MainFormCheck.cpp: the page "Обзор", "Проверить тему" and
  // the marks of the tree.
  void BuildThemeCheck();
  void RenderThemeCheck();
  void FitOverviewPage();
  // "Перенести на другую модель…": the dialog, then the carrying with its progress.
  void PortThemeClick();
  // Status panel 1 gives way to the check's summary when that is shown.
  void FitStatusPanels();
  // Selects theme file k in the tree and shows it on the page "Файлы".
  void ShowThemeFile(int k);
  // Moves a tool window next to the main window, within the screen.
  void PlaceBeside(QWidget* window);
  // The one local file a drag carries, or an empty path.
  static std::string DraggedFile(const QMimeData* mime);

  Editor& editor_;
  TForm_AboutProgramm* about_ = nullptr;
  QDialog* file_list_editor_ = nullptr;
  QDialog* colors_copy_ = nullptr;
  SsfAssociation* association_ = nullptr;
  bool placement_restored_ = false;
  std::vector<GroupNode> rendered_tree_;         // what TV shows
  std::vector<QTreeWidgetItem*> tree_items_;     // by flat index
  int collapse_count_seen_ = 0;                  // ViewState::TV_collapse_count last applied
  int expand_count_seen_ = 0;                    // ViewState::TV_expand_count last applied

  QTabWidget* PCtrl;
  QWidget* TShit_1Files;
  QWidget* TShit_2Other;
  QTreeWidget* TV;
  QLabel* lbl_1;
  QLabel* lbl_2;
  QLabel* lbl_3;
  QLabel* lbl_4;
  QLineEdit* ED_ThemeAuthor;
  QLineEdit* ED_ThemeName;
  QLineEdit* ED_ThemeVersion;
  QComboBox* CBox_ThemeType;
  QFrame* Pnl_ThemeIcon;
  QLabel* IMG_ThemeIcon;
  QFrame* Pnl_ItemInfo;
  WelcomePanel* Pnl_Welcome;  // the empty window's welcome, where the information panel goes
  std::unique_ptr<ItemInfoPanel> item_info_;  // the controls inside Pnl_ItemInfo
  QPushButton* btn_LoadFile;  // "Загрузить"
  QPushButton* btn_SaveFile;  // "Сохранить"
  QLabel* SBar_Panels[3];
  QLabel* SBar_Check = nullptr;  // the check counted once, with a link to "Проверить тему"
  QMenu* PM;
  OverviewPage* TShit_3Overview = nullptr;
  ScreenPage* TShit_4Screens = nullptr;  // "Экран телефона"
  ThemeCheckCache check_;
  ThemeCheckWorker* check_worker_ = nullptr;  // checks of files slow to check
  QPointer<ThemeCheckDialog> check_dialog_;  // "Проверить тему", open beside the window

  QAction* MM_Child_CreateTheme;
  QAction* MM_Child_OpenTheme;
  QAction* MM_Child_Save;       // "Сохранить": back to the theme's file
  QAction* MM_Child_SaveTheme;  // "Сохранить как…"
  QAction* MM_Child_PortTheme;  // "Перенести на другую модель…", in MainFormPort.cpp
  QAction* MM_Child_RegEditSSF;
  QAction* MM_Child_Exit;
  QAction* MM_Child_ImportRes;
  QAction* MM_Child_ExportRes;
  QAction* MM_Child_CheckTheme;
  QAction* MM_Child_FileListEditor;
  QAction* MM_Child_ColorsCopy;
  QAction* MM_Child_AboutProgramm;
};

// The caption "Quillbay SSF Manager v2.0 Build <build>".
QString MainFormCaption();

}  // namespace ssf
