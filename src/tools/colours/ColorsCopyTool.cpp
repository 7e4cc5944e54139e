#include "tools/colours/ColorsCopyTool.h"

#include <exception>

#include "base/MemoryShortage.h"
#include "base/SsfError.h"
#include "platform/PathText.h"

namespace ssf {

namespace {

constexpr char kSchemePathKey[] = "ColorSchemePath";
constexpr char kFirstPathKey[] = "FirstFilePath";
constexpr char kSecondPathKey[] = "SecondFilePath";

// Errors end the handler and go to the error report; what was done before stays.
template <typename Fn>
void Guarded(Ui& ui, Fn&& fn) {
  try {
    fn();
  } catch (const std::exception& e) {
    ui.ShowMsg(ErrorText(e), kMsgError);
  }
}

}  // namespace

ColorsCopyTool::ColorsCopyTool(Ui& ui, IniDocument& settings, WorkbookOpener open_workbook)
    : ui_(ui), settings_(settings), open_workbook_(std::move(open_workbook)) {}

void ColorsCopyTool::FormActivate() {
  view_.scheme_name.clear();
  view_.first_name.clear();
  view_.second_name.clear();
  view_.first_to_second_caption.clear();
  view_.second_to_first_caption.clear();
  view_.copy_enabled = false;
  view_.log.clear();
}

void ColorsCopyTool::FormClose() { scheme_.reset(); }

void ColorsCopyTool::btn_OpenColorSchemeClick(std::string_view sender_name) {
  Guarded(ui_, [&] {
    if (sender_name == "btn_OpenColorScheme") {
      ChooseScheme();
    } else if (sender_name == "btn_OpenFirstFile") {
      ChooseColorFile(true);
    } else if (sender_name == "btn_OpenSecondFile") {
      ChooseColorFile(false);
    }
    UpdateCopyEnabled();
  });
}

void ColorsCopyTool::ChooseScheme() {
  FileDialogRequest request;
  request.filter = kSchemeFilter;
  request.initial_dir = PathFromUtf8(settings_.ReadString(kColorsCopySection, kSchemePathKey));
  auto chosen = ui_.OpenDialog(request);
  if (!chosen) return;
  view_.log.clear();
  // A workbook that cannot be read stores nothing, and keeps the scheme accepted before.
  std::unique_ptr<Workbook> book = open_workbook_(chosen->path);
  settings_.WriteString(kColorsCopySection, kSchemePathKey, Utf8FromPath(chosen->path.parent_path()));
  ColorSchemeCheck check = CheckColorScheme(*book);
  if (!check.accepted) {
    // The copy buttons keep their captions, so they must keep the scheme those name.
    view_.log.push_back(check.error);
    return;
  }
  scheme_ = std::move(book);
  view_.first_to_second_caption = CopyCaption(check.first_model, check.second_model);
  view_.second_to_first_caption = CopyCaption(check.second_model, check.first_model);
  view_.scheme_name = Utf8FromPath(chosen->path.filename());
  view_.scheme_path = chosen->path;
}

void ColorsCopyTool::ChooseColorFile(bool first) {
  const char* key = first ? kFirstPathKey : kSecondPathKey;
  FileDialogRequest request;
  request.filter = kColorFileFilter;
  request.initial_dir = PathFromUtf8(settings_.ReadString(kColorsCopySection, key));
  request.ask_overwrite = false;  // a name that does not exist yet may be given
  auto chosen = ui_.SaveDialog(request);
  if (!chosen) return;
  view_.log.clear();
  (first ? view_.first_name : view_.second_name) = Utf8FromPath(chosen->path.filename());
  (first ? view_.first_path : view_.second_path) = chosen->path;
  settings_.WriteString(kColorsCopySection, key, Utf8FromPath(chosen->path.parent_path()));
}

void ColorsCopyTool::UpdateCopyEnabled() {
  if (!view_.scheme_name.empty() && !view_.first_name.empty() && !view_.second_name.empty()) {
    view_.copy_enabled = true;
  }
}

void ColorsCopyTool::btn_CopyFromFirstToSecondClick(std::string_view sender_name) {
  Guarded(ui_, [&] {
    view_.log.clear();
    if (scheme_ == nullptr) return;
    const CopyDirection direction = CopyDirectionOf(sender_name);
    const std::string& caption = direction == CopyDirection::kSecondToFirst ? view_.second_to_first_caption
                                                                            : view_.first_to_second_caption;
    CopyColors(*scheme_, view_.first_path, view_.second_path, direction, caption, view_.log);
  });
}

}  // namespace ssf
