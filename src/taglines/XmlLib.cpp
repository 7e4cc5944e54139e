#include "taglines/XmlLib.h"

#include <algorithm>

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
  // One pass over the line: each parameter runs from an opening quote to the next quote.
  // Once a quote is missing (past a NUL, which ends the text), every later parameter reads
  // as "ERROR", as cutting the rest of the line again and again would give.
  const std::string_view t = UpToNul(line);
  const size_t slots = std::min(static_cast<size_t>(n), params.size());
  size_t pos = 0;
  bool lost = false;
  for (size_t i = 0; i < slots; ++i) {
    size_t open = lost ? std::string_view::npos : t.find('"', pos);
    size_t close = open == std::string_view::npos ? open : t.find('"', open + 1);
    if (close == std::string_view::npos) {
      lost = true;
      params[i] = std::string(kNotFound);
      continue;
    }
    params[i] = std::string(t.substr(open + 1, close - open - 1));
    pos = close + 1;
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
