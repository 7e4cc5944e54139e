#include <string>

#include "FuzzTargets.h"
#include "base/IniDocument.h"

namespace ssf::fuzz {

void FuzzIni(std::span<const uint8_t> data) {
  auto doc = IniDocument::Parse(std::string(data.begin(), data.end()));
  (void)doc.ReadString("Resources", "ThemeSignMobile");
  (void)doc.ReadInteger("ResProperties", "ThemeFilesCount", 0);
  doc.WriteString("ResProperties", "ThemeSignMobile", "X");
  // What we write must read back the same.
  if (IniDocument::Parse(doc.Text()).ReadString("ResProperties", "ThemeSignMobile") != "X") __builtin_trap();
}

}  // namespace ssf::fuzz
