#pragma once
// The file-list editor window: two pages converting FLC to FLM and FLM to FLC. The
// handlers live in ssf::FileListEditor; this class holds the widgets and the wiring.
//
// A save runs on the window's thread; between records it repaints the progress bar and
// lets the event loop run at most every few tens of milliseconds, so a long list moves
// the bar and the window keeps painting. While a save runs the pages and "ОК" are
// disabled and the window refuses to close.
#include <QDialog>
#include <QElapsedTimer>
#include <functional>

#include "base/IniDocument.h"
#include "base/Ui.h"
#include "tools/filelists/FileListEditor.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTabWidget;

class TForm_FileList_Editor : public QDialog {
  Q_OBJECT

 public:
  TForm_FileList_Editor(QWidget* parent, ssf::Ui& ui, ssf::IniDocument& settings);

  const ssf::FileListEditor& Editor() const { return editor_; }
  bool IsBusy() const { return busy_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 public slots:
  void reject() override;

 private slots:
  void btn_FLC_OpenFLCClick();
  void btn_FLC_SaveFLMClick();
  void btn_FLM_OpenFLMClick();
  void btn_FLM_SaveFLCClick();

 private:
  void FormActivate();
  // Runs a handler; an error it raises is reported and ends only that step.
  void RunHandler(const std::function<void()>& handler);
  void OnProgress();
  void Render();

  ssf::Ui& ui_;
  ssf::FileListEditor editor_;
  bool busy_ = false;
  QElapsedTimer since_pump_;

  QTabWidget* PCtrl = nullptr;
  QLabel* lbl_FLC_Counter = nullptr;
  QPushButton* btn_FLC_OpenFLC = nullptr;
  QPushButton* btn_FLC_SaveFLM = nullptr;
  QProgressBar* PBar_FLC = nullptr;
  QLabel* lbl_FLM_Counter = nullptr;
  QPushButton* btn_FLM_OpenFLM = nullptr;
  QPushButton* btn_FLM_SaveFLC = nullptr;
  QProgressBar* PBar_FLM = nullptr;
  QPushButton* btn_exit = nullptr;
};
