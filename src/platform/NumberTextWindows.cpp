#include <charconv>

#include "platform/NumberText.h"

namespace ssf {

// The static Windows build has no maths library to load: the C++ library's own conversions.
std::optional<double> ParseDecimal(std::string_view text) {
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string FormatGeneral15(double value) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
  return std::string(buf, r.ptr);
}

}  // namespace ssf
