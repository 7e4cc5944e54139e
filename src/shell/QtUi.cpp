#include "shell/QtUi.h"
#include "shell/QtPathText.h"

#include <QFileDialog>
#include <QMessageBox>

#include "shell/FileFilter.h"
#include "shell/MapChooserDialog.h"

namespace ssf {

QString MessageText(const std::string& text) {
  QString s = QString::fromStdString(text);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return s;
}

void QtUi::ShowMsg(const std::string& text, int kind) {
  QMessageBox::Icon icon;
  switch (kind) {
    case kMsgError: icon = QMessageBox::Critical; break;
    case kMsgWarning: icon = QMessageBox::Warning; break;
    case kMsgInformation: icon = QMessageBox::Information; break;
    default: return;
  }
  BeforeModal();
  QMessageBox box(icon, QString::fromUtf8(MsgCaption(kind)), MessageText(text), QMessageBox::Ok, parent_);
  box.setObjectName("ShowMsg");
  box.exec();
}

bool QtUi::AskYesNo(const std::string& text, YesNoDefault safe) {
  BeforeModal();
  QMessageBox box(QMessageBox::Question, QStringLiteral("Подтверждение"), MessageText(text),
                  QMessageBox::Yes | QMessageBox::No, parent_);
  box.setObjectName("AskYesNo");
  box.setDefaultButton(safe == YesNoDefault::kYes ? QMessageBox::Yes : QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

YesNoCancel QtUi::AskYesNoCancel(const std::string& text, YesNoDefault safe) {
  BeforeModal();
  QMessageBox box(QMessageBox::Question, QStringLiteral("Подтверждение"), MessageText(text),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent_);
  box.setObjectName("AskYesNoCancel");
  box.setDefaultButton(safe == YesNoDefault::kYes ? QMessageBox::Yes : QMessageBox::No);
  // Esc and the title bar's close button call the question off rather than answer No.
  box.setEscapeButton(QMessageBox::Cancel);
  switch (box.exec()) {
    case QMessageBox::Yes: return YesNoCancel::kYes;
    case QMessageBox::No: return YesNoCancel::kNo;
    default: return YesNoCancel::kCancel;
  }
}

std::optional<FileDialogResult> QtUi::RunFileDialog(const FileDialogRequest& request, bool save) {
  BeforeModal();
  QFileDialog dialog(parent_);
  dialog.setObjectName(save ? "SD" : "OD");
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !(save && request.ask_overwrite));
  dialog.setSizeGripEnabled(true);

  std::vector<std::string> filters = QtNameFilters(request.filter);
  QStringList qt_filters;
  for (const std::string& f : filters) qt_filters << QString::fromStdString(f);
  if (!qt_filters.isEmpty()) dialog.setNameFilters(qt_filters);

  if (!request.initial_dir.empty()) {
    dialog.setDirectory(QStringFromPath(request.initial_dir));
  }
  if (!request.file_name.empty()) dialog.selectFile(QString::fromStdString(request.file_name));

  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return std::nullopt;
  FileDialogResult result;
  result.path = PathFromQString(files.first());
  result.filter_index = FilterIndex(filters, dialog.selectedNameFilter().toStdString());
  return result;
}

std::optional<FileDialogResult> QtUi::OpenDialog(const FileDialogRequest& request) {
  return RunFileDialog(request, false);
}

std::optional<FileDialogResult> QtUi::SaveDialog(const FileDialogRequest& request) {
  return RunFileDialog(request, true);
}

int QtUi::ChooseMap(const std::vector<std::string>& models) {
  BeforeModal();
  if (chooser_) return chooser_->Choose(models);
  TForm_ChooseRXT chooser(parent_);
  return chooser.Choose(models);
}

}  // namespace ssf
