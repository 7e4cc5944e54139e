#pragma once
// "Сжатие с потерями": how much error a picture imported into an IFG theme file may take
// on in exchange for a smaller file. Off by default; kept in settings.ini.
#include <cstdint>

#include "base/IniDocument.h"

namespace ssf {

// The levels the window offers: 0 off, then the allowed error per channel.
inline constexpr uint32_t kIfgLossyLevels = 3;

// The level in the settings; a missing or unknown value reads as 0 (off).
uint32_t IfgImportMaxError(const IniDocument& settings);
void SetIfgImportMaxError(IniDocument& settings, uint32_t level);

}  // namespace ssf
