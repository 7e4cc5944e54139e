#include "base/Cp1251.h"
#include "theme/ThemeMap.h"

namespace ssf {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<int32_t> ConvertMapNumber(std::string_view raw) {
  std::string text = AsciiUpper(raw);
  if (text.size() >= 2 && text[0] == '0' && text[1] == 'X') text.replace(0, 2, "$");
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  bool hex = false;
  if (i < text.size() && (text[i] == '$' || text[i] == 'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && text[i + 1] == 'X') {
    hex = true;
    i += 2;
  }
  if (i >= text.size()) return std::nullopt;
  // Accumulate in 64 bits and stop as soon as the value leaves the 32-bit range.
  int64_t value = 0;
  const int64_t limit = hex ? 0xFFFFFFFFLL : (negative ? 0x80000000LL : 0x7FFFFFFFLL);
  for (; i < text.size(); ++i) {
    int d = hex ? HexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
    if (d < 0) return std::nullopt;
    value = value * (hex ? 16 : 10) + d;
    if (value > limit) return std::nullopt;
  }
  if (hex) {
    // Up to eight hex digits are the 32-bit pattern.
    uint32_t pattern = static_cast<uint32_t>(value);
    if (negative) pattern = 0u - pattern;
    return static_cast<int32_t>(pattern);
  }
  return static_cast<int32_t>(negative ? -value : value);
}

int32_t ParseMapNumber(std::string_view text, std::string_view line, std::vector<std::string>& errors) {
  if (auto v = ConvertMapNumber(text)) return *v;
  errors.push_back(std::string(line) + " - некорректное числовое значение одного из параметров.");
  return 0;
}

}  // namespace ssf
