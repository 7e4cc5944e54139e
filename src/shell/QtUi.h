#pragma once
// The Ui of the running program: real message boxes, file dialogs and the map chooser.
#include <QPointer>
#include <functional>
#include <QWidget>

#include "base/Ui.h"

namespace ssf {

class TForm_ChooseRXT;

class QtUi : public Ui {
 public:
  // Dialogs are owned by `parent` (the main window, once it exists).
  void SetParent(QWidget* parent) { parent_ = parent; }
  void SetChooser(TForm_ChooseRXT* chooser) { chooser_ = chooser; }
  // Runs before every modal call, so the window shows what the handler has changed so far
  // (status panels, counts) beneath the box, not only after it closes.
  void SetBeforeModal(std::function<void()> before) { before_modal_ = std::move(before); }

  void ShowMsg(const std::string& text, int kind) override;
  bool AskYesNo(const std::string& text, YesNoDefault safe) override;
  YesNoCancel AskYesNoCancel(const std::string& text, YesNoDefault safe) override;
  std::optional<FileDialogResult> OpenDialog(const FileDialogRequest& request) override;
  std::optional<FileDialogResult> SaveDialog(const FileDialogRequest& request) override;
  int ChooseMap(const std::vector<std::string>& models) override;

 private:
  std::optional<FileDialogResult> RunFileDialog(const FileDialogRequest& request, bool save);
  void BeforeModal() const {
    if (before_modal_) before_modal_();
  }

  QPointer<QWidget> parent_;
  QPointer<TForm_ChooseRXT> chooser_;
  std::function<void()> before_modal_;
};

// Message text as Qt shows it: "\r\n" line breaks become "\n".
QString MessageText(const std::string& text);

}  // namespace ssf
