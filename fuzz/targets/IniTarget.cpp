#include <algorithm>
#include <string>

#include "FuzzTargets.h"
#include "base/Cp1251.h"
#include "base/IniDocument.h"

namespace ssf::fuzz {

void FuzzIni(std::span<const uint8_t> data) {
  auto doc = IniDocument::Parse(std::string(data.begin(), data.end()));
  (void)doc.ReadString("Resources", "ThemeSignMobile");
  (void)doc.ReadInteger("ResProperties", "ThemeFilesCount", 0);
  doc.WriteString("ResProperties", "ThemeSignMobile", "X");
  // What we write must read back the same.
  if (IniDocument::Parse(doc.Text()).ReadString("ResProperties", "ThemeSignMobile") != "X") __builtin_trap();
  // The bytes as a value (a path from a stranger): they read back as written and add no
  // line, so the key written after them is still there. Blanks around a value, quotes
  // around it and bytes that are not UTF-8 (the file is then read as Windows-1251) are the
  // format's own and are not kept.
  const std::string value(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(std::min<size_t>(data.size(), 512)));
  const bool kept = !value.empty() && value.front() != ' ' && value.back() != ' ' && value.front() != '"' &&
                    value.front() != '\'' && IsValidUtf8(value);
  IniDocument fresh;
  fresh.WriteString("RecentThemes", "Theme0", value);
  fresh.WriteString("RecentThemes", "Theme1", "Y");
  const IniDocument back = IniDocument::Parse(fresh.Text());
  if (kept && back.ReadString("RecentThemes", "Theme0") != value) __builtin_trap();
  if (back.ReadString("RecentThemes", "Theme1") != "Y" || back.SectionExists("Options")) __builtin_trap();
}

}  // namespace ssf::fuzz
