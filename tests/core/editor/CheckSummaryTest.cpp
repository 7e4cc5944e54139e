// The theme check counted once for the status bar.
#include <gtest/gtest.h>

#include "editor/CheckSummary.h"

namespace ssf {
namespace {

TEST(CheckSummary, CountsErrorsAndWarningsAndSaysNothingForASoundTheme) {
  const struct {
    int errors;
    int warnings;
    const char* text;
  } cases[] = {
      {0, 0, ""},
      {8, 0, "Ошибок: 8"},
      {1, 2, "Ошибок: 1, предупреждений: 2"},
      {0, 1, "Предупреждений: 1"},
  };
  for (const auto& c : cases) {
    ThemeCheckReport report;
    for (int i = 0; i < c.warnings; ++i) report.problems.push_back({-1, "", CheckKind::kEmptyIcon, CheckSeverity::kWarning, "w"});
    for (int i = 0; i < c.errors; ++i) report.problems.push_back({i, "", CheckKind::kUndecodable, CheckSeverity::kError, "e"});
    EXPECT_EQ(CheckSummaryText(report), c.text) << c.errors << "/" << c.warnings;
  }
}

}  // namespace
}  // namespace ssf
