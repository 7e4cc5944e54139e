#include "taglines/XmlLib.h"

#include "base/Cp1251.h"

namespace ssf {

namespace {

// The text up to its first NUL: a NUL ends a line as its end does.
std::string_view UpToNul(std::string_view text) {
  size_t nul = text.find('\0');
  return nul == std::string_view::npos ? text : text.substr(0, nul);
}

}  // namespace

std::string CutAtChar(std::string_view text, char ch, int mode) {
  std::string_view t = UpToNul(text);
  size_t p = t.find(ch);
  if (p == std::string_view::npos) return std::string(kNotFound);
  switch (mode) {
    case 1: return std::string(t.substr(p));
    case 2: return std::string(t.substr(p + 1));
    case 3: return std::string(t.substr(0, p + 1));
    case 4: return std::string(t.substr(0, p));
    default: return std::string(text);
  }
}

std::string GetTagKeyword(std::string_view line) {
  std::string rest = CutAtChar(line, '<', 2);
  std::string keyword = CutAtChar(rest, ' ', 4);
  if (keyword == kNotFound) keyword = CutAtChar(rest, '>', 4);
  return keyword;
}

int GetParamCount(std::string_view line) {
  int quotes = 0;
  for (char c : line) quotes += c == '"';
  return quotes % 2 != 0 ? -1 : quotes / 2;
}

void ReadTagParams(std::string_view line, TagParams& params) {
  int n = GetParamCount(line);
  if (n <= 0) return;
  std::string rest(line);
  for (int i = 0; i < n; ++i) {
    rest = CutAtChar(rest, '"', 2);
    std::string value = rest;
    rest = CutAtChar(rest, '"', 2);
    // Lines with more than six parameters: only the six slots are written.
    if (i < static_cast<int>(params.size())) params[static_cast<size_t>(i)] = CutAtChar(value, '"', 4);
  }
}

bool IsSkippedTagLine(std::string_view line) {
  if (Utf8Length(line) < 5) return true;
  if (line[0] == ';') return true;
  for (char c : line) {
    if (c == '<') return false;
    if (c == ';' || c == '\0') return true;
  }
  return true;
}

bool IsSkippedListLine(std::string_view line) {
  if (Utf8Length(line) < 5) return true;
  return line[0] == ';' || line[0] == '\0';
}

}  // namespace ssf
