#pragma once
// The Ui of the command-line tool: messages are collected for the command to print,
// questions are answered No and dialogs are cancelled (a command never waits for input).
#include <string>
#include <string_view>
#include <vector>

#include "base/Ui.h"

namespace ssf::cli {

class CliUi : public Ui {
 public:
  struct Message {
    std::string text;
    int kind;
  };
  std::vector<Message> messages;

  void ShowMsg(const std::string& text, int kind) override {
    if (*MsgCaption(kind)) messages.push_back({text, kind});
  }
  bool AskYesNo(const std::string&, YesNoDefault) override { return false; }
  std::optional<FileDialogResult> OpenDialog(const FileDialogRequest&) override { return std::nullopt; }
  std::optional<FileDialogResult> SaveDialog(const FileDialogRequest&) override { return std::nullopt; }
  int ChooseMap(const std::vector<std::string>&) override { return 0; }
};

// A system message as the terminal shows it: CR LF becomes LF.
std::string ForTerminal(std::string text);

// A text from a file as one field of a tab-separated line: control characters (a TAB, a
// line end, a terminal's escape) and C1 controls become \t, \n, \r, \xHH or \u00HH, and
// a backslash \\, so the text can neither add a column or a line nor drive the terminal.
std::string ForColumn(std::string_view text);

}  // namespace ssf::cli
