#include "theme/FileNames.h"

namespace ssf {

std::string StripFileNameChars(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '"': case '*': case '/': case ':': case '<': case '>': case '?': case '\\': case '|':
        break;
      default:
        out += c;
    }
  }
  return out;
}

}  // namespace ssf
