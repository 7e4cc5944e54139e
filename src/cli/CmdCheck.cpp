#include <nlohmann/json.hpp>

#include "base/Cp1251.h"
#include "cli/CliTheme.h"
#include "cli/Commands.h"
#include "theme/ThemeCheck.h"
#include "theme/ThemeHeader.h"

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
      throw UsageError{"unexpected argument '" + a + "'"};
    }
  }
  if (file.empty()) throw UsageError{"a theme file is needed"};

  const std::optional<OpenedTheme> t = OpenTheme(ctx, file);
  if (!t) return kExitFailed;
  const ThemeCheckReport report = CheckTheme(t->theme, t->map);
  const int errors = report.Errors();
  const int warnings = report.Warnings();

  if (json) {
    using Json = nlohmann::ordered_json;
    Json j;
    j["theme"] = file;
    j["model"] = Cp1251ToUtf8(ThemeModel(t->theme));
    j["map"] = t->map_path.filename().string();
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
      ctx.out << (p.index < 0 ? std::string("-") : std::to_string(p.index)) << '\t' << p.path << '\t'
              << (p.severity == CheckSeverity::kWarning ? "предупреждение: " : "") << p.text << "\n";
    }
    ctx.out << "Файлов: " << t->map.FilesCount << ", ошибок: " << errors << ", предупреждений: " << warnings << "\n";
  }
  return errors == 0 ? kExitOk : kExitFailed;
}

}  // namespace ssf::cli
