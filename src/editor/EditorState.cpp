#include "editor/EditorState.h"

#include "base/Cp1251.h"

namespace ssf {

void rt_memclr(ByteStream& mem, int64_t count) {
  if (count <= 0) return;
  size_t pos = mem.Position();
  Bytes zeros(static_cast<size_t>(count), 0);
  mem.Write(zeros);
  mem.SetPosition(pos);
}

bool IsYes(std::string_view text) { return AsciiUpper(text) == "YES"; }

int32_t SelectedFileIndex(const GroupTree& tree, int selected) { return tree.FileIndexOf(selected); }

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
