#pragma once
// File dialog filters arrive as "description|pattern;pattern|description|pattern".
// Qt wants one "description (pattern pattern)" entry per pair and reads the patterns
// from the last parentheses, so they are always appended there, blank-separated.
#include <string>
#include <vector>

namespace ssf {

std::vector<std::string> QtNameFilters(const std::string& filter);

// 1-based index of `chosen` among `filters`, or 1 when it is not one of them.
int FilterIndex(const std::vector<std::string>& filters, const std::string& chosen);

}  // namespace ssf
