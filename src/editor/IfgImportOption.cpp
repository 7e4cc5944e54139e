#include "editor/IfgImportOption.h"

namespace ssf {

namespace {

constexpr const char* kSection = "Import";
constexpr const char* kKey = "IfgLossy";

}  // namespace

uint32_t IfgImportMaxError(const IniDocument& settings) {
  const int level = settings.ReadInteger(kSection, kKey, 0);
  return level > 0 && static_cast<uint32_t>(level) < kIfgLossyLevels ? static_cast<uint32_t>(level) : 0;
}

void SetIfgImportMaxError(IniDocument& settings, uint32_t level) {
  settings.WriteInteger(kSection, kKey, level < kIfgLossyLevels ? static_cast<int>(level) : 0);
}

}  // namespace ssf
