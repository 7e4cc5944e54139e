#include "shell/FileFilter.h"

#include <algorithm>
#include <sstream>

namespace ssf {
namespace {

std::vector<std::string> Split(const std::string& text, char sep) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(text);
  while (std::getline(in, part, sep)) parts.push_back(part);
  if (!text.empty() && text.back() == sep) parts.emplace_back();
  return parts;
}

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

void AppendWord(std::string& list, const std::string& word) {
  if (!list.empty()) list.push_back(' ');
  list.append(word);
}

// The blank-separated patterns of a description's own trailing "(...)", or empty.
std::string TrailingPatterns(const std::string& desc) {
  if (desc.empty() || desc.back() != ')') return "";
  size_t open = desc.rfind('(');
  if (open == std::string::npos) return "";
  std::string inner = desc.substr(open + 1, desc.size() - open - 2);
  // Qt splits only at blanks: a comma or semicolon there would spoil the patterns.
  if (inner.find_first_of(",;") != std::string::npos) return "";
  std::istringstream in(inner);
  std::string word, joined;
  while (in >> word) AppendWord(joined, word);
  return joined;
}

}  // namespace

std::vector<std::string> QtNameFilters(const std::string& filter) {
  std::vector<std::string> parts = Split(filter, '|');
  std::vector<std::string> result;
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    std::string desc = Trim(parts[i]);
    std::string patterns;
    for (const std::string& p : Split(parts[i + 1], ';')) {
      std::string t = Trim(p);
      if (!t.empty()) AppendWord(patterns, t);
    }
    if (patterns.empty()) patterns.push_back('*');
    // "Файл темы (*.ssf)" already ends in its patterns; do not show them twice.
    if (TrailingPatterns(desc) == patterns) {
      result.push_back(desc);
    } else {
      std::string entry = desc;
      if (!entry.empty()) entry.push_back(' ');
      entry.append("(").append(patterns).append(")");
      result.push_back(entry);
    }
  }
  return result;
}

int FilterIndex(const std::vector<std::string>& filters, const std::string& chosen) {
  auto it = std::find(filters.begin(), filters.end(), chosen);
  return it == filters.end() ? 1 : static_cast<int>(it - filters.begin()) + 1;
}

}  // namespace ssf
