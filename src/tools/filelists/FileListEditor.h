#pragma once
// The handlers of the file-list editor window: FLC to FLM on the first page, FLM to FLC
// on the second. They talk to the user through Ui, keep their folders in the settings
// section "FileList Editor" and write what the window shows into FileListEditorView.
// Errors of reading or writing a file leave as SsfError; the window reports them.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "base/IniDocument.h"
#include "base/Ui.h"
#include "tools/filelists/FileListTables.h"

namespace ssf {

inline constexpr const char* kFileListSection = "FileList Editor";
inline constexpr const char* kFlcFilter = "Файл-лист компьютера (*.flc)|*.flc";
inline constexpr const char* kFlmFilter = "Файл-лист телефона (*.flm)|*.flm";

struct FileListEditorView {
  int PCtrl_page = 0;
  std::string lbl_FLC_Counter;
  std::string lbl_FLM_Counter;
  bool btn_FLC_SaveFLM_enabled = false;
  bool btn_FLM_SaveFLC_enabled = false;
  int64_t PBar_FLC_position = 0;
  int64_t PBar_FLC_max = 0;
  int64_t PBar_FLM_position = 0;
  int64_t PBar_FLM_max = 0;
};

class FileListEditor {
 public:
  // Called while a save runs, after the view's progress moved.
  using ProgressHook = std::function<void()>;

  FileListEditor(Ui& ui, IniDocument& settings) : ui_(ui), settings_(settings) {}

  void FormActivate();
  void btn_FLC_OpenFLCClick();
  void btn_FLC_SaveFLMClick(const ProgressHook& hook = {});
  void btn_FLM_OpenFLMClick();
  void btn_FLM_SaveFLCClick(const ProgressHook& hook = {});

  const FileListEditorView& View() const { return view_; }
  const FileListTables& Tables() const { return tables_; }
  const std::filesystem::path& AcceptedFLM() const { return accepted_flm_; }

 private:
  std::optional<std::filesystem::path> AskOpen(const char* filter, const char* key);
  // The chosen name with `ext` forced; empty when cancelled or the user declined to
  // replace the file the forced name points to.
  std::optional<std::filesystem::path> AskSave(const char* filter, const char* key, const char* ext);

  Ui& ui_;
  IniDocument& settings_;
  FileListTables tables_;
  std::filesystem::path accepted_flm_;
  FileListEditorView view_;
};

// The question asked when a forced extension leads to another file that exists.
std::string ReplaceFileQuestion(const std::filesystem::path& file);

}  // namespace ssf
