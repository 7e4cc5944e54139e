#include <locale.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/NumberText.h"

namespace ssf {

namespace {

// The "C" locale whatever the program's (the window sets the user's, with its decimal comma).
locale_t CLocale() {
  static const locale_t c = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return c;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool EqualsIgnoringCase(std::string_view text, std::string_view lower) {
  if (text.size() != lower.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] - 'A' + 'a') : text[i];
    if (c != lower[i]) return false;
  }
  return true;
}

// The grammar std::from_chars takes for the general format; strtod takes more.
bool IsDecimal(std::string_view t) {
  if (!t.empty() && t[0] == '-') t.remove_prefix(1);
  if (EqualsIgnoringCase(t, "inf") || EqualsIgnoringCase(t, "infinity") || EqualsIgnoringCase(t, "nan")) return true;
  if (t.size() >= 5 && EqualsIgnoringCase(t.substr(0, 4), "nan(") && t.back() == ')') {
    for (char c : t.substr(4, t.size() - 5)) {
      if (!IsDigit(c) && !(c >= 'a' && c <= 'z') && !(c >= 'A' && c <= 'Z') && c != '_') return false;
    }
    return true;
  }
  size_t i = 0, digits = 0;
  while (i < t.size() && IsDigit(t[i])) ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && IsDigit(t[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    const size_t first = i;
    while (i < t.size() && IsDigit(t[i])) ++i;
    if (i == first) return false;
  }
  return i == t.size();
}

}  // namespace

std::optional<double> ParseDecimal(std::string_view text) {
  if (!IsDecimal(text)) return std::nullopt;
  const std::string z(text);
  char* end = nullptr;
  errno = 0;
  const locale_t c = CLocale();  // null only when memory ran out: the program's locale then
  const double value = c ? ::strtod_l(z.c_str(), &end, c) : std::strtod(z.c_str(), &end);
  // strtod also says ERANGE for a tiny value it could keep as a denormal; std::from_chars
  // refuses only what overflows or underflows to zero.
  const bool out_of_range = errno == ERANGE && (value == 0 || value > 1e308 || value < -1e308);
  if (end != z.c_str() + z.size() || out_of_range) return std::nullopt;
  return value;
}

std::string FormatGeneral15(double value) {
  char buf[64];
  const locale_t c = CLocale();
  const locale_t previous = c ? ::uselocale(c) : static_cast<locale_t>(nullptr);
  const int n = std::snprintf(buf, sizeof buf, "%.15g", value);
  if (c) ::uselocale(previous);
  return std::string(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

}  // namespace ssf
