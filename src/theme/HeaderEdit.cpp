#include "theme/HeaderEdit.h"

#include "base/Cp1251.h"

namespace ssf {
namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

std::string CapEditText(const std::string& before, const std::string& after, size_t max_bytes) {
  if (after.size() <= max_bytes) return after;

  // The unchanged beginning and end, on character boundaries.
  size_t prefix = 0;
  while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) ++prefix;
  while (prefix > 0 && prefix < after.size() && IsContinuation(static_cast<unsigned char>(after[prefix]))) {
    --prefix;
  }
  size_t suffix = 0;
  while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
         before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
    ++suffix;
  }
  while (suffix > 0 && IsContinuation(static_cast<unsigned char>(after[after.size() - suffix]))) --suffix;

  if (prefix + suffix > max_bytes) return Utf8Truncate(after, max_bytes);
  std::string inserted = after.substr(prefix, after.size() - prefix - suffix);
  return after.substr(0, prefix) + Utf8Truncate(inserted, max_bytes - prefix - suffix) +
         after.substr(after.size() - suffix);
}

}  // namespace ssf
