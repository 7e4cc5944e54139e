#pragma once
// The theme check counted once for the status bar, so problems of an opened theme are
// seen without clicking through the tree.
#include <string>

#include "theme/ThemeCheck.h"

namespace ssf {

// "Ошибок: 8", "Ошибок: 8, предупреждений: 2" or "Предупреждений: 1"; empty without problems.
std::string CheckSummaryText(const ThemeCheckReport& report);

}  // namespace ssf
