#include "tools/filelists/FileListEditor.h"

#include <system_error>

#include "base/FileIO.h"
#include "tools/filelists/FlmFile.h"
#include "platform/PathText.h"

namespace ssf {

namespace fs = std::filesystem;

std::string ReplaceFileQuestion(const fs::path& file) {
  return "Файл " + Utf8FromPath(file) + " уже существует.\r\nЗаменить его?";
}

void FileListEditor::FormActivate() {
  view_.PCtrl_page = 0;
  view_.lbl_FLC_Counter.clear();
  view_.lbl_FLM_Counter.clear();
  view_.btn_FLC_SaveFLM_enabled = false;
  view_.btn_FLM_SaveFLC_enabled = false;
  view_.PBar_FLC_position = 0;
  view_.PBar_FLM_position = 0;
}

std::optional<fs::path> FileListEditor::AskOpen(const char* filter, const char* key) {
  FileDialogRequest request;
  request.filter = filter;
  request.initial_dir = PathFromUtf8(settings_.ReadString(kFileListSection, key));
  auto chosen = ui_.OpenDialog(request);
  if (!chosen) return std::nullopt;
  settings_.WriteString(kFileListSection, key, Utf8FromPath(chosen->path.parent_path()));
  return chosen->path;
}

std::optional<fs::path> FileListEditor::AskSave(const char* filter, const char* key, const char* ext) {
  FileDialogRequest request;
  request.filter = filter;
  request.initial_dir = PathFromUtf8(settings_.ReadString(kFileListSection, key));
  request.ask_overwrite = true;
  auto chosen = ui_.SaveDialog(request);
  if (!chosen) return std::nullopt;
  fs::path file = ForceExtension(chosen->path, ext);
  settings_.WriteString(kFileListSection, key, Utf8FromPath(file.parent_path()));
  // The dialog asked about the confirmed name only; a different file would be replaced
  // without a word.
  std::error_code ec;
  if (file != chosen->path && fs::exists(file, ec) && !ui_.AskYesNo(ReplaceFileQuestion(file), YesNoDefault::kNo)) {
    return std::nullopt;
  }
  return file;
}

void FileListEditor::btn_FLC_OpenFLCClick() {
  auto file = AskOpen(kFlcFilter, "FLC Open");
  if (!file) return;
  FlcLoadResult result = tables_.LoadFLC(*file);
  view_.lbl_FLC_Counter = FlcCounterText(result, tables_.FileListCount());
  view_.btn_FLC_SaveFLM_enabled = result.ok();
  if (result.ok()) view_.PBar_FLC_position = 0;
}

void FileListEditor::btn_FLC_SaveFLMClick(const ProgressHook& hook) {
  auto file = AskSave(kFlmFilter, "FLM Save", ".flm");
  if (!file) return;
  WriteFLM(tables_, *file, [&](int64_t done, int64_t total) {
    view_.PBar_FLC_max = total;
    view_.PBar_FLC_position = done;
    if (hook) hook();
  });
}

void FileListEditor::btn_FLM_OpenFLMClick() {
  auto file = AskOpen(kFlmFilter, "FLM Open");
  if (!file) return;
  FlmCheckResult result = CheckFLM(*file);
  view_.lbl_FLM_Counter = FlmCounterText(result);
  view_.btn_FLM_SaveFLC_enabled = result.ok();
  if (result.ok()) {
    view_.PBar_FLM_position = 0;
    accepted_flm_ = *file;
  }
}

void FileListEditor::btn_FLM_SaveFLCClick(const ProgressHook& hook) {
  auto file = AskSave(kFlcFilter, "FLC Save", ".flc");
  if (!file) return;
  WriteFLCFromFLM(accepted_flm_, *file, [&](int64_t done, int64_t total) {
    view_.PBar_FLM_max = total;
    view_.PBar_FLM_position = done;
    if (hook) hook();
  });
}

}  // namespace ssf
