#pragma once
#include <string>
#include <string_view>

namespace ssf {

// The text without the characters " * / : < > ? \ | ; all others stay.
std::string StripFileNameChars(std::string_view text);

}  // namespace ssf
