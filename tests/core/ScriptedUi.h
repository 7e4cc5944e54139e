#pragma once
// A Ui for tests: answers questions and dialogs from queues and records everything it
// was asked or told. A dialog or question with no scripted answer fails the test.
#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "base/Ui.h"

namespace ssf::test {

class ScriptedUi : public Ui {
 public:
  struct Message {
    std::string text;
    int kind;
  };

  // Scripted answers, taken in order.
  std::deque<bool> yes_no_answers;
  // Answers to Yes/No/Cancel questions; when none is left, the next Yes/No answer is taken.
  std::deque<YesNoCancel> three_way_answers;
  std::deque<std::optional<FileDialogResult>> open_answers;
  std::deque<std::optional<FileDialogResult>> save_answers;
  std::deque<int> map_choices;

  // What happened.
  std::vector<Message> messages;
  std::vector<std::string> questions;
  std::vector<YesNoDefault> question_defaults;  // the button each question started on
  std::vector<FileDialogRequest> open_requests;
  std::vector<FileDialogRequest> save_requests;
  std::vector<std::vector<std::string>> map_lists;

  void AnswerOpen(const std::filesystem::path& path, int filter_index = 1) {
    open_answers.push_back(FileDialogResult{path, filter_index});
  }
  void AnswerSave(const std::filesystem::path& path, int filter_index = 1) {
    save_answers.push_back(FileDialogResult{path, filter_index});
  }
  void CancelOpen() { open_answers.push_back(std::nullopt); }
  void CancelSave() { save_answers.push_back(std::nullopt); }

  void ShowMsg(const std::string& text, int kind) override {
    if (kind == kMsgError || kind == kMsgWarning || kind == kMsgInformation) messages.push_back({text, kind});
  }
  bool AskYesNo(const std::string& text, YesNoDefault safe) override {
    questions.push_back(text);
    question_defaults.push_back(safe);
    if (yes_no_answers.empty()) {
      ADD_FAILURE() << "unexpected question: " << text;
      return false;
    }
    bool a = yes_no_answers.front();
    yes_no_answers.pop_front();
    return a;
  }
  YesNoCancel AskYesNoCancel(const std::string& text, YesNoDefault safe) override {
    if (three_way_answers.empty()) return AskYesNo(text, safe) ? YesNoCancel::kYes : YesNoCancel::kNo;
    questions.push_back(text);
    question_defaults.push_back(safe);
    YesNoCancel a = three_way_answers.front();
    three_way_answers.pop_front();
    return a;
  }
  std::optional<FileDialogResult> OpenDialog(const FileDialogRequest& r) override {
    open_requests.push_back(r);
    return Take(open_answers, "open dialog");
  }
  std::optional<FileDialogResult> SaveDialog(const FileDialogRequest& r) override {
    save_requests.push_back(r);
    return Take(save_answers, "save dialog");
  }
  int ChooseMap(const std::vector<std::string>& models) override {
    map_lists.push_back(models);
    if (map_choices.empty()) return 0;
    int c = map_choices.front();
    map_choices.pop_front();
    return c;
  }

  // The only message shown so far, or a failure when there were none or several.
  Message OnlyMessage() const {
    EXPECT_EQ(messages.size(), 1u);
    return messages.empty() ? Message{"", 0} : messages.back();
  }

 private:
  static std::optional<FileDialogResult> Take(std::deque<std::optional<FileDialogResult>>& q,
                                              const char* what) {
    if (q.empty()) {
      ADD_FAILURE() << "unexpected " << what;
      return std::nullopt;
    }
    auto a = q.front();
    q.pop_front();
    return a;
  }
};

}  // namespace ssf::test
