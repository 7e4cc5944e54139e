#include "editor/CheckSummary.h"

namespace ssf {

std::string CheckSummaryText(const ThemeCheckReport& report) {
  const int errors = report.Errors();
  const int warnings = report.Warnings();
  std::string text;
  if (errors > 0) text = "Ошибок: " + std::to_string(errors);
  if (warnings > 0) text += (text.empty() ? "Предупреждений: " : ", предупреждений: ") + std::to_string(warnings);
  return text;
}

}  // namespace ssf
