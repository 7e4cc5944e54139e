// ssftool copy-colors SCHEME FIRST.tab SECOND.tab [--reverse]: the colour copy tool
// without its window. Prints the log as the window shows it.
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "tools/colours/ColorsCopy.h"
#include "tools/workbook/Workbook.h"
#include "platform/PathText.h"

namespace ssf::cli {

int CmdCopyColors(Context& ctx, const std::vector<std::string>& args) {
  std::vector<std::string> files;
  bool reverse = false;
  for (const std::string& a : args) {
    if (a == "--reverse") {
      reverse = true;
    } else if (!a.empty() && a[0] == '-' && a != "-") {
      throw UsageError{"неизвестный параметр '" + a + "'"};
    } else {
      files.push_back(a);
    }
  }
  if (files.size() != 3) throw UsageError{"нужны схема цветов и два файла цветов"};

  std::unique_ptr<Workbook> scheme = OpenWorkbook(PathFromUtf8(files[0]));
  ColorSchemeCheck check = CheckColorScheme(*scheme);
  if (!check.accepted) {
    ctx.err << check.error << "\n";
    return kExitFailed;
  }
  std::string caption = reverse ? CopyCaption(check.second_model, check.first_model)
                                : CopyCaption(check.first_model, check.second_model);
  const CopyDirection direction = reverse ? CopyDirection::kSecondToFirst : CopyDirection::kFirstToSecond;
  std::vector<std::string> log;
  try {
    CopyColors(*scheme, PathFromUtf8(files[1]), PathFromUtf8(files[2]), direction, caption, log);
  } catch (...) {
    for (const std::string& line : log) ctx.out << line << "\n";
    throw;
  }
  for (const std::string& line : log) ctx.out << line << "\n";
  return kExitOk;
}

}  // namespace ssf::cli
