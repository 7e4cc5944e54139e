#pragma once
// Everything a handler asks or tells the user goes through this interface. The Qt shell
// implements it with real dialogs; tests use a scripted one. Texts are UTF-8; line
// breaks inside message texts are "\r\n" as the program writes them.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace ssf {

// Message box kinds and their captions.
inline constexpr int kMsgError = 16;        // "Ошибка"
inline constexpr int kMsgWarning = 48;      // "Внимание"
inline constexpr int kMsgInformation = 64;  // "Информация"

// Caption of a message box kind, or empty for a kind that shows nothing.
const char* MsgCaption(int kind);

// The button a Yes/No question starts on: its safe answer. Yes where Yes keeps work
// ("Сохранить тему перед выходом?"), No where Yes loses it (discarding changes, replacing
// a file).
enum class YesNoDefault { kYes, kNo };

// The answer to a question that may also be called off: Cancel (Esc, or closing the box)
// leaves everything as it was.
enum class YesNoCancel { kYes, kNo, kCancel };

struct FileDialogRequest {
  // Filter as "description|pattern|description|pattern", patterns separated by ';'.
  std::string filter;
  std::filesystem::path initial_dir;
  std::string file_name;
  bool ask_overwrite = false;  // save dialogs: ask before replacing an existing file
};

struct FileDialogResult {
  std::filesystem::path path;
  int filter_index = 1;  // 1 for the first description|pattern pair
};

class Ui {
 public:
  virtual ~Ui() = default;

  // A modal message box with one OK button. Kinds other than 16, 48, 64 show nothing.
  virtual void ShowMsg(const std::string& text, int kind) = 0;
  // A Yes/No confirmation box starting on `safe`; true for Yes.
  virtual bool AskYesNo(const std::string& text, YesNoDefault safe) = 0;
  // A Yes/No/Cancel box starting on `safe`. Without a user to call it off, it is the
  // Yes/No question.
  virtual YesNoCancel AskYesNoCancel(const std::string& text, YesNoDefault safe) {
    return AskYesNo(text, safe) ? YesNoCancel::kYes : YesNoCancel::kNo;
  }
  virtual std::optional<FileDialogResult> OpenDialog(const FileDialogRequest& request) = 0;
  virtual std::optional<FileDialogResult> SaveDialog(const FileDialogRequest& request) = 0;
  // The map chooser: shows the models and returns the index of the chosen one. It has
  // no cancel: closing it by any means returns the selected item.
  virtual int ChooseMap(const std::vector<std::string>& models) = 0;
};

}  // namespace ssf
