#include "base/RussianPlural.h"

namespace ssf {

const char* RussianPluralForm(int64_t n, const char* one, const char* few, const char* many) {
  uint64_t a = n < 0 ? 0 - static_cast<uint64_t>(n) : static_cast<uint64_t>(n);
  uint64_t last_two = a % 100, last = a % 10;
  if (last_two >= 11 && last_two <= 14) return many;
  if (last == 1) return one;
  if (last >= 2 && last <= 4) return few;
  return many;
}

std::string CountText(int64_t n, const char* one, const char* few, const char* many) {
  return std::to_string(n) + " " + RussianPluralForm(n, one, few, many);
}

}  // namespace ssf
