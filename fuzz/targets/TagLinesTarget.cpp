#include <string>

#include "FuzzTargets.h"
#include "taglines/XmlLib.h"

namespace ssf::fuzz {

void FuzzTagLines(std::span<const uint8_t> data) {
  std::string line(data.begin(), data.end());
  TagParams params;
  if (!IsSkippedTagLine(line)) {
    (void)GetTagKeyword(line);
    (void)GetParamCount(line);
    ReadTagParams(line, params);
  }
  (void)IsSkippedListLine(line);
  for (int mode = 1; mode <= 5; ++mode) (void)CutAtChar(line, '"', mode);
}

}  // namespace ssf::fuzz
