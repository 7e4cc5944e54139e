#include <nlohmann/json.hpp>

#include "base/Cp1251.h"
#include "cli/CliTheme.h"
#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "theme/ThemeCheck.h"
#include "theme/ThemeHeader.h"
#include "platform/PathText.h"

namespace ssf::cli {

int CmdCheck(Context& ctx, const std::vector<std::string>& args) {
  std::string file;
  bool json = false;
  for (const std::string& a : args) {
    if (a == "--json") {
      json = true;
    } else if (file.empty() && !a.empty() && a[0] != '-') {
      file = a;
    } else {
      throw UsageError{"лишний аргумент '" + a + "'"};
    }
  }
  if (file.empty()) throw UsageError{"нужен файл темы"};

  using Json = nlohmann::ordered_json;
  std::optional<OpenedTheme> t;
  if (!json) {
    t = OpenTheme(ctx, PathFromUtf8(file));
    if (!t) return kExitFailed;
  } else {
    // A reader of the JSON gets an object in every case: the reason is its "error".
    std::string error;
    try {
      t = OpenTheme(ctx, PathFromUtf8(file), &error);
    } catch (const std::exception& e) {
      error = e.what();
      ctx.err << error << "\n";
    }
    if (!t) {
      Json j;
      j["theme"] = file;
      j["error"] = ForTerminal(error);
      ctx.out << j.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
      return kExitFailed;
    }
  }
  const ThemeCheckReport report = CheckTheme(t->theme, t->map);
  const int errors = report.Errors();
  const int warnings = report.Warnings();

  if (json) {
    Json j;
    j["theme"] = file;
    j["model"] = Cp1251ToUtf8(ThemeModel(t->theme));
    j["map"] = Utf8FromPath(t->map_path.filename());
    j["files"] = t->map.FilesCount;
    j["problems"] = Json::array();
    for (const CheckProblem& p : report.problems) {
      j["problems"].push_back({{"index", p.index < 0 ? Json(nullptr) : Json(p.index)},
                               {"path", p.path},
                               {"kind", CheckKindName(p.kind)},
                               {"severity", CheckSeverityName(p.severity)},
                               {"problem", p.text}});
    }
    // Captions and paths may hold bytes that are not UTF-8: they become U+FFFD, not an error.
    ctx.out << j.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
  } else {
    for (const CheckProblem& p : report.problems) {
      ctx.out << (p.index < 0 ? std::string("-") : std::to_string(p.index)) << '\t' << ForColumn(p.path) << '\t'
              << (p.severity == CheckSeverity::kWarning ? "предупреждение: " : "") << ForColumn(p.text) << "\n";
    }
    ctx.out << "Файлов: " << t->map.FilesCount << ", ошибок: " << errors << ", предупреждений: " << warnings << "\n";
  }
  return errors == 0 ? kExitOk : kExitFailed;
}

}  // namespace ssf::cli
