#pragma once
// The colour copy window's behaviour without widgets: its handlers work on a plain view
// state that the Qt window renders, and talk to the user through Ui. The chosen folders
// are kept in section CopyColors of the settings.
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/IniDocument.h"
#include "base/Ui.h"
#include "tools/colours/ColorsCopy.h"
#include "tools/workbook/Workbook.h"

namespace ssf {

// What the window shows.
struct ColorsCopyView {
  // File names shown in the three labels, and the full paths kept as their tooltips.
  std::string scheme_name, first_name, second_name;
  std::filesystem::path scheme_path, first_path, second_path;
  std::string first_to_second_caption, second_to_first_caption;
  bool copy_enabled = false;
  std::vector<std::string> log;
};

inline constexpr char kColorsCopySection[] = "CopyColors";
inline constexpr char kSchemeFilter[] =
    "Файл схемы цветов (*.xls)|*.xls|Файл схемы цветов (*.xlsx)|*.xlsx|Файл схемы цветов (*.ods)|*.ods";
inline constexpr char kColorFileFilter[] = "Файл цветов (*.tab)|*.tab";

class ColorsCopyTool {
 public:
  using WorkbookOpener = std::function<std::unique_ptr<Workbook>(const std::filesystem::path&)>;

  ColorsCopyTool(Ui& ui, IniDocument& settings, WorkbookOpener open_workbook = OpenWorkbook);

  const ColorsCopyView& View() const { return view_; }
  bool HasScheme() const { return scheme_ != nullptr; }

  // Each showing starts with empty labels and captions, disabled copy buttons and an
  // empty log; the scheme read before and the tooltips stay.
  void FormActivate();
  // Drops the scheme; harmless when there is none.
  void FormClose();
  // The three "Обзор" buttons, told apart by the clicked control's name:
  // "btn_OpenColorScheme", "btn_OpenFirstFile", "btn_OpenSecondFile".
  void btn_OpenColorSchemeClick(std::string_view sender_name);
  // Both copy buttons; "btn_CopyFromSecondToFirst" copies second to first.
  void btn_CopyFromFirstToSecondClick(std::string_view sender_name);

 private:
  void ChooseScheme();
  void ChooseColorFile(bool first);
  void UpdateCopyEnabled();

  Ui& ui_;
  IniDocument& settings_;
  WorkbookOpener open_workbook_;
  std::unique_ptr<Workbook> scheme_;
  ColorsCopyView view_;
};

}  // namespace ssf
