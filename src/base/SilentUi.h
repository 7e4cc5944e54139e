#pragma once
// A Ui for work without a user (benchmarks, fuzzing): it shows nothing, answers No,
// cancels every dialog and takes the first map. Derive from it to answer one call.
#include "base/Ui.h"

namespace ssf {

class SilentUi : public Ui {
 public:
  void ShowMsg(const std::string&, int) override {}
  bool AskYesNo(const std::string&, YesNoDefault) override { return false; }
  std::optional<FileDialogResult> OpenDialog(const FileDialogRequest&) override { return std::nullopt; }
  std::optional<FileDialogResult> SaveDialog(const FileDialogRequest&) override { return std::nullopt; }
  int ChooseMap(const std::vector<std::string>&) override { return 0; }
};

}  // namespace ssf
