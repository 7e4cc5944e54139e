#include "editor/Mnemonics.h"

#include <set>

namespace ssf {

namespace {

// One character of UTF-8 text and where it starts.
struct Glyph {
  size_t offset = 0;
  char32_t code = 0;
};

std::vector<Glyph> Glyphs(const std::string& s) {
  std::vector<Glyph> out;
  for (size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    size_t len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 1;
    if (i + len > s.size()) len = 1;
    char32_t code = len == 1 ? c : c & (0x7F >> len);
    for (size_t j = 1; j < len; ++j) code = (code << 6) | (static_cast<unsigned char>(s[i + j]) & 0x3F);
    out.push_back({i, code});
    i += len;
  }
  return out;
}

bool IsLetter(char32_t c) {
  return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z') || (c >= 0x410 && c <= 0x44F) || c == 0x401 || c == 0x451;
}

char32_t Lower(char32_t c) {
  if (c >= U'A' && c <= U'Z') return c + 32;
  if (c >= 0x410 && c <= 0x42F) return c + 32;
  if (c == 0x401) return 0x451;
  return c;
}

}  // namespace

std::vector<std::string> AssignMnemonics(const std::vector<std::string>& captions) {
  std::vector<std::string> out = captions;
  std::set<char32_t> used;
  std::vector<bool> done(captions.size(), false);
  for (size_t i = 0; i < captions.size(); ++i) {
    const std::vector<Glyph> g = Glyphs(captions[i]);
    for (size_t j = 0; j + 1 < g.size(); ++j) {
      if (g[j].code != U'&') continue;
      if (g[j + 1].code == U'&') {
        ++j;  // "&&" is a shown ampersand
        continue;
      }
      used.insert(Lower(g[j + 1].code));
      done[i] = true;
      break;
    }
  }
  for (size_t i = 0; i < captions.size(); ++i) {
    if (done[i]) continue;
    const std::vector<Glyph> g = Glyphs(captions[i]);
    auto take = [&](bool word_start) {
      for (size_t j = 0; j < g.size(); ++j) {
        if (!IsLetter(g[j].code) || used.count(Lower(g[j].code)) != 0) continue;
        if (word_start && j > 0 && IsLetter(g[j - 1].code)) continue;
        used.insert(Lower(g[j].code));
        out[i] = captions[i].substr(0, g[j].offset) + "&" + captions[i].substr(g[j].offset);
        return true;
      }
      return false;
    };
    if (!take(true)) take(false);
  }
  return out;
}

}  // namespace ssf
