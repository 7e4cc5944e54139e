#include <string>

#include "FuzzTargets.h"
#include "taglines/XmlLib.h"

namespace ssf::fuzz {

namespace {

// The splitter as first written, quadratic: cut at the next quote and copy the rest.
TagParams CutAgainAndAgain(std::string_view line, TagParams params) {
  const int n = GetParamCount(line);
  std::string rest(line);
  for (int i = 0; i < n; ++i) {
    rest = CutAtChar(rest, '"', 2);
    std::string value = rest;
    rest = CutAtChar(rest, '"', 2);
    if (i < 6) params[static_cast<size_t>(i)] = CutAtChar(value, '"', 4);
  }
  return params;
}

}  // namespace

void FuzzTagLines(std::span<const uint8_t> data) {
  std::string line(data.begin(), data.end());
  TagParams params{"a", "b", "c", "d", "e", "f"};
  if (!IsSkippedTagLine(line)) {
    (void)GetTagKeyword(line);
    (void)GetParamCount(line);
    // The one-pass splitter means what cutting again and again meant (short lines only:
    // the old way is quadratic).
    const TagParams before = params;
    ReadTagParams(line, params);
    if (line.size() <= 4096 && params != CutAgainAndAgain(line, before)) __builtin_trap();
  }
  (void)IsSkippedListLine(line);
  for (int mode = 1; mode <= 5; ++mode) (void)CutAtChar(line, '"', mode);
}

}  // namespace ssf::fuzz
